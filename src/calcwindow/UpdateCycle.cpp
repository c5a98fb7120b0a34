// The heating half of the result update cycle: after every input the current heating entry is
// described, its admissible window and operating point recalculated and the displays, sliders
// and the room's residual demand brought up to date.
#include "calcwindow/FormControls.h"
#include "calcwindow/TForm2.h"
#include "calcwindow/WindowSupport.h"
#include "core/engine/EngineCommon.h"
#include "core/engine/ForcedConvection.h"
#include "core/engine/PressureDrop.h"
#include "core/engine/WaterSide.h"
#include "core/model/ProjectReset.h"
#include "core/series/Series.h"
#include "core/text/Numbers.h"

#include <QColor>
#include <QFrame>
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

namespace {} // namespace

QString TForm2::entryDescription(const std::string& typeName, double height, double length) const
{
    return QString::fromStdString(typeName) + QStringLiteral(" ") + text(149) + QStringLiteral("[mm] ") +
           str(height, 3, 0) + QStringLiteral(" ") + text(150) + QStringLiteral("[mm] ") + str(length, 4, 0);
}

void TForm2::Nullen(int index)
{
    clearHeatingEntry(m_session.Project.HeatingEntries[slotOf(index)]);
}

void TForm2::update0(int index)
{
    const HeatingEntry& entry = m_session.Project.HeatingEntries[slotOf(index)];
    Edit5->setText(QString::fromStdString(strInt(entry.Count, 2)));
    {
        const QSignalBlocker blocker(UpDown1);
        UpDown1->setValue(entry.Count);
    }
    Label17->setText(text(entry.FreeConvection ? 63 : 64));
    for (QWidget* fanControl : {static_cast<QWidget*>(Panel6), static_cast<QWidget*>(Label23),
                                static_cast<QWidget*>(Label28), static_cast<QWidget*>(Label30)})
        fanControl->setVisible(!entry.FreeConvection);
    const QString description = entryDescription(entry.TypeName.text(), entry.Height, entry.Length);
    Label5->setText(description);
    Label76->setText(description);
}

void TForm2::update_grenzen(int index)
{
    HeatingEntry& entry = m_session.Project.HeatingEntries[slotOf(index)];
    ProjectRecord& project = m_session.Project;
    const std::string name = entry.TypeName.text();
    const std::string dataLine = entry.TypeText1.text();
    const std::string fanLine = entry.TypeText2.text();

    engine::ConvectorSetting setting;
    setting.typeName = name;
    setting.lengthMm = entry.Length;
    setting.speedRpm = entry.FanSpeed;
    setting.dataLine = dataLine;
    setting.fanLine = fanLine;
    setting.freeConvection = entry.FreeConvection;
    setting.heightFactor = entry.HeightFactor;
    setting.mode = engine::Mode::Heating;
    setting.stage = stageOf(entry.FanSpeed);
    const engine::ConvectorCoefficients coefficients = engine::Zwangskennwerte(setting);
    entry.CoeffK = coefficients.characteristic.K;
    entry.ExponentN = coefficients.characteristic.n;
    entry.SoundLevel = coefficients.soundLevelDb;
    entry.EffectiveLength = coefficients.effectiveLengthMm;

    const engine::ReturnLimits limits = engine::Ruecklaufgrenzen(
        {entry.CoeffK, entry.ExponentN}, {project.HeatingFlowTemp, project.HeatingRoomTemp});
    entry.ReturnTempEnd = limits.returnTempEnd;
    entry.ReturnTempStart = limits.returnTempStart;
    entry.MassFlowEnd = limits.massFlowEnd;
    entry.MassFlowStart = limits.massFlowStart;
    entry.OutputEnd = limits.outputEnd;
    entry.OutputStart = limits.outputStart;
    StatusFlag = limits.status;

    Label28->setText(str(std::fabs(entry.SoundLevel), 4, 0));
    Label9->setText(fixed(entry.ReturnTempEnd, 3));
    Label7->setText(fixed(entry.ReturnTempStart, 3));
    Label13->setText(fixed(entry.MassFlowEnd, 3));
    Label12->setText(fixed(entry.MassFlowStart, 3));
    Label16->setText(fixed(entry.OutputEnd, 7));
    Label14->setText(fixed(entry.OutputStart, 7));

    const bool returnTempHeld = TR_Schalter->isChecked();
    project.ReturnTempFixed = returnTempHeld ? 1 : 0;
    project.MassFlowFixed = returnTempHeld ? 0 : 1;
}

