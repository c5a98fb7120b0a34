// The cooling half of the result update cycle: description, fan range and operating point of
// the current cooling entry, and the outputs at both ends of its fan range.
#include "calcwindow/FormControls.h"
#include "calcwindow/TForm2.h"
#include "calcwindow/WindowSupport.h"
#include "core/engine/AirSide.h"
#include "core/engine/EngineCommon.h"
#include "core/engine/ForcedConvection.h"
#include "core/engine/PressureDrop.h"
#include "core/engine/WaterSide.h"
#include "core/model/ProjectReset.h"
#include "core/series/Series.h"
#include "core/text/Numbers.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>

#include <algorithm>
#include <cmath>
#include <string>

namespace tepa {

using namespace window;

namespace {

int rounded(double x)
{
    return static_cast<int>(roundHalfEven(x));
}

struct FanRange
{
    int low;
    int high;
    double percentDivisor;
};

// Speed range of the cooling fan series; the "WFWL" fans run slower.
FanRange fanRangeOf(const std::string& name)
{
    const series::SpeedRange range = series::coolingSpeedRange(series::seriesOf(name));
    return {static_cast<int>(range.minimum), static_cast<int>(range.maximum), range.maximum / 100};
}

engine::ConvectorCoefficients coolingCoefficients(const CoolingEntry& entry,
                                                  const std::string& name,
                                                  const std::string& dataLine,
                                                  const std::string& fanLine,
                                                  double speedRpm)
{
    engine::ConvectorSetting setting;
    setting.typeName = name;
    setting.lengthMm = entry.Length;
    setting.speedRpm = speedRpm;
    setting.dataLine = dataLine;
    setting.fanLine = fanLine;
    setting.freeConvection = false;
    setting.heightFactor = entry.HeightFactor;
    setting.mode = engine::Mode::Cooling;
    setting.stage = stageOf(speedRpm);
    return engine::Zwangskennwerte(setting);
}

} // namespace

void TForm2::Nullen_K(int index)
{
    clearCoolingEntry(m_session.Project.CoolingEntries[slotOf(index)]);
}

void TForm2::update0_K(int index)
{
    const CoolingEntry& entry = m_session.Project.CoolingEntries[slotOf(index)];
    Edit9->setText(QString::fromStdString(strInt(entry.Count, 2)));
    {
        const QSignalBlocker blocker(UpDown2);
        UpDown2->setValue(entry.Count);
    }
    const QString description = entryDescription(entry.TypeName.text(), entry.Height, entry.Length);
    Label3->setText(description);
    Label76->setText(description);
}

void TForm2::reset4(int index)
{
    const CoolingEntry& entry = m_session.Project.CoolingEntries[slotOf(index)];
    const std::string name = entry.TypeName.text();
    const QSignalBlocker blocker(ScrollBar4);
    if (series::isPrimaryAir(name)) {
        MaxAirFlow = series::coolingAirFlowLimit(name, entry.Length);
        ScrollBar4->setRange(0, rounded(MaxAirFlow));
        Edit8->setText(QStringLiteral("0"));
        return;
    }
    if (series::isWfwFamily(name)) {
        const FanRange range = fanRangeOf(name);
        ScrollBar4->setRange(range.low, range.high);
    }
}

void TForm2::update1_K(int index)
{
    const ProjectRecord& project = m_session.Project;
    const double Tv = project.CoolingFlowTemp;
    const double Ti = project.CoolingRoomTemp;

    // A return temperature without a cooling result is replaced by 18 °C once; when that fails
    // too (a flow temperature of 18 °C, say) the entry keeps its values after the one note.
    for (bool retried = false;; retried = true) {
        CoolingEntry& entry = m_session.Project.CoolingEntries[slotOf(index)];
        const std::string name = entry.TypeName.text();
        const std::string dataLine = entry.TypeText1.text();
        const std::string fanLine = entry.TypeText2.text();

        if (series::isPrimaryAir(name)) {
            const engine::AirOutputResult air =
                engine::Luftleistung({project.CoolingSecondTemp, Ti, entry.FanSetting});
            entry.Output = air.outputW;
            StatusFlag = air.status;
            MaxAirFlow = series::coolingAirFlowLimit(name, entry.Length);
            Qmin = 0;
            Qmax = Minmax_K(index, MaxAirFlow);
            {
                const QSignalBlocker blocker(ScrollBar4);
                ScrollBar4->setValue(rounded(entry.FanSetting));
            }
            Edit8->setText(QString::fromStdString(fixedDigits(entry.FanSetting, 4, 0)));
            Panel8->hide();
            // Cooled by its primary air alone: no water side to warn of.
            showPressureDropWarnings({});
            return;
        }

        const engine::ConvectorCoefficients coefficients =
            coolingCoefficients(entry, name, dataLine, fanLine, entry.FanSpeed);
        entry.CoeffK = coefficients.characteristic.K;
        entry.ExponentN = coefficients.characteristic.n;
        entry.SoundLevel = coefficients.soundLevelDb;
        entry.EffectiveLength = coefficients.effectiveLengthMm;
        const engine::OutputResult output = engine::Kuehlleistung({entry.CoeffK, entry.ExponentN},
                                                                  {Tv, entry.ReturnTemp, Ti}, entry.MassFlow);
        StatusFlag = output.status;
        if (output.status == 1) {
            if (retried)
                return;
            m_services.messages.showMessage(text(192));
            Edit6->setText(QStringLiteral("18"));
            entry.ReturnTemp = 18;
            index = m_session.CoolingEntryIndex;
            continue;
        }

        entry.Output = std::fabs(output.outputW);
        entry.MassFlow = std::fabs(output.massFlowKgPerH);
        engine::PressureDropInput dropInput;
        dropInput.massFlowKgPerH = entry.MassFlow;
        dropInput.lengthMm = entry.EffectiveLength;
        dropInput.Tv = Tv;
        dropInput.Tr = entry.ReturnTemp;
        dropInput.typeName = name;
        dropInput.dataLine = dataLine;
        dropInput.mode = engine::Mode::Cooling;
        const engine::PressureDropResult drop = engine::Druckverlust(dropInput);
        entry.PressureDrop = drop.pressureDropPa;
        showPressureDropWarnings(calculation::warningsOf(drop));

        const FanRange range = fanRangeOf(name);
        {
            const QSignalBlocker blocker(ScrollBar4);
            ScrollBar4->setRange(range.low, range.high);
            // A slow fan's bar stands where its speed handler puts it, so that running the
            // handler from here is no move along its steps.
            ScrollBar4->setValue(series::isSlowFan(name) ? static_cast<int>(std::trunc(entry.FanSpeed))
                                                         : rounded(entry.FanSpeed));
        }
        Edit8->setText(QString::fromStdString(fixedDigits(entry.FanSpeed / range.percentDivisor, 4, 0)));
        Panel8->show();

        Qmin = Minmax_K(index, range.low);
        Qmax = Minmax_K(index, range.high);

        Label43->setText(str(entry.PressureDrop, 4, 1));
        Label45->setText(str(std::fabs(entry.SoundLevel), 4, 1));
        Label56->setText(str(entry.MassFlow, 4, 1));
        return;
    }
}

double TForm2::Minmax_K(int index, double setting)
{
    const ProjectRecord& project = m_session.Project;
    const CoolingEntry& entry = project.CoolingEntries[slotOf(index)];
    const std::string name = entry.TypeName.text();
    if (series::isPrimaryAir(name))
        return engine::Luftleistung({project.CoolingSecondTemp, project.CoolingRoomTemp, setting}).outputW;

    // Evaluated on copies: the entry keeps the values of its own speed.
    const std::string dataLine = entry.TypeText1.text();
    const std::string fanLine = entry.TypeText2.text();
    const engine::ConvectorCoefficients coefficients =
        coolingCoefficients(entry, name, dataLine, fanLine, setting);
    const engine::OutputResult output = engine::Kuehlleistung(
        coefficients.characteristic, {project.CoolingFlowTemp, entry.ReturnTemp, project.CoolingRoomTemp},
        entry.MassFlow);
    return std::fabs(output.outputW);
}

} // namespace tepa
