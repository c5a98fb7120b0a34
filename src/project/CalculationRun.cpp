// The room calculation run: the main window hands the room over to the calculation window.
#include "app/TForm1.h"
#include "calcwindow/FormControls.h"
#include "calcwindow/TForm2.h"
#include "calcwindow/WindowSupport.h"
#include "core/engine/EngineCommon.h"
#include "core/series/Series.h"
#include "core/text/Numbers.h"
#include "project/ControlAccess.h"

#include <QAction>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>

#include <string>

namespace tepa {
namespace {

constexpr std::size_t RoomCaptionText = 90;
constexpr std::size_t ListHeadingText = 43;
constexpr std::size_t RoomTempRangeText = 70;
constexpr std::size_t FlowTempRangeText = 73;
constexpr std::size_t ChangedRoomDataText = 114;
constexpr std::size_t ReturnTempLoweredText = 118;
constexpr std::size_t CoolingFlowAboveRoomText = 169;
constexpr std::size_t AirFlowHeadingText = 179;
constexpr std::size_t AirFlowUnitText = 183;
constexpr std::size_t HeatingDemandCaptionText = 26;
constexpr std::size_t FlowTempSummaryText = 27;
constexpr std::size_t CoolingDemandCaptionText = 168;
constexpr std::size_t FlowTempCaptionText = 190;
constexpr std::size_t RoomTempCaptionText = 25;
constexpr std::size_t SecondTempCaptionText = 188;
constexpr std::size_t CoolingSpeedHeadingText = 178;
constexpr std::size_t PrimaryAirCaptionText = 208;

constexpr double MinRoomTemp = 0, MaxRoomTemp = 40;
constexpr double MinHeatingFlow = 40, MaxHeatingFlow = 110;
constexpr double MinCoolingFlow = 5, MaxCoolingFlow = 25;
// A cooling flow above the room temperature is replaced by this much below it as a proposal.
constexpr double ProposedCoolingFlowBelowRoom = 4;
constexpr int WindowOffsetLeft = 5, WindowOffsetTop = 50, WindowHeight = 565;
constexpr int ProjectInfoLength = 30;

QString qText(const std::string& s)
{
    return QString::fromStdString(s);
}

int whole(double x)
{
    return static_cast<int>(roundHalfEven(x));
}

void setPosition(QScrollBar* bar, int position)
{
    const QSignalBlocker blocker(bar);
    bar->setValue(position);
}

void commaToPoint(QLineEdit* edit)
{
    edit->setText(qText(tepa::commaToPoint(edit->text().toStdString())));
}

// The fan-stage radio button of a stored speed (nudged so that 999.95 is the 1000 stage).
QRadioButton* stageButton(double fanSpeed,
                          QRadioButton* stage0,
                          QRadioButton* stage700,
                          QRadioButton* stage1000,
                          QRadioButton* stage1400)
{
    switch (whole(fanSpeed + 0.1)) {
    case 0:
        return stage0;
    case 700:
        return stage700;
    case 1000:
        return stage1000;
    case 1400:
        return stage1400;
    default:
        return nullptr;
    }
}

QString projectInfo(const ProjectRecord& p)
{
    return (QStringLiteral("Projekt-Info: ") + qText(p.Number.text())).left(ProjectInfoLength);
}

void selectFirstLine(QListWidget* list)
{
    if (list->count() == 0)
        return;
    list->setCurrentRow(0);
    list->item(0)->setSelected(true);
}

} // namespace

void TForm1::linkCalculationWindow()
{
    m_form2->enableMainPrintMenu = [this] { controls::setEnabled(Drucken1, true); };
    m_form2->enableMainConvectorList = [this] { controls::setEnabled(Konvliste, true); };
    m_form2->disableMainTypeList = [this] { controls::setEnabled(ListBox3, false); };
}

void TForm1::Berechnungen1Click()
{
    if (!m_form2)
        return;
    Session& s = m_session;
    TForm2& f = *m_form2;
    linkCalculationWindow();
    // A loaded project opens straight at its operating point, before any type list or "weiter"
    // has made the inputs live.
    f.connectOperatingPointInputs();

    f.setWindowTitle(f.BaseTitle + QStringLiteral("  ") + text(RoomCaptionText) + QStringLiteral("  ") +
                     qText(s.Project.RoomName.text()));
    s.CoolingRoomTempLoaded = true;
    f.Panel3->setEnabled(true);
    for (QWidget* w : {f.Panel14, f.Panel5, f.Panel6, f.Panel15, f.Panel10})
        w->hide();

    const bool carriedOn = s.HeatingMode ? heatingCalculationRun() : coolingCalculationRun();
    if (!carriedOn)
        return;

    if (s.FreeTypeChosen) {
        f.FreieKonvektion1->trigger();
        s.FreeTypeChosen = false;
    }
    if (s.ForcedTypeChosen) {
        f.FreieZwangsKonv1->trigger();
        s.ForcedTypeChosen = false;
    }
    // A fixed-stage unit shows the stage it is stored with (1000 rpm when the stored speed is
    // none of the stages); checking the button from here must not run its handler, which would
    // put every such unit to 1000 rpm whenever the room is opened.
    const HeatingEntry& current = s.currentHeatingEntry();
    if (series::isStaged(current.TypeName.text())) {
        QRadioButton* stage =
            stageButton(current.FanSpeed, f.RadioButton1, f.RadioButton2, f.RadioButton3, f.RadioButton4);
        if (!stage)
            stage = f.RadioButton3;
        stage->setEnabled(true);
        stage->setChecked(true);
    }
    f.Label41->setText(f.text(series::isPrimaryAir(s.currentCoolingEntry().TypeName.text())
                                  ? PrimaryAirCaptionText
                                  : FlowTempCaptionText));
}

bool TForm1::heatingCalculationRun()
{
    Session& s = m_session;
    ProjectRecord& p = s.Project;
    TForm2& f = *m_form2;

    // Unchanged room data are those the entries were calculated with: kept to put back a
    // change the planner rejects below.
    if (!s.DemandChanged && !s.FlowTempChanged && !s.RoomTempChanged)
        m_roomValuesAtRun = {true, p.HeatingDemand, p.HeatingFlowTemp, p.HeatingRoomTemp};

    for (QLineEdit* edit : {Edit2, Edit3, Edit4})
        commaToPoint(edit);
    ProjectDataToRecord();
    RoomDataToRecord();
    s.ProjectTouched = true;

    f.move(x() + WindowOffsetLeft, y() + WindowOffsetTop);
    f.resize(f.width(), WindowHeight);
    f.Panel4->hide();
    f.Panel1->hide();
    f.Label8->setText(f.text(ListHeadingText));

    // A freshly loaded project shows its current entry's fan setting once.
    const HeatingEntry& e = s.currentHeatingEntry();
    const std::string name = e.TypeName.text();
    if (series::isPrimaryAir(name) && s.ProjectLoaded) {
        f.Panel14->hide();
        f.Panel6->show();
        f.MaxAirFlow = window::primaryAirLimit(name, e.Length, f.MaxAirFlow);
        {
            const QSignalBlocker blocker(f.DrehzahlBar4);
            f.DrehzahlBar4->setRange(0, whole(f.MaxAirFlow));
            f.DrehzahlBar4->setValue(whole(e.FanSetting));
        }
        f.Label19->setText(f.text(AirFlowHeadingText));
        f.Label25->setText(f.text(AirFlowUnitText));
        f.Edit4->setText(qText(strFixed(e.FanSetting, 4, 0)));
        s.ProjectLoaded = false;
    }
    if (series::isStaged(name)) {
        f.Panel14->show();
        if (s.ProjectLoaded) {
            if (QRadioButton* stage =
                    stageButton(e.FanSpeed, f.RadioButton1, f.RadioButton2, f.RadioButton3, f.RadioButton4))
                stage->setChecked(true);
            s.ProjectLoaded = false;
        }
    }
    if (series::isSlowFan(name) && s.ProjectLoaded) {
        f.Listenaufbau();
        selectFirstLine(f.ListBox2);
        f.BearbeitenClick();
    }
    s.ProjectLoaded = false;

    if (!s.HeatingPanelReady) {
        f.Panel3->setEnabled(false);
        f.ListBox2->clear();
        f.Label5->clear();
    }
    if (p.HeatingEntries[0].InUse)
        f.Panel3->setEnabled(true);

    if (p.HeatingRoomTemp > MaxRoomTemp || p.HeatingRoomTemp < MinRoomTemp) {
        m_services.messages.showMessage(text(RoomTempRangeText));
        Raumdaten1Click();
        return false;
    }
    if (p.HeatingFlowTemp > MaxHeatingFlow || p.HeatingFlowTemp < MinHeatingFlow) {
        m_services.messages.showMessage(text(FlowTempRangeText));
        Raumdaten1Click();
        GroupBox2->show();
        setPanelColour(f.Panel12, formcolours::warningRed());
        return false;
    }

    f.GroupBox2->setTitle(projectInfo(p));
    f.Label35->setText(f.text(HeatingDemandCaptionText));
    f.Label36->setText(qText(strFixed(p.HeatingDemand, 5, 0)));
    f.Label37->setText(qText(strFixed(p.HeatingRoomTemp, 5, 0)));
    f.Label33->setText(f.text(FlowTempSummaryText));
    f.Label38->setText(qText(strFixed(p.HeatingFlowTemp, 4, 1)));
    f.Label95->hide();
    f.Label96->hide();

    if (p.HeatingEntries[0].InUse && (s.DemandChanged || s.FlowTempChanged || s.RoomTempChanged)) {
        if (!m_services.messages.askYesNo(text(ChangedRoomDataText))) {
            if (m_roomValuesAtRun.known) {
                if (s.RoomTempChanged)
                    p.HeatingRoomTemp = m_roomValuesAtRun.heatingRoomTemp;
                if (s.FlowTempChanged)
                    p.HeatingFlowTemp = m_roomValuesAtRun.heatingFlowTemp;
                if (s.DemandChanged)
                    p.HeatingDemand = m_roomValuesAtRun.heatingDemand;
            }
            RecordToRoomData();
            s.ResetChangeFlags();
            return false;
        }
        if (s.RoomTempChanged || s.FlowTempChanged) {
            for (int i = 1; i <= p.HeatingEntryCount; ++i) {
                HeatingEntry& entry = p.HeatingEntries[static_cast<std::size_t>(i - 1)];
                f.update_grenzen(i);
                if (entry.ReturnTempEnd < entry.ReturnTemp) {
                    m_services.messages.showMessage(QStringLiteral("Konvektor Nr ") + QString::number(i) +
                                                    QStringLiteral("   ") + text(ReturnTempLoweredText));
                    entry.ReturnTemp = entry.ReturnTempEnd;
                }
                f.update1(i);
            }
        }
        s.ResetChangeFlags();
    }
    m_roomValuesAtRun = {true, p.HeatingDemand, p.HeatingFlowTemp, p.HeatingRoomTemp};

    p.CalculationDone = true;
    ListBox1->hide();

    const HeatingEntry& first = p.HeatingEntries[0];
    if (first.InUse) {
        setPanelColour(f.Panel12, formcolours::warningRed());
        for (QWidget* w : {static_cast<QWidget*>(f.Panel3), static_cast<QWidget*>(f.ListBox2),
                           static_cast<QWidget*>(f.Label8), static_cast<QWidget*>(f.Panel2)})
            w->show();
        f.update0(1);
        f.update_grenzen(1);
        f.update1(1);
        f.Listenaufbau();
        f.Erweitern->setEnabled(true);
        if (!first.FreeConvection) {
            const HeatingEntry& current = s.currentHeatingEntry();
            if (series::isPrimaryAir(current.TypeName.text())) {
                setPosition(f.DrehzahlBar4, whole(first.FanSetting));
                f.Edit4->setText(qText(strFixed(current.FanSetting, 3, 0)));
            } else {
                setPosition(f.DrehzahlBar4, whole(current.FanSpeed));
                // The setting field must match the bar: entering or leaving it applies it.
                if (!current.FreeConvection && !series::isStaged(current.TypeName.text()))
                    f.Edit4->setText(window::heatingFanSettingText(current));
            }
        }
    } else {
        for (QWidget* w : {static_cast<QWidget*>(f.Panel4), static_cast<QWidget*>(f.Panel3),
                           static_cast<QWidget*>(f.ListBox2), static_cast<QWidget*>(f.Label8),
                           static_cast<QWidget*>(f.Panel2)})
            w->hide();
    }
    f.bringToFront();
    f.Panel3->show();
    f.Panel1->hide();
    return true;
}

bool TForm1::coolingCalculationRun()
{
    Session& s = m_session;
    ProjectRecord& p = s.Project;
    TForm2& f = *m_form2;

    for (QLineEdit* edit : {Edit2, Edit3, Edit4, Edit1, Edit5, Edit6})
        commaToPoint(edit);
    ProjectDataToRecord();
    RoomDataToRecord();
    if (p.CoolingEntries[0].InUse)
        s.ResetChangeFlags();
    s.ProjectTouched = true;
    f.move(x() + WindowOffsetLeft, y() + WindowOffsetTop);
    f.resize(f.width(), WindowHeight);

    if (s.ProjectLoaded) {
        {
            const QSignalBlocker blocker(f.UpDown3);
            f.UpDown3->setValue(whole(p.CoolingEntries[0].ReturnTemp));
        }
        f.update0_K(1);
        f.Balken_grenzwerte(1);
        f.update1_K(1);
        f.Listenaufbau();
        selectFirstLine(f.ListBox2);
        f.BearbeitenClick();
    }

    const CoolingEntry& c = s.currentCoolingEntry();
    const std::string name = c.TypeName.text();
    if (series::isStaged(name)) {
        f.Panel15->show();
        if (s.ProjectLoaded) {
            if (QRadioButton* stage =
                    stageButton(c.FanSpeed, nullptr, f.RadioButton5, f.RadioButton6, f.RadioButton7))
                stage->setChecked(true);
            s.ProjectLoaded = false;
        }
    }

    if (p.CoolingFlowTemp > p.CoolingRoomTemp) {
        m_services.messages.showMessage(text(CoolingFlowAboveRoomText));
        Raumdaten1Click();
        GroupBox2->show();
        // Written after the room data panel has been filled from the record, so that the
        // proposal is what the field shows.
        Edit1->setText(qText(fixedDigits(p.CoolingRoomTemp - ProposedCoolingFlowBelowRoom, 3, 1)));
        return false;
    }

    f.GroupBox2->setTitle(projectInfo(p));
    f.Label35->setText(f.text(CoolingDemandCaptionText));
    f.Label33->setText(f.text(FlowTempCaptionText));
    f.Label36->setText(qText(strFixed(p.CoolingDemand, 5, 0)));
    f.Label37->setText(qText(strFixed(p.CoolingRoomTemp, 5, 0)));
    f.Label38->setText(qText(strFixed(p.CoolingFlowTemp, 4, 1)));
    f.Label40->setText(f.text(RoomTempCaptionText));
    f.Label65->setText(qText(fixedDigits(p.CoolingRoomTemp, 4, 1)));
    f.Edit6->setText(qText(fixedDigits(p.CoolingEntries[0].ReturnTemp, 2, 0)));
    f.Label95->setText(f.text(SecondTempCaptionText));
    f.Label96->setText(qText(fixedDigits(p.CoolingSecondTemp, 4, 1)));
    f.Label95->show();
    f.Label96->show();
    f.Label66->setText(
        qText(fixedDigits(series::isPrimaryAir(name) ? p.CoolingSecondTemp : p.CoolingFlowTemp, 4, 1)));

    f.bringToFront();
    f.Panel3->hide();
    f.Panel1->show();
    f.Panel4->hide();
    f.Label8->setText(f.text(ListHeadingText));
    if (!s.CoolingPanelReady) {
        f.Fensterhide();
        f.ListBox2->clear();
    }
    if (p.CoolingEntries[0].InUse)
        f.Panel1->setEnabled(true);

    if (p.CoolingRoomTemp > MaxRoomTemp || p.CoolingRoomTemp < MinRoomTemp) {
        m_services.messages.showMessage(text(RoomTempRangeText));
        Raumdaten1Click();
        return false;
    }
    if (p.CoolingFlowTemp > MaxCoolingFlow || p.CoolingFlowTemp < MinCoolingFlow) {
        m_services.messages.showMessage(text(FlowTempRangeText));
        Raumdaten1Click();
        GroupBox2->show();
        return false;
    }

    if (s.ProjectLoaded) {
        s.ResetChangeFlags();
        s.ProjectLoaded = false;
    }
    p.CalculationDone = true;
    ListBox1->hide();

    if (p.CoolingEntries[0].InUse) {
        f.Label19->setText(f.text(CoolingSpeedHeadingText));
        f.ListBox2->show();
        f.Label8->show();
        f.GroupBox1->show();
        f.update0_K(1);
        f.Balken_grenzwerte(1);
        f.update1_K(1);
        f.Listenaufbau();
        f.Erweitern->setEnabled(true);
        emit f.ScrollBar4->valueChanged(f.ScrollBar4->value());
        f.Fenstershow();
    }
    f.bringToFront();
    f.Panel1->show();
    f.Panel3->hide();
    setPanelColour(f.Panel12, formcolours::coolingBlue());
    return true;
}

} // namespace tepa
