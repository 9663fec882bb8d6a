#include "print/PrintCommand.h"
#include "planio/PlanRead.h"
#include "planio/ReadBackCheck.h"

#include "cli/Cli.h"
#include "painter/PlanPainter.h"
#include "pdfreader/PdfReadError.h"
#include "plan/Cp932.h"
#include "plan/FilePath.h"
#include "planio/FileReplace.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

#include <cstdlib>
#include <filesystem>
#include <exception>
#include <ostream>

namespace cli {

namespace {

const char *const kPrintArguments = " FILE.pdf... [--printer NAME] [--to OUT.pdf]\n";

struct PrintArgs {
    std::vector<std::string> files;
    std::string printer;
    std::string to;
    bool hasPrinter = false;
    bool hasTo = false;
};

bool parse(const std::vector<std::string> &args, PrintArgs &parsed)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &a = args[i];
        if (a == "--printer" || a == "--to") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                return false;
            }
            (a == "--to" ? parsed.to : parsed.printer) = args[++i];
            (a == "--to" ? parsed.hasTo : parsed.hasPrinter) = true;
        } else if (a.empty() || a.rfind("--", 0) == 0) {
            return false;
        } else {
            parsed.files.push_back(a);
        }
    }
    return !parsed.files.empty() && !(parsed.hasTo && parsed.hasPrinter);
}

// Without a display Qt would refuse to start; the offscreen platform draws
// fonts all the same.
void chooseOffscreenWithoutDisplay()
{
    const auto unset = [](const char *name) {
        const char *v = std::getenv(name);
        return v == nullptr || *v == '\0';
    };
    if (unset("QT_QPA_PLATFORM") && unset("DISPLAY") && unset("WAYLAND_DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
    }
}

QString qtext(const std::string &utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

int printToFile(const std::vector<TPRACTDATA> &plans, const std::string &path, const std::string &me, std::ostream &err)
{
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("Ovilant"));
        writer.setResolution(1200);
        if (!printPlans(writer, plans)) {
            err << me << ": cannot write " << path << "\n";
            return kExitFailure;
        }
    }
    try {
        ReplaceFile(pathFromUtf8(path), bytes.toStdString());
    } catch (const std::exception &e) {
        err << me << ": cannot write " << path << ": " << e.what() << "\n";
        return kExitFailure;
    }
    return kExitOk;
}

int printToPrinter(const std::vector<TPRACTDATA> &plans, const PrintArgs &parsed, const std::string &me,
                   std::ostream &err)
{
    const QPrinterInfo info =
        parsed.hasPrinter ? QPrinterInfo::printerInfo(qtext(parsed.printer)) : QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        if (parsed.hasPrinter) {
            err << me << ": no printer named " << parsed.printer << "\n";
        } else {
            err << me << ": there is no default printer (name one with --printer, or use --to)\n";
        }
        return kExitFailure;
    }
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setDocName(QStringLiteral("Ovilant"));
    if (!printPlans(printer, plans)) {
        err << me << ": cannot print on " << info.printerName().toStdString() << "\n";
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace

int runPrint(int &argc, char **argv, const std::vector<std::string> &args, std::ostream &out, std::ostream &err)
{
    // Started by `ovilant-plan print`, the program speaks as ovilant-plan.
    const std::string called = argc > 0 ? std::filesystem::path(argv[0]).stem().string() : std::string();
    const std::string me = called == "ovilant-plan" ? called : std::string("ovilant-print");
    PrintArgs parsed;
    if (!parse(args, parsed)) {
        err << me << ": usage: " << (me == "ovilant-plan" ? "ovilant-plan print" : "ovilant-print") << kPrintArguments;
        return kExitUsage;
    }

    // Every file is read before anything is printed: one that is not a plan
    // prints nothing at all.
    std::vector<TPRACTDATA> plans;
    for (const std::string &file : parsed.files) {
        try {
            const planio::PlanFileRead read = planio::loadPlanFile(pathFromUtf8(file));
            // A file that does not read back as it prints still prints, as
            // the editor shows it, but not without saying so.
            if (planio::findDifference(read)) {
                err << me << ": " << file << ": " << cp932::toUtf8(planio::damagedPlanMessage()) << "\n";
            }
            plans.push_back(read.printed.Plan);
        } catch (const EPdfReadError &e) {
            err << me << ": " << cp932::toUtf8(e.text()) << e.fileName() << "\n";
            return kExitFailure;
        } catch (const planio::NotAPlanFile &e) {
            err << me << ": " << file << ": " << cp932::toUtf8(e.what()) << "\n";
            return kExitFailure;
        } catch (const std::exception &e) {
            err << me << ": cannot read " << file << ": " << e.what() << "\n";
            return kExitFailure;
        }
    }

    chooseOffscreenWithoutDisplay();
    QGuiApplication app(argc, argv);
    const int status = parsed.hasTo ? printToFile(plans, parsed.to, me, err) : printToPrinter(plans, parsed, me, err);
    out.flush();
    return status;
}

} // namespace cli
