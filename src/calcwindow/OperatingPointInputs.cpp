// The inputs of the two operating-point panels: return temperature, mass flow and output
// sliders and fields in heating, the fan speed or primary-air setting, the fixed fan stages,
// the counts, and the cooling return temperature. Each input recalculates the current entry.
#include "calcwindow/FormControls.h"
#include "calcwindow/TForm2.h"
#include "calcwindow/WindowSupport.h"
#include "core/calculation/CoolingPoint.h"
#include "core/calculation/HeatingPoint.h"
#include "core/series/Series.h"
#include "core/text/Numbers.h"

#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string>

namespace tepa {

using namespace window;
namespace {

constexpr int MinCount = 1;
constexpr int MaxCount = 15;

// The count typed into a count field: a whole number (decimal, or hexadecimal after "$" or "0x")
// read up to the first character that does not fit; a text without digits reads 0.
int typedCount(const QString& field)
{
    const std::string text = field.toStdString();
    if (const auto whole = readInteger(text))
        return *whole;
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    long long value = 0;
    for (; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        int digit = -1;
        if (std::isdigit(c))
            digit = c - '0';
        else if (base == 16 && std::isxdigit(c))
            digit = std::tolower(c) - 'a' + 10;
        if (digit < 0)
            break;
        value = std::min<long long>(value * base + digit, 1000000);
    }
    return static_cast<int>(value);
}

// The count of a count field limited to what a room entry may hold. A field showing a number
// outside the limits is corrected so that it shows the count used; an empty field (being
// retyped) is left alone.
int countOfField(QLineEdit* field)
{
    const int typed = typedCount(field->text());
    const int count = std::clamp(typed, MinCount, MaxCount);
    if (count != typed && !field->text().trimmed().isEmpty())
        field->setText(QString::number(count));
    return count;
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

namespace {

// After a speed change the given quantity stays inside its new window.
void keepInWindow(HeatingEntry& e, const ProjectRecord& project)
{
    if (project.ReturnTempFixed != 1) {
        if (e.MassFlow > e.MassFlowEnd)
            e.MassFlow = e.MassFlowEnd;
        if (e.MassFlow < e.MassFlowStart)
            e.MassFlow = e.MassFlowStart;
    } else {
        if (e.ReturnTemp > e.ReturnTempEnd)
            e.ReturnTemp = e.ReturnTempEnd;
        if (e.ReturnTemp < e.ReturnTempStart)
            e.ReturnTemp = e.ReturnTempStart;
    }
}

} // namespace

void TForm2::DrehzahlBar4Change()
{
    const int index = m_session.HeatingEntryIndex;
    HeatingEntry& e = m_session.currentHeatingEntry();
    SpeedChanging = true;
    const calculation::FanBarView view =
        calculation::moveHeatingFanBar(e.TypeName.text(), e.FanSpeed, DrehzahlBar4->value(), Fan);
    e.FanSpeed = view.fanSpeed;
    e.FanSetting = view.fanSetting;
    DrehzahlBar4->setPageStep(view.pageStep);
    setRangeQuietly(DrehzahlBar4, 0, view.barMaximum);
    setQuietly(DrehzahlBar4, view.barPosition);
    for (std::size_t line : view.messages)
        m_services.messages.showMessage(text(line));
    SettingText = qs(view.settingText);
    Label101->setText(SettingText);
    Edit4->setText(SettingText);
    update_grenzen(index);
    keepInWindow(e, m_session.Project);
    update1(index);
    Listenaufbau();
    SpeedChanging = false;
}

void TForm2::Edit4Change()
{
    // A message box of a running speed change takes the focus from the field: that is no new entry.
    if (SpeedChanging)
        return;
    const int index = m_session.HeatingEntryIndex;
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
    update_grenzen(index);
    keepInWindow(e, m_session.Project);
    update1(index);
    Listenaufbau();
    SpeedChanging = false;
}

namespace {

// A fixed stage of a ceiling unit: its speed, then the entry is calculated afresh.
void runHeatingStage(TForm2& form, HeatingEntry& e, int index, double speed)
{
    // A stage belongs to the staged series; on any other entry it is no setting at all.
    if (!series::isStaged(e.TypeName.text()))
        return;
    e.FanSpeed = speed;
    form.update0(index);
    form.update_grenzen(index);
    form.update1(index);
    form.Listenaufbau();
}

} // namespace

void TForm2::RadioButton1Click()
{
    runHeatingStage(*this, m_session.currentHeatingEntry(), m_session.HeatingEntryIndex, 0);
}

void TForm2::RadioButton2Click()
{
    runHeatingStage(*this, m_session.currentHeatingEntry(), m_session.HeatingEntryIndex, 700);
}

void TForm2::RadioButton3Click()
{
    runHeatingStage(*this, m_session.currentHeatingEntry(), m_session.HeatingEntryIndex, 1000);
}

void TForm2::RadioButton4Click()
{
    runHeatingStage(*this, m_session.currentHeatingEntry(), m_session.HeatingEntryIndex, 1400);
}

void TForm2::Edit5Change()
{
    if (m_session.EntryBeingAdded)
        return;
    m_session.currentHeatingEntry().Count = countOfField(Edit5);
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

namespace {

void showCoolingOutput(TForm2& form, CoolingEntry& e)
{
    form.Label49->setText(str(e.Output, 0, 1));
    e.Count = countOfField(form.Edit9);
    form.Label59->setText(str(e.Count * e.Output, 0, 1));
}

// A fixed cooling stage of a ceiling unit; there is no standstill stage in cooling.
void runCoolingStage(TForm2& form, CoolingEntry& e, int index, double speed)
{
    if (!series::isStaged(e.TypeName.text()))
        return;
    e.FanSpeed = speed;
    form.update0_K(index);
    form.Balken_grenzwerte(index);
    form.update1_K(index);
    showCoolingOutput(form, e);
    form.Listenaufbau();
}

} // namespace

void TForm2::RadioButton5Click()
{
    runCoolingStage(*this, m_session.currentCoolingEntry(), m_session.CoolingEntryIndex, 700);
}

void TForm2::RadioButton6Click()
{
    runCoolingStage(*this, m_session.currentCoolingEntry(), m_session.CoolingEntryIndex, 1000);
}

void TForm2::RadioButton7Click()
{
    runCoolingStage(*this, m_session.currentCoolingEntry(), m_session.CoolingEntryIndex, 1400);
}

void TForm2::Edit9Change()
{
    if (m_session.EntryBeingAdded)
        return;
    CoolingEntry& e = m_session.currentCoolingEntry();
    e.Count = countOfField(Edit9);
    Label59->setText(qs(fixedDigits(e.Count * e.Output, 5, 1)));
    {
        const QSignalBlocker quiet(UpDown2);
        UpDown2->setValue(e.Count);
    }
    Listenaufbau();
}

void TForm2::UpDown2Click()
{
    Edit9->setText(qs(strInt(UpDown2->value(), 3)));
    Edit9Change();
}

void TForm2::Edit6Change()
{
    CoolingEntry& e = m_session.currentCoolingEntry();
    const int index = m_session.CoolingEntryIndex;
    // A decimal comma is a decimal point here as in every number field of the window.
    auto returnTemp = localeFloat(commaToPoint(Edit6->text().toStdString()), '.');
    if (!returnTemp) {
        m_services.messages.showError(qs(returnTemp.error()));
        return;
    }
    e.ReturnTemp = returnTemp.value();
    update0_K(index);
    Balken_grenzwerte(index);
    update1_K(index);
    setTextColour(Label56, e.MassFlow < 50 ? Qt::red : Qt::black);
    showCoolingOutput(*this, e);
    Listenaufbau();
}

void TForm2::UpDown3Click()
{
    Edit6Change();
}

} // namespace tepa
