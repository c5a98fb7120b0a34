// The heating half of the result update cycle: the rules describe the current heating entry,
// recalculate its window and operating point and the room's residual demand; the window shows
// what they return.
#include "core/calculation/UpdateCycle.h"

#include "calcwindow/FormControls.h"
#include "calcwindow/TForm2.h"
#include "calcwindow/WindowSupport.h"

#include <QColor>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>

#include <string>

namespace tepa {

using namespace window;

QString TForm2::entryDescription(const std::string& typeName, double height, double length) const
{
    return qs(calculation::entryDescription(m_session.InterfaceTexts, typeName, height, length));
}

void TForm2::Nullen(int index)
{
    calculation::Nullen(m_session.Project, index);
}

void TForm2::showHeatingHeading(const calculation::HeatingHeading& heading)
{
    Edit5->setText(qs(heading.countText));
    setQuietly(UpDown1, heading.count);
    Label17->setText(text(heading.modeLine));
    for (QWidget* fanControl : {static_cast<QWidget*>(Panel6), static_cast<QWidget*>(Label23),
                                static_cast<QWidget*>(Label28), static_cast<QWidget*>(Label30)})
        fanControl->setVisible(heading.fanControlsShown);
    Label5->setText(qs(heading.description));
    Label76->setText(qs(heading.description));
}

void TForm2::update0(int index)
{
    showHeatingHeading(calculation::update0(m_session, index));
}

void TForm2::showHeatingLimits(const calculation::HeatingLimits& limits)
{
    StatusFlag = limits.status;
    Label28->setText(qs(limits.soundLevelText));
    Label9->setText(qs(limits.returnEndText));
    Label7->setText(qs(limits.returnStartText));
    Label13->setText(qs(limits.massEndText));
    Label12->setText(qs(limits.massStartText));
    Label16->setText(qs(limits.outputEndText));
    Label14->setText(qs(limits.outputStartText));
}

void TForm2::update_grenzen(int index)
{
    showHeatingLimits(calculation::update_grenzen(m_session, index, TR_Schalter->isChecked()));
}

void TForm2::showHeatingUpdate(const calculation::HeatingUpdate& update)
{
    StatusFlag = update.status;
    for (std::size_t line : update.messages)
        m_services.messages.showMessage(text(line));
    showPressureDropWarnings(update.warnings);
    Label27->setText(qs(update.pressureDropText));
    if (update.refusal) {
        m_services.messages.showInformation(text(*update.refusal));
        return;
    }
    if (update.point)
        showOperatingPoint(*update.point);
    if (update.residual)
        showResidual(*update.residual);
}

void TForm2::update1(int index)
{
    showHeatingUpdate(calculation::update1(m_session, index, MassFlowCheckArmed));
}

void TForm2::showOperatingPoint(const calculation::HeatingPointView& view)
{
    Edit3->setText(qs(view.outputText));
    Edit1->setText(qs(view.returnTempText));
    Edit2->setText(qs(view.massFlowText));
    setQuietly(ScrollBar1, view.returnTempPosition);
    setQuietly(ScrollBar2, view.massFlowPosition);
    setQuietly(ScrollBar3, view.outputPosition);
    LastScrollPosition = view.outputPosition;
}

void TForm2::Scrollreset(int index)
{
    showOperatingPoint(calculation::viewOf(m_session.Project.HeatingEntries[slotOf(index)]));
}

void TForm2::showResidual(const calculation::Residual& residual)
{
    Label20->setText(text(residual.captionLine));
    setTextColour(Label21, residual.surplus ? Qt::green : Qt::black);
    Label21->setText(qs(residual.valueText));
}

void TForm2::Restwaerme()
{
    showResidual(calculation::Restwaerme(m_session.Project));
}

void TForm2::Balken_grenzwerte(int index)
{
    showBarCaptions(calculation::Balken_grenzwerte(m_session, index));
}

void TForm2::showBarCaptions(const calculation::BarCaptions& captions)
{
    if (!captions.coolingReset) {
        Label19->setText(text(captions.speedHeading));
        Label25->setText(text(captions.speedUnit));
        return;
    }
    Label73->setText(text(captions.speedUnit));
    Label46->setText(text(captions.speedHeading));
    showFanBarReset(*captions.coolingReset);
}

void TForm2::Fensterhide()
{
    for (QWidget* control : fanControls())
        control->hide();
}

void TForm2::Fenstershow()
{
    for (QWidget* control : fanControls())
        control->show();
}

std::vector<QWidget*> TForm2::fanControls() const
{
    return {Label3,  Label39, Panel7,  Panel8,  Label49, Panel11, Edit9,
            UpDown2, Label58, Label60, Label50, Label59, Label71};
}

} // namespace tepa
