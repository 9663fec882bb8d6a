#pragma once

// A temporary home folder for the settings tests, set as HOME while the test
// program runs, and the folder both remembered folders start with: the root
// of the system drive on Windows, the user's home folder elsewhere (here
// the temporary one).

#include <QFile>
#include <QOperatingSystemVersion>
#include <QString>
#include <QTemporaryDir>

class TemporaryHome {
public:
    // False when the folder could not be made.
    bool isValid() const { return m_home.isValid(); }
    // Sets HOME to the temporary folder.
    void use() const { qputenv("HOME", QFile::encodeName(m_home.path())); }

    QString defaultFolder() const
    {
        if (QOperatingSystemVersion::currentType() == QOperatingSystemVersion::Windows) {
            return QStringLiteral("C:\\");
        }
        return m_home.path();
    }

private:
    QTemporaryDir m_home;
};
