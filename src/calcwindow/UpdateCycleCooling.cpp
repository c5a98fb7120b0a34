// The cooling half of the result update cycle: description, fan range and operating point of
// the current cooling entry, and the outputs at both ends of its fan range. The rules are the
// cooling operating point's; the window shows what they return.
#include "calcwindow/FormControls.h"
#include "calcwindow/TForm2.h"
#include "calcwindow/WindowSupport.h"
#include "core/calculation/CoolingPoint.h"
#include "core/calculation/UpdateCycle.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>

namespace tepa {

using namespace window;

void TForm2::Nullen_K(int index)
{
    calculation::Nullen_K(m_session.Project, index);
}

void TForm2::showCoolingHeading(const calculation::CoolingHeading& heading)
{
    Edit9->setText(qs(heading.countText));
    setQuietly(UpDown2, heading.count);
    Label3->setText(qs(heading.description));
    Label76->setText(qs(heading.description));
}

void TForm2::update0_K(int index)
{
    showCoolingHeading(calculation::update0_K(m_session, index));
}

void TForm2::showFanBarReset(const calculation::FanBarReset& reset)
{
    if (reset.barRange)
        setRangeQuietly(ScrollBar4, reset.barRange->minimum, reset.barRange->maximum);
    if (reset.maxAirFlow) {
        MaxAirFlow = *reset.maxAirFlow;
        Edit8->setText(QStringLiteral("0"));
    }
}

void TForm2::reset4(int index)
{
    showFanBarReset(calculation::reset4(m_session.Project.CoolingEntries[slotOf(index)]));
}

void TForm2::showCoolingPoint(const calculation::CoolingPointView& view)
{
    StatusFlag = view.status;
    for (std::size_t line : view.messages)
        m_services.messages.showMessage(text(line));
    if (view.returnTempText)
        Edit6->setText(qs(*view.returnTempText));
    if (!view.rated)
        return;
    if (view.maxAirFlow)
        MaxAirFlow = *view.maxAirFlow;
    Qmin = view.qmin;
    Qmax = view.qmax;
    showPressureDropWarnings(view.warnings);
    if (view.barRange)
        setRangeQuietly(ScrollBar4, view.barRange->minimum, view.barRange->maximum);
    setQuietly(ScrollBar4, view.barPosition);
    Edit8->setText(qs(view.settingText));
    Panel8->setVisible(view.waterSide);
    if (!view.waterSide)
        return;
    Label43->setText(qs(view.pressureDropText));
    Label45->setText(qs(view.soundLevelText));
    Label56->setText(qs(view.massFlowText));
}

void TForm2::update1_K(int index)
{
    showCoolingPoint(calculation::update1_K(m_session.Project.CoolingEntries[slotOf(index)],
                                            m_session.currentCoolingEntry(), m_session.Project));
}

double TForm2::Minmax_K(int index, double setting)
{
    return calculation::Minmax_K(m_session.Project.CoolingEntries[slotOf(index)], m_session.Project, setting);
}

} // namespace tepa
