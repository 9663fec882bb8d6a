#include "app/MainForm.h"
#include "app/StartOptions.h"
#include "desktop/Arguments.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    // The arguments are read before the window system is contacted, so that
    // "--help" and "--version" work without a display.
    // The program name, then the arguments as UTF-8 (on Windows from the
    // wide command line, so that a plan under a Japanese name opens
    // whatever the ANSI code page).
    QStringList arguments{argc > 0 ? QString::fromLocal8Bit(argv[0]) : QString()};
    for (const std::string &argument : desktop::commandLineArguments(argc, argv)) {
        arguments.append(QString::fromStdString(argument));
    }
    const startup::StartRequest request = startup::readArguments(arguments);
    if (!request.start) {
        desktop::useParentConsole(); // the editor is a windowed program on Windows
        std::fputs(request.output.toLocal8Bit().constData(), request.toStdErr ? stderr : stdout);
        return request.exitCode;
    }

    QApplication app(argc, argv);
    startup::useJapanese(app);
    TMainForm window;
    window.show();
    if (!request.planFile.isEmpty()) {
        window.openPlanFile(request.planFile);
    }
    return app.exec();
}
