// Drawing both pages of a full plan through the painter into an image, as
// the print preview and printing do for each page: the plan filled into the
// layout, every item laid out with the PDF measuring and drawn.

#include "FullPlan.h"

#include "painter/PlanPainter.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

void drawBothPages(benchmark::State &state)
{
    const double dotsPerPoint = static_cast<double>(state.range(0)) / 72.0;
    const TPRACTDATA plan = fullPlan();
    PlanPainter painter;
    QImage image(static_cast<int>(596 * dotsPerPoint), static_cast<int>(842 * dotsPerPoint),
                 QImage::Format_RGB32);
    for (auto _ : state) {
        painter.setPlan(plan);
        for (int page = 1; page <= 2; ++page) {
            image.fill(Qt::white);
            QPainter p(&image);
            p.scale(dotsPerPoint, dotsPerPoint);
            painter.paintPage(p, page);
        }
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(drawBothPages)->Arg(72)->Arg(150)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
