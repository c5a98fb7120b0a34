#include "app/StartupChecks.h"

#include "app/TForm1.h"
#include "core/model/AtomicFile.h"
#include "core/productdata/InstallationCheck.h"

namespace tepa {
namespace {

// A message box lists no more faults than fit on a screen; check-data lists them all.
constexpr std::size_t MaxListedFaults = 12;

} // namespace

void runStartupChecks(TForm1& form, platform::Messages& messages)
{
    Session& session = form.session();
    for (const auto& folder : {session.ProjectDir, session.TmpDir})
        if (!folder.empty())
            removeStaleTemporaryFiles(folder);

    const std::vector<Problem> problems = checkInstallation(session.ProgramDir);
    if (problems.empty())
        return;
    QString text = form.text(InstallationFaultsTextLine);
    for (std::size_t i = 0; i < std::min(problems.size(), MaxListedFaults); ++i) {
        const Problem& problem = problems[i];
        text += QLatin1Char('\n') + QString::fromStdString(problem.file);
        if (problem.line > 0)
            text += QLatin1Char(':') + QString::number(problem.line);
        text += QStringLiteral(": ") + QString::fromStdString(problem.message);
    }
    if (problems.size() > MaxListedFaults)
        text += QStringLiteral("\n... (%1)").arg(problems.size() - MaxListedFaults);
    messages.showMessage(text);
}

} // namespace tepa
