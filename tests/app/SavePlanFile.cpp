// Opens a plan file in the editor's main window and saves it again with the
// 保存 command that keeps the plan's date, at a fixed time, the way a user
// would (the window's own open and save commands; the boxes answered yes).
// The Windows build compares what ovilant.exe's code writes with the file
// the Linux build wrote for the same plan (tests/windows/compare.sh editor).
//
//   ovilant_save_plan PLAN.pdf FOLDER SECONDS
//
// SECONDS is the time of the save as seconds since 1970-01-01 read as UTC,
// like SOURCE_DATE_EPOCH for ovilant-plan. Prints the name of the file
// written into FOLDER (empty before); exit status 0 when one was written.

#include "TestSupport.h"

#include "app/MainForm.h"
#include "plan/DateTime.h"
#include "settings/Registory.h"

#include <QApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments(); // wide on Windows
    bool ok = false;
    const long long seconds = arguments.size() == 4 ? arguments[3].toLongLong(&ok) : 0;
    if (!ok || seconds < 0) {
        std::fputs("usage: ovilant_save_plan PLAN.pdf FOLDER SECONDS\n", stderr);
        return 2;
    }
    const QString folder = QDir(arguments[2]).absolutePath();
    if (!QDir(folder).isEmpty()) {
        std::fputs("ovilant_save_plan: the folder must be empty\n", stderr);
        return 2;
    }

    WindowFixture f(nullptr, false);
    const CivilDate day = decodeDate(25569.0 + static_cast<double>(seconds / 86400)); // 1970-01-01
    const long long rest = seconds % 86400;
    f.clock->value = encodeDateTime(day.year, day.month, day.day, static_cast<int>(rest / 3600),
                                    static_cast<int>(rest / 60 % 60), static_cast<int>(rest % 60));
    if (!f.form->openPlanFile(arguments[1])) {
        std::fputs("ovilant_save_plan: the plan did not open\n", stderr);
        return 1;
    }
    f.form->Registory->SaveFolder = folder;
    f.form->OldSaveMenuClick();
    for (const auto &shown : f.prompter->shown) {
        std::fprintf(stderr, "box: %s\n", shown.text.toUtf8().constData());
    }
    const QStringList written = QDir(folder).entryList({QStringLiteral("*.pdf")}, QDir::Files);
    if (written.size() != 1) {
        std::fputs("ovilant_save_plan: no plan file was written\n", stderr);
        return 1;
    }
    std::fputs((written.first() + QLatin1Char('\n')).toUtf8().constData(), stdout);
    return 0;
}
