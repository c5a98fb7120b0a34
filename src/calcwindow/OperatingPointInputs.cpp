// The inputs of the two operating-point panels: return temperature, mass flow and output
// sliders and fields in heating, the fan speed or primary-air setting, the fixed fan stages,
// the counts, and the cooling return temperature. Each input recalculates the current entry.
#include "calcwindow/FormControls.h"
#include "calcwindow/TForm2.h"
#include "calcwindow/WindowSupport.h"
#include "core/calculation/CoolingPoint.h"
#include "core/calculation/HeatingPoint.h"
#include "core/calculation/UpdateCycle.h"
#include "core/series/Series.h"
#include "core/text/Numbers.h"

#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>
#include <cmath>
#include <string>

namespace tepa {

using namespace window;
namespace {

// The count of a count field as the rules read it; a field showing another number is corrected
// so that it shows the count used.
int countOfField(QLineEdit* field)
{
    const calculation::TypedCount typed = calculation::countOfText(field->text().toStdString());
    if (typed.correctedText)
        field->setText(qs(*typed.correctedText));
    return typed.count;
}

} // namespace

void TForm2::connectOperatingPointInputs()
{
    if (m_operatingPointConnected)
        return;
    m_operatingPointConnected = true;

    // A focused field reports the end of its editing while the window is being destroyed; by then
    // this object is no longer a calculation window and the handler must not run.
    const auto guarded = [this](void (TForm2::*handler)()) {
        return [this, handler] {
            if (qobject_cast<TForm2*>(static_cast<QObject*>(this)))
                (this->*handler)();
        };
    };
    connect(ScrollBar1, &QScrollBar::valueChanged, this, guarded(&TForm2::scroll1));
    connect(ScrollBar2, &QScrollBar::valueChanged, this, guarded(&TForm2::scroll2));
    connect(ScrollBar3, &QScrollBar::valueChanged, this, guarded(&TForm2::scroll3));
    connect(Edit1, &QLineEdit::editingFinished, this, guarded(&TForm2::Edit1Change));
    connect(Edit2, &QLineEdit::editingFinished, this, guarded(&TForm2::Edit2Change));
    connect(Edit3, &QLineEdit::editingFinished, this, guarded(&TForm2::Edit3Change));
    connect(DrehzahlBar4, &QScrollBar::valueChanged, this, guarded(&TForm2::DrehzahlBar4Change));
    connect(Edit4, &QLineEdit::editingFinished, this, guarded(&TForm2::Edit4Change));
    connect(RadioButton1, &QRadioButton::clicked, this, guarded(&TForm2::RadioButton1Click));
    connect(RadioButton2, &QRadioButton::clicked, this, guarded(&TForm2::RadioButton2Click));
    connect(RadioButton3, &QRadioButton::clicked, this, guarded(&TForm2::RadioButton3Click));
    connect(RadioButton4, &QRadioButton::clicked, this, guarded(&TForm2::RadioButton4Click));
    connect(Edit5, &QLineEdit::textChanged, this, guarded(&TForm2::Edit5Change));
    connect(ScrollBar4, &QScrollBar::valueChanged, this, guarded(&TForm2::ScrollBar4Change));
    connect(Edit8, &QLineEdit::editingFinished, this, guarded(&TForm2::Edit8Change));
    connect(RadioButton5, &QRadioButton::clicked, this, guarded(&TForm2::RadioButton5Click));
    connect(RadioButton6, &QRadioButton::clicked, this, guarded(&TForm2::RadioButton6Click));
    connect(RadioButton7, &QRadioButton::clicked, this, guarded(&TForm2::RadioButton7Click));
    connect(Edit9, &QLineEdit::editingFinished, this, guarded(&TForm2::Edit9Change));
    connect(UpDown2, &QSpinBox::valueChanged, this, guarded(&TForm2::UpDown2Click));
    connect(Edit6, &QLineEdit::editingFinished, this, guarded(&TForm2::Edit6Change));
    connect(UpDown3, &QSpinBox::valueChanged, this, guarded(&TForm2::UpDown3Click));

    // The heating fields are also checked when clicked into; the fan setting when entered.
    const auto clicks = {QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick};
    new EventHandlerFilter(Edit1, clicks, guarded(&TForm2::Edit1Change));
    new EventHandlerFilter(Edit2, clicks, guarded(&TForm2::Edit2Change));
    new EventHandlerFilter(Edit3, clicks, guarded(&TForm2::Edit3Change));
    new EventHandlerFilter(Edit4, {QEvent::MouseButtonDblClick, QEvent::FocusIn},
                           guarded(&TForm2::Edit4Change));
}

// ---- Heating sliders and fields ----

void TForm2::showHeatingPoint(const calculation::HeatingPointView& view)
{
    Edit1->setText(qs(view.returnTempText));
    Edit2->setText(qs(view.massFlowText));
    Edit3->setText(qs(view.outputText));
    setQuietly(ScrollBar1, view.returnTempPosition);
    setQuietly(ScrollBar2, view.massFlowPosition);
    setQuietly(ScrollBar3, view.outputPosition);
    Label27->setText(qs(view.pressureDropText));
    for (std::size_t line : view.messages)
        m_services.messages.showInformation(text(line));
    if (!view.entryChanged)
        return;
    StatusFlag = view.status;
    showPressureDropWarnings(view.warnings);
    Restwaerme();
    Listenaufbau();
}

void TForm2::showPressureDropWarnings(const calculation::PressureDropWarnings& warnings)
{
    Label103->setText(text(calculation::WarningHeadText));
    Label104->setText(text(calculation::LaminarFlowText));
    Label112->setText(text(calculation::RaiseMassFlowText));
    Panel16->setVisible(warnings.laminarFlow);
    Label111->setText(text(calculation::WarningHeadText));
    Label85->setText(text(calculation::HighPressureDropText));
    Panel10->setVisible(warnings.highPressureDrop);
}

namespace {
using calculation::Quantity;
} // namespace

void TForm2::scroll1()
{
    showHeatingPoint(calculation::moveSlider(m_session.currentHeatingEntry(), m_session.Project,
                                             Quantity::ReturnTemp, ScrollBar1->value()));
}

void TForm2::scroll2()
{
    showHeatingPoint(calculation::moveSlider(m_session.currentHeatingEntry(), m_session.Project,
                                             Quantity::MassFlow, ScrollBar2->value()));
}

void TForm2::scroll3()
{
    showHeatingPoint(calculation::moveSlider(m_session.currentHeatingEntry(), m_session.Project,
                                             Quantity::Output, ScrollBar3->value()));
}

void TForm2::Edit1Change()
{
    showHeatingPoint(calculation::typeValue(m_session.currentHeatingEntry(), m_session.Project,
                                            Quantity::ReturnTemp, Edit1->text().toStdString()));
}

void TForm2::Edit2Change()
{
    showHeatingPoint(calculation::typeValue(m_session.currentHeatingEntry(), m_session.Project,
                                            Quantity::MassFlow, Edit2->text().toStdString()));
}

void TForm2::Edit3Change()
{
    showHeatingPoint(calculation::typeValue(m_session.currentHeatingEntry(), m_session.Project,
                                            Quantity::Output, Edit3->text().toStdString()));
}

// ---- Heating fan ----

void TForm2::DrehzahlBar4Change()
{
    SpeedChanging = true;
    const calculation::HeatingFanStep step = calculation::DrehzahlBar4Change(
        m_session, DrehzahlBar4->value(), TR_Schalter->isChecked(), MassFlowCheckArmed, Fan);
    DrehzahlBar4->setPageStep(step.bar.pageStep);
    setRangeQuietly(DrehzahlBar4, 0, step.bar.barMaximum);
    setQuietly(DrehzahlBar4, step.bar.barPosition);
    for (std::size_t line : step.bar.messages)
        m_services.messages.showMessage(text(line));
    SettingText = qs(step.bar.settingText);
    Label101->setText(SettingText);
    Edit4->setText(SettingText);
    showSpeedChange(step.change);
    SpeedChanging = false;
}

void TForm2::showSpeedChange(const calculation::SpeedChange& change)
{
    showHeatingLimits(change.limits);
    showHeatingUpdate(change.update);
    Listenaufbau();
}

void TForm2::Edit4Change()
{
    // A message box of a running speed change takes the focus from the field: that is no new entry.
    if (SpeedChanging)
        return;
    HeatingEntry& e = m_session.currentHeatingEntry();
    SettingText = Edit4->text();
    SpeedChanging = true;
    const calculation::TypedFanSetting typed =
        calculation::typeHeatingFanSetting(e.TypeName.text(), e.FanSpeed, SettingText.toStdString(), Fan);
    if (typed.correctedText)
        Edit4->setText(qs(*typed.correctedText));
    for (std::size_t line : typed.messages)
        m_services.messages.showMessage(text(line));
    e.FanSpeed = typed.fanSpeed;
    e.FanSetting = typed.fanSetting;
    // The bar follows the typed setting; its own handler then recalculates from the bar.
    setRangeQuietly(DrehzahlBar4, 0, typed.barMaximum);
    DrehzahlBar4->setValue(typed.barPosition);
    // The bar's handler has ended its own speed change; this one is still running.
    SpeedChanging = true;
    showSpeedChange(calculation::afterSpeedChange(m_session, TR_Schalter->isChecked(), MassFlowCheckArmed));
    SpeedChanging = false;
}

void TForm2::runHeatingStage(double speedRpm)
{
    const calculation::HeatingStage stage =
        calculation::heatingStage(m_session, speedRpm, TR_Schalter->isChecked(), MassFlowCheckArmed);
    if (!stage.applied)
        return;
    showHeatingHeading(stage.heading);
    showHeatingLimits(stage.limits);
    showHeatingUpdate(stage.update);
    Listenaufbau();
}

void TForm2::RadioButton1Click()
{
    runHeatingStage(0);
}

void TForm2::RadioButton2Click()
{
    runHeatingStage(700);
}

void TForm2::RadioButton3Click()
{
    runHeatingStage(1000);
}

void TForm2::RadioButton4Click()
{
    runHeatingStage(1400);
}

void TForm2::Edit5Change()
{
    const calculation::CountChange change = calculation::Edit5Change(m_session, Edit5->text().toStdString());
    if (!change.applied)
        return;
    if (change.correctedText)
        Edit5->setText(qs(*change.correctedText));
    Listenaufbau();
    Restwaerme();
}

// ---- Cooling fan, stages, count and return temperature ----

void TForm2::showCoolingFan(const calculation::CoolingFanView& view)
{
    Edit8->setVisible(!view.settingAsLabel);
    Label102->setVisible(view.settingAsLabel);
    if (view.barRange)
        setRangeQuietly(ScrollBar4, view.barRange->minimum, view.barRange->maximum);
    for (std::size_t line : view.messages)
        m_services.messages.showMessage(text(line));
    if (view.barPosition)
        setQuietly(ScrollBar4, *view.barPosition);
    if (view.settingText)
        Edit8->setText(qs(*view.settingText));
    if (view.slowSettingText)
        Label102->setText(qs(*view.slowSettingText));
    if (view.status)
        StatusFlag = *view.status;
    showPressureDropWarnings(view.warnings);
    Label49->setText(qs(view.outputText));
    Label59->setText(qs(view.totalText));
    if (!view.waterSide)
        return;
    setTextColour(Label56, view.massFlowLow ? Qt::red : Qt::black);
    Label45->setText(qs(view.soundLevelText));
    Label43->setText(qs(view.pressureDropText));
    Label56->setText(qs(view.massFlowText));
}

void TForm2::ScrollBar4Change()
{
    if (m_inScrollBar4Change)
        return;
    m_inScrollBar4Change = true;
    SpeedChanging = true;
    // The speed is rated with the heating entry's height factor, as the room's stored outputs are.
    showCoolingFan(calculation::moveCoolingFanBar(m_session.currentCoolingEntry(), m_session.Project,
                                                  ScrollBar4->value(), countOfField(Edit9),
                                                  m_session.currentHeatingEntry().HeightFactor, Fan));
    Listenaufbau();
    SpeedChanging = false;
    m_inScrollBar4Change = false;
}

void TForm2::Edit8Change()
{
    const int index = m_session.CoolingEntryIndex;
    const calculation::TypedCoolingSetting typed =
        calculation::typeCoolingSetting(m_session.currentCoolingEntry(), Edit8->text().toStdString(), Fan);
    Edit8->setText(qs(typed.settingText));
    Balken_grenzwerte(index);
    ScrollBar4->setValue(typed.barPosition);
}

void TForm2::showCoolingStep(const calculation::CoolingStep& step)
{
    if (step.error) {
        m_services.messages.showError(qs(*step.error));
        return;
    }
    if (!step.applied)
        return;
    showCoolingHeading(step.heading);
    showBarCaptions(step.captions);
    showCoolingPoint(step.point);
    setTextColour(Label56, step.massFlowLow ? Qt::red : Qt::black);
    Label49->setText(qs(step.outputText));
    if (step.countText)
        Edit9->setText(qs(*step.countText));
    Label59->setText(qs(step.totalText));
    Listenaufbau();
}

void TForm2::RadioButton5Click()
{
    showCoolingStep(calculation::coolingStage(m_session, 700, Edit9->text().toStdString()));
}

void TForm2::RadioButton6Click()
{
    showCoolingStep(calculation::coolingStage(m_session, 1000, Edit9->text().toStdString()));
}

void TForm2::RadioButton7Click()
{
    showCoolingStep(calculation::coolingStage(m_session, 1400, Edit9->text().toStdString()));
}

void TForm2::Edit9Change()
{
    const calculation::CountChange change = calculation::Edit9Change(m_session, Edit9->text().toStdString());
    if (!change.applied)
        return;
    if (change.correctedText)
        Edit9->setText(qs(*change.correctedText));
    Label59->setText(qs(change.totalText));
    setQuietly(UpDown2, change.count);
    Listenaufbau();
}

void TForm2::UpDown2Click()
{
    Edit9->setText(qs(strInt(UpDown2->value(), 3)));
    Edit9Change();
}

void TForm2::Edit6Change()
{
    showCoolingStep(
        calculation::Edit6Change(m_session, Edit6->text().toStdString(), Edit9->text().toStdString()));
}

void TForm2::UpDown3Click()
{
    Edit6Change();
}

} // namespace tepa
