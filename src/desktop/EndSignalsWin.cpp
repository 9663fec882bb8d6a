#include "desktop/EndSignals.h"

namespace desktop {

// Windows sends no such signals to a windowed program: the end of a
// session reaches its windows as a close, which the editor handles.
int endRequestDescriptor()
{
    return -1;
}

} // namespace desktop
