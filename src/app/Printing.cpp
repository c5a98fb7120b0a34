#include "app/TForm1.h"
#include "core/model/ProjectReset.h"
#include "core/reports/ConvectorList.h"
#include "core/reports/PrintLayouts.h"

#include <functional>

namespace tepa {
namespace {

// Asked when the room has heating and cooling entries: Yes prints the heating sheet, No the
// cooling sheet.
constexpr std::size_t WhichSheetQuestionLine = 288;

using Printout = std::function<Status(PrintSurface&, PrintContext&)>;

// One print command: the printer service asks for the printer (cancel ends it quietly), the
// layout runs on what it returns, and a failure is shown in the platform's words.
void runPrintout(Session& session,
                 platform::Services& services,
                 bool letterPaper,
                 const std::string& printoutName,
                 const Printout& printout)
{
    if (!services.printer)
        return;
    const std::string today = todayShortDate();
    const QString jobName = QString::fromStdString(printJobName(printoutName, session.Project.Number.text()));
    const auto outcome = services.printer->print(jobName, [&](PrintSurface& surface) {
        PrintContext context{session.Project, session.InterfaceTexts, session.ProgramDir, today, letterPaper};
        return printout(surface, context);
    });
    if (outcome && !*outcome)
        services.messages.showError(QString::fromStdString(outcome->error()));
}

} // namespace

void TForm1::normal1Click()
{
    m_letterPaper = false;
    KonlistedruckenClick();
}

void TForm1::Orvapapier1Click()
{
    m_letterPaper = true;
    KonlistedruckenClick();
}

void TForm1::normal2Click()
{
    m_letterPaper = false;
    DatendruckenClick();
}

void TForm1::Orvapapier2Click()
{
    m_letterPaper = true;
    DatendruckenClick();
}

void TForm1::KonlistedruckenClick()
{
    runPrintout(m_session, m_services, m_letterPaper, m_session.InterfaceTexts.line(29),
                [this](PrintSurface& surface, PrintContext& context) {
                    // Rebuilt from the project for every printout, as for the list panel, and
                    // only once a printer was chosen: a cancelled command changes nothing.
                    m_session.ConvectorList = BuildConvectorList(m_session.Project);
                    return printConvectorList(surface, context, m_session.ConvectorList);
                });
}

void TForm1::DatendruckenClick()
{
    // One sheet shows one list; with both in use the planner chooses which.
    PrintMode mode = defaultPrintMode(m_session.Project);
    if (bothModesInUse(m_session.Project))
        mode = m_services.messages.askYesNo(text(WhichSheetQuestionLine)) ? PrintMode::Heating
                                                                          : PrintMode::Cooling;
    runPrintout(m_session, m_services, m_letterPaper, m_session.InterfaceTexts.line(30),
                [mode](PrintSurface& surface, PrintContext& context) {
                    return printCalculationData(surface, context, mode);
                });
}

} // namespace tepa