void TForm2::update1(int index)
{
    HeatingEntry& entry = m_session.Project.HeatingEntries[slotOf(index)];
    const ProjectRecord& project = m_session.Project;
    const double Tv = project.HeatingFlowTemp;
    const double Ti = project.HeatingRoomTemp;
    const engine::Characteristic characteristic{entry.CoeffK, entry.ExponentN};
    const std::string name = entry.TypeName.text();
    const std::string dataLine = entry.TypeText1.text();
    const bool returnTempHeld = project.ReturnTempFixed == 1;

    if (returnTempHeld) {
        const engine::OutputResult output = engine::Heizleistung(characteristic, {Tv, entry.ReturnTemp, Ti});
        entry.Output = output.outputW;
        entry.MassFlow = output.massFlowKgPerH;
        StatusFlag = output.status;
    } else {
        if (MassFlowCheckArmed && entry.MassFlow < entry.MassFlowStart) {
            m_services.messages.showMessage(text(96));
            entry.MassFlow = entry.MassFlowStart;
        }
        const engine::ReturnFromFlowResult result =
            engine::Ruecklauf_aus_Massenstrom(characteristic, {Tv, Ti, entry.MassFlow});
        entry.Output = result.outputW;
        entry.ReturnTemp = result.returnTempC;
        StatusFlag = result.status;
    }
    const engine::PressureDropResult drop = engine::Druckverlust(heatingDropInput(entry, name, dataLine, Tv));
    entry.PressureDrop = drop.pressureDropPa;
    if (drop.status != 0)
        StatusFlag = drop.status;
    showPressureDropWarnings(calculation::warningsOf(drop));
    Label27->setText(str(entry.PressureDrop, 4, 0));

    // Only an inverted window (the value below its start and above its end at once) is caught:
    // within a normal window the held quantity is always reachable, and a value just outside
    // it after rounding of the window ends must not interrupt the user.
    const auto outside = [](double x, double start, double end) { return x < start && x > end; };
    bool rejected = false;
    if (returnTempHeld)
        rejected = outside(entry.MassFlow, entry.MassFlowStart, entry.MassFlowEnd);
    else
        rejected = outside(entry.ReturnTemp, entry.ReturnTempStart, entry.ReturnTempEnd);
    if (!rejected)
        rejected = outside(entry.Output, entry.OutputStart, entry.OutputEnd);
    if (rejected) {
        m_services.messages.showInformation(text(74));
        return;
    }
    Scrollreset(index);
    Restwaerme();
}

void TForm2::Scrollreset(int index)
{
    // The fields and sliders as the operating point shows the entry; the output is shown as the
    // law gives it, the height factor being part of K already.
    const calculation::HeatingPointView view =
        calculation::viewOf(m_session.Project.HeatingEntries[slotOf(index)]);
    Edit3->setText(qs(view.outputText));
    Edit1->setText(qs(view.returnTempText));
    Edit2->setText(qs(view.massFlowText));
    setQuietly(ScrollBar1, view.returnTempPosition);
    setQuietly(ScrollBar2, view.massFlowPosition);
    setQuietly(ScrollBar3, view.outputPosition);
    LastScrollPosition = view.outputPosition;
}

void TForm2::Restwaerme()
{
    const ProjectRecord& project = m_session.Project;
    double installed = 0;
    const int count = std::clamp<int>(project.HeatingEntryCount, 0, static_cast<int>(MaxEntries));
    for (int i = 0; i < count; ++i) {
        const HeatingEntry& entry = project.HeatingEntries[static_cast<std::size_t>(i)];
        installed += entry.Count * entry.Output;
    }
    const double residual = project.HeatingDemand - installed;
    double value = residual;
    if (residual >= 0) {
        Label20->setText(text(51));
        setTextColour(Label21, Qt::black);
    } else {
        Label20->setText(text(140));
        setTextColour(Label21, Qt::green);
        value = -residual;
    }
    Label21->setText(str(value, 5, 0));
}

void TForm2::Balken_grenzwerte(int index)
{
    if (m_session.HeatingMode) {
        const bool primaryAir =
            series::isPrimaryAir(m_session.Project.HeatingEntries[slotOf(index)].TypeName.text());
        Label19->setText(text(primaryAir ? 179 : 52));
        Label25->setText(text(primaryAir ? 183 : 184));
        return;
    }
    const bool primaryAir =
        series::isPrimaryAir(m_session.Project.CoolingEntries[slotOf(index)].TypeName.text());
    Label73->setText(text(primaryAir ? 189 : 184));
    Label46->setText(text(primaryAir ? 179 : 178));
    reset4(index);
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
