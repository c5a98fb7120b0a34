#include "cli/Command.h"
#include "core/model/AtomicFile.h"
#include "core/model/ProjectFile.h"
#include "core/model/ProjectReset.h"
#include "core/reports/ConvectorList.h"
#include "core/reports/PrintLayouts.h"
#include "core/text/InterfaceTexts.h"
#include "platform/qt/QtPrintSurface.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <memory>
#include <string_view>
#include <unistd.h>

namespace tepa::cli {
namespace {

constexpr std::string_view Usage =
    "usage: tepa print PROJECT.kon (--list | --calc-data [--mode heating|cooling]) "
    "[--letter-paper] --pdf OUT.pdf\n";
constexpr std::string_view Help =
    "usage: tepa print PROJECT.kon (--list | --calc-data [--mode heating|cooling]) [--letter-paper]\n"
    "                  --pdf OUT.pdf\n"
    "\n"
    "Writes a printout of the project as a PDF file (A4, laid out for 600 dpi):\n"
    "\n"
    "  --list           the convector list\n"
    "  --calc-data      the calculation data of the room\n"
    "  --mode MODE      which list the calculation data show: heating or cooling\n"
    "                   (default: heating when the heating list is in use, else cooling)\n"
    "  --letter-paper   for the pre-printed letter paper: no letterhead\n"
    "  --pdf OUT.pdf    the file to write\n"
    "  --help           this text\n"
    "\n"
    "Neutral paper needs the letterhead logo image4.bmp in the data folder.\n";

// Text layout needs a GUI application (fonts). The command draws no windows, so it runs on
// the offscreen platform unless the caller chose another one. Without a session's runtime
// folder (a cron job, a container) Qt would complain about it on stderr at every run; a
// private folder of our own keeps the output of a normal run clean.
void ensureGuiApplication()
{
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QString runtime = QDir::tempPath() + "/tepa-runtime-" + QString::number(getuid());
        if (QDir().mkpath(runtime) &&
            QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    }
    static int argc = 1;
    static char name[] = "tepa";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QGuiApplication> application = std::make_unique<QGuiApplication>(argc, argv);
}

} // namespace

Status writePrintoutPdf(const std::filesystem::path& file, const std::string& title,
                        const std::function<Status(PrintSurface&)>& layout)
{
    ensureGuiApplication();
    return platform::writePdf(QString::fromStdString(file.string()), QString::fromStdString(title),
                              platform::PdfResolution, layout);
}

int runPrint(Invocation& call)
{
    OptionParser options;
    options.flag("--help")
        .flag("--list")
        .flag("--calc-data")
        .flag("--letter-paper")
        .value("--pdf")
        .value("--mode");
    if (!options.parse(call.args)) {
        call.err << "tepa print: " << options.error() << '\n' << Usage;
        return ExitUsage;
    }
    if (options.has("--help")) {
        call.out << Help;
        return ExitOk;
    }
    if (options.positionals().size() != 1 || options.has("--list") == options.has("--calc-data") ||
        !options.get("--pdf") || (options.get("--mode") && options.has("--list"))) {
        call.err << Usage;
        return ExitUsage;
    }
    const auto modeName = options.get("--mode");
    if (modeName && *modeName != "heating" && *modeName != "cooling") {
        call.err << "tepa print: --mode takes heating or cooling, not \"" << *modeName << "\"\n" << Usage;
        return ExitUsage;
    }

    const auto project = loadProjectFile(options.positionals().front());
    if (!project) {
        call.err << "tepa print: " << project.error() << '\n';
        return ExitBadInput;
    }
    if (Status allowed = refuseOverwritingInput(*options.get("--pdf"), options.positionals().front()); !allowed) {
        call.err << "tepa print: " << allowed.error() << '\n';
        return ExitBadInput;
    }
    const auto texts = InterfaceTexts::load(call.dataDir);
    if (!texts) {
        call.err << "tepa print: " << texts.error() << '\n';
        return ExitBadInput;
    }

    const bool list = options.has("--list");
    PrintContext context{*project, *texts, call.dataDir, todayShortDate(), options.has("--letter-paper")};
    const ConvectorListSlots listSlots = BuildConvectorList(*project);
    const PrintMode mode = !modeName                ? defaultPrintMode(*project)
                           : *modeName == "heating" ? PrintMode::Heating
                                                    : PrintMode::Cooling;
    const auto layout = [&](PrintSurface& surface) {
        return list ? printConvectorList(surface, context, listSlots)
                    : printCalculationData(surface, context, mode);
    };

    ensureGuiApplication();
    const QString file = QString::fromStdString(*options.get("--pdf"));
    const QString title = QString::fromStdString(project->Title.text());
    if (Status written = platform::writePdf(file, title, platform::PdfResolution, layout); !written) {
        call.err << "tepa print: " << written.error() << '\n';
        return ExitBadInput;
    }
    return ExitOk;
}

} // namespace tepa::cli
