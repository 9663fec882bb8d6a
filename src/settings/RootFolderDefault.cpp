#include "settings/Registory.h"

#include <QDir>

// Elsewhere there are no drives: the user's home folder.
QString RootFolder()
{
    return QDir::homePath();
}
