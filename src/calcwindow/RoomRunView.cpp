// What the main window's room calculation run and its data panels ask of the calculation window:
// the room summary, the panels of the mode, the state of a freshly loaded project. The run decides
// (core/calculation/RoomRun.h); these show.
#include "calcwindow/FormControls.h"
#include "calcwindow/TForm2.h"
#include "calcwindow/WindowSupport.h"
#include "core/series/Series.h"
#include "core/text/Numbers.h"

#include <QAction>
#include <QColor>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>

#include <string>

namespace tepa {

using namespace window;
namespace {

constexpr std::size_t RoomCaptionText = 90;
constexpr std::size_t ListHeadingText = 43;
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

constexpr int WindowOffsetLeft = 5, WindowOffsetTop = 50, WindowHeight = 565;
constexpr int ProjectInfoLength = 30;

int whole(double x)
{
    return static_cast<int>(roundHalfEven(x));
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
    return (QStringLiteral("Projekt-Info: ") + qs(p.Number.text())).left(ProjectInfoLength);
}

void selectFirstLine(QListWidget* list)
{
    if (list->count() == 0)
        return;
    list->setCurrentRow(0);
    list->item(0)->setSelected(true);
}

} // namespace

void TForm2::updateLimits(int index)
{
    update_grenzen(index);
}

void TForm2::recalculate(int index)
{
    update1(index);
}

void TForm2::beginRoomRun(const QWidget& mainWindow)
{
    const Session& s = m_session;
    // A loaded project opens straight at its operating point, before any type list or "weiter"
    // has made the inputs live.
    connectOperatingPointInputs();
    setWindowTitle(BaseTitle + QStringLiteral("  ") + text(RoomCaptionText) + QStringLiteral("  ") +
                   qs(s.Project.RoomName.text()));
    Panel3->setEnabled(true);
    for (QWidget* w : {Panel14, Panel5, Panel6, Panel15, Panel10})
        w->hide();
    move(mainWindow.x() + WindowOffsetLeft, mainWindow.y() + WindowOffsetTop);
    resize(width(), WindowHeight);
}

void TForm2::prepareHeatingRun()
{
    Session& s = m_session;
    Panel4->hide();
    Panel1->hide();
    Label8->setText(text(ListHeadingText));

    // A freshly loaded project shows its current entry's fan setting once.
    const HeatingEntry& e = s.currentHeatingEntry();
    const std::string name = e.TypeName.text();
    if (series::isPrimaryAir(name) && s.ProjectLoaded) {
        Panel14->hide();
        Panel6->show();
        MaxAirFlow = primaryAirLimit(name, e.Length, MaxAirFlow);
        {
            const QSignalBlocker blocker(DrehzahlBar4);
            DrehzahlBar4->setRange(0, whole(MaxAirFlow));
            DrehzahlBar4->setValue(whole(e.FanSetting));
        }
        Label19->setText(text(AirFlowHeadingText));
        Label25->setText(text(AirFlowUnitText));
        Edit4->setText(qs(strFixed(e.FanSetting, 4, 0)));
        s.ProjectLoaded = false;
    }
    if (series::isStaged(name)) {
        Panel14->show();
        if (s.ProjectLoaded) {
            if (QRadioButton* stage =
                    stageButton(e.FanSpeed, RadioButton1, RadioButton2, RadioButton3, RadioButton4))
                stage->setChecked(true);
            s.ProjectLoaded = false;
        }
    }
    if (series::isSlowFan(name) && s.ProjectLoaded) {
        Listenaufbau();
        selectFirstLine(ListBox2);
        BearbeitenClick();
    }
    s.ProjectLoaded = false;

    if (!s.HeatingPanelReady) {
        Panel3->setEnabled(false);
        ListBox2->clear();
        Label5->clear();
    }
    if (s.Project.HeatingEntries[0].InUse)
        Panel3->setEnabled(true);
}

void TForm2::showRejectedRoomData()
{
    setPanelColour(Panel12, formcolours::warningRed());
}

void TForm2::showHeatingSummary()
{
    const ProjectRecord& p = m_session.Project;
    GroupBox2->setTitle(projectInfo(p));
    Label35->setText(text(HeatingDemandCaptionText));
    Label36->setText(qs(strFixed(p.HeatingDemand, 5, 0)));
    Label37->setText(qs(strFixed(p.HeatingRoomTemp, 5, 0)));
    Label33->setText(text(FlowTempSummaryText));
    Label38->setText(qs(strFixed(p.HeatingFlowTemp, 4, 1)));
    Label95->hide();
    Label96->hide();
}

void TForm2::showHeatingList()
{
    const Session& s = m_session;
    const HeatingEntry& first = s.Project.HeatingEntries[0];
    const std::initializer_list<QWidget*> listArea = {Panel3, ListBox2, Label8, Panel2};
    if (first.InUse) {
        setPanelColour(Panel12, formcolours::warningRed());
        for (QWidget* w : listArea)
            w->show();
        update0(1);
        update_grenzen(1);
        update1(1);
        Listenaufbau();
        Erweitern->setEnabled(true);
        if (!first.FreeConvection) {
            const HeatingEntry& current = s.currentHeatingEntry();
            if (series::isPrimaryAir(current.TypeName.text())) {
                setQuietly(DrehzahlBar4, whole(first.FanSetting));
                Edit4->setText(qs(strFixed(current.FanSetting, 3, 0)));
            } else {
                setQuietly(DrehzahlBar4, whole(current.FanSpeed));
                // The setting field must match the bar: entering or leaving it applies it.
                if (!current.FreeConvection && !series::isStaged(current.TypeName.text()))
                    Edit4->setText(qs(calculation::heatingSettingText(current)));
            }
        }
    } else {
        Panel4->hide();
        for (QWidget* w : listArea)
            w->hide();
    }
    bringToFront();
    Panel3->show();
    Panel1->hide();
}

void TForm2::prepareCoolingRun()
{
    Session& s = m_session;
    const ProjectRecord& p = s.Project;
    if (s.ProjectLoaded) {
        {
            const QSignalBlocker blocker(UpDown3);
            UpDown3->setValue(whole(p.CoolingEntries[0].ReturnTemp));
        }
        update0_K(1);
        Balken_grenzwerte(1);
        update1_K(1);
        Listenaufbau();
        selectFirstLine(ListBox2);
        BearbeitenClick();
    }
    const CoolingEntry& c = s.currentCoolingEntry();
    if (series::isStaged(c.TypeName.text())) {
        Panel15->show();
        if (s.ProjectLoaded) {
            if (QRadioButton* stage =
                    stageButton(c.FanSpeed, nullptr, RadioButton5, RadioButton6, RadioButton7))
                stage->setChecked(true);
            s.ProjectLoaded = false;
        }
    }
}

void TForm2::showCoolingSummary()
{
    const Session& s = m_session;
    const ProjectRecord& p = s.Project;
    GroupBox2->setTitle(projectInfo(p));
    Label35->setText(text(CoolingDemandCaptionText));
    Label33->setText(text(FlowTempCaptionText));
    Label36->setText(qs(strFixed(p.CoolingDemand, 5, 0)));
    Label37->setText(qs(strFixed(p.CoolingRoomTemp, 5, 0)));
    Label38->setText(qs(strFixed(p.CoolingFlowTemp, 4, 1)));
    Label40->setText(text(RoomTempCaptionText));
    Label65->setText(qs(fixedDigits(p.CoolingRoomTemp, 4, 1)));
    Edit6->setText(qs(fixedDigits(p.CoolingEntries[0].ReturnTemp, 2, 0)));
    Label95->setText(text(SecondTempCaptionText));
    Label96->setText(qs(fixedDigits(p.CoolingSecondTemp, 4, 1)));
    Label95->show();
    Label96->show();
    const bool primaryAir = series::isPrimaryAir(s.currentCoolingEntry().TypeName.text());
    Label66->setText(qs(fixedDigits(primaryAir ? p.CoolingSecondTemp : p.CoolingFlowTemp, 4, 1)));

    bringToFront();
    Panel3->hide();
    Panel1->show();
    Panel4->hide();
    Label8->setText(text(ListHeadingText));
    if (!s.CoolingPanelReady) {
        Fensterhide();
        ListBox2->clear();
    }
    if (p.CoolingEntries[0].InUse)
        Panel1->setEnabled(true);
}

void TForm2::showCoolingList()
{
    if (m_session.Project.CoolingEntries[0].InUse) {
        Label19->setText(text(CoolingSpeedHeadingText));
        ListBox2->show();
        Label8->show();
        GroupBox1->show();
        update0_K(1);
        Balken_grenzwerte(1);
        update1_K(1);
        Listenaufbau();
        Erweitern->setEnabled(true);
        emit ScrollBar4->valueChanged(ScrollBar4->value());
        Fenstershow();
    }
    bringToFront();
    Panel1->show();
    Panel3->hide();
    setPanelColour(Panel12, formcolours::coolingBlue());
}

void TForm2::finishRoomRun()
{
    Session& s = m_session;
    if (s.FreeTypeChosen) {
        FreieKonvektion1->trigger();
        s.FreeTypeChosen = false;
    }
    if (s.ForcedTypeChosen) {
        FreieZwangsKonv1->trigger();
        s.ForcedTypeChosen = false;
    }
    // A fixed-stage unit shows the stage it is stored with (1000 rpm when the stored speed is
    // none of the stages); checking the button from here must not run its handler, which would
    // put every such unit to 1000 rpm whenever the room is opened.
    const HeatingEntry& current = s.currentHeatingEntry();
    if (series::isStaged(current.TypeName.text())) {
        QRadioButton* stage =
            stageButton(current.FanSpeed, RadioButton1, RadioButton2, RadioButton3, RadioButton4);
        if (!stage)
            stage = RadioButton3;
        stage->setEnabled(true);
        stage->setChecked(true);
    }
    Label41->setText(text(series::isPrimaryAir(s.currentCoolingEntry().TypeName.text())
                              ? PrimaryAirCaptionText
                              : FlowTempCaptionText));
}

void TForm2::clearList()
{
    ListBox2->clear();
}

void TForm2::showOtherModeTotalHeading()
{
    const ProjectRecord& p = m_session.Project;
    if (p.CoolingDualUse) {
        setTextColour(Label94, Qt::red);
        Label94->setText(QStringLiteral("(Q_Heiz-ges[W])"));
        Label94->show();
    }
    if (p.HeatingDualUse) {
        setTextColour(Label94, Qt::blue);
        Label94->setText(QStringLiteral("(Q_Kühl-ges[W])"));
        Label94->show();
    }
}

void TForm2::showModeNotes(bool cooling)
{
    // Cooling always runs with a fan: free-convection types cannot be chosen there.
    FreieKonvektion1->setEnabled(!cooling);
    Panel13->setVisible(cooling);
    Panel16->hide();
}

void TForm2::hideNominalRating()
{
    GroupBox4->hide();
}

void TForm2::showListFrameIdle()
{
    QPalette palette = Panel12->palette();
    palette.setColor(QPalette::Window, Qt::gray);
    Panel12->setPalette(palette);
    Panel12->setAutoFillBackground(true);
}

} // namespace tepa
