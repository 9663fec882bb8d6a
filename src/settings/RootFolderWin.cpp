#include "settings/Registory.h"

// The root of drive C:, as the save and open commands start there on Windows.
QString RootFolder()
{
    return QStringLiteral("C:\\");
}
