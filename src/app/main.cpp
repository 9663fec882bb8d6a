#include "app/MainForm.h"
#include "app/StartOptions.h"
#include "desktop/Arguments.h"
#include "desktop/EndSignals.h"

#include <QApplication>
#include <QSocketNotifier>

#include <cstdio>
#include <memory>

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
        desktop::writeText(request.toStdErr, request.output.toStdString());
        return request.exitCode;
    }

    // SIGTERM and SIGHUP end the editor as a normal close does: the event
    // loop ends and the window, with its plan's lock, is taken down.
    const int endRequests = desktop::endRequestDescriptor();
    QApplication app(argc, argv);
    std::unique_ptr<QSocketNotifier> endWatch;
    if (endRequests >= 0) {
        endWatch = std::make_unique<QSocketNotifier>(endRequests, QSocketNotifier::Read);
        QObject::connect(endWatch.get(), &QSocketNotifier::activated, &app, &QCoreApplication::quit);
    }
    startup::useJapanese(app);
    TMainForm window;
    window.show();
    // A plan left unsaved by an editor that ended is offered before anything else.
    window.offerRecovery();
    if (!request.planFile.isEmpty()) {
        window.openPlanFile(request.planFile);
    }
    return app.exec();
}
