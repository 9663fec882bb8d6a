#include "app/MainForm.h"
#include "app/StartOptions.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char *argv[])
{
    // The arguments are read before the window system is contacted, so that
    // "--help" and "--version" work without a display.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    const startup::StartRequest request = startup::readArguments(arguments);
    if (!request.start) {
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
