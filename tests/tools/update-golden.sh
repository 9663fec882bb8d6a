#!/bin/sh
# Writes the golden files of the newest layout anew from a test build
# (default build/test): the full plan in the JSON form, its content streams
# and the whole file of the newest layout. The golden files of older layouts
# are never written again. Review the change with git diff before committing
# it.
set -eu
cd "$(dirname "$0")/../.."
build=${1:-build/test}
cd "$build"
OVILANT_UPDATE_GOLDEN=1 ctest --output-on-failure \
    -R 'ContentStreamsMatchTheReviewedGoldenFiles|TheNewestLayoutWritesItsGoldenFile|TheFullPlanFileIsTheFullPlan'
