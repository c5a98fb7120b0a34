#include "app/TForm1.h"
#include "core/model/ProjectReset.h"
#include "core/reports/ConvectorList.h"
#include "core/reports/PrintLayouts.h"

#include <functional>

namespace tepa {
namespace {

using Printout = std::function<Status(PrintSurface&, PrintContext&)>;

// One print command: the printer service asks for the printer (cancel ends it quietly), the
// layout runs on what it returns, and a failure is shown in the platform's words. The scale
// the layout took from the printer is kept for the next command.
void runPrintout(Session& session,
                 platform::Services& services,
                 bool letterPaper,
                 std::int32_t& printScale,
                 const QString& jobName,
                 const Printout& printout)
{
    if (!services.printer)
        return;
    const std::string today = todayShortDate();
    const auto outcome = services.printer->print(jobName, [&](PrintSurface& surface) {
        PrintContext context{session.Project, session.InterfaceTexts, session.ProgramDir, today, letterPaper,
                             printScale};
        Status drawn = printout(surface, context);
        printScale = context.PrintScale;
        return drawn;
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
    runPrintout(m_session, m_services, m_letterPaper, m_printScale, text(29),
                [this](PrintSurface& surface, PrintContext& context) {
                    // Rebuilt from the project for every printout, as for the list panel, and
                    // only once a printer was chosen: a cancelled command changes nothing.
                    m_session.ConvectorList = BuildConvectorList(m_session.Project);
                    return printConvectorList(surface, context, m_session.ConvectorList);
                });
}

void TForm1::DatendruckenClick()
{
    runPrintout(
        m_session, m_services, m_letterPaper, m_printScale, text(30),
        [](PrintSurface& surface, PrintContext& context) { return printCalculationData(surface, context); });
}

} // namespace tepa
