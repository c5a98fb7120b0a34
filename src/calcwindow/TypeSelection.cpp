// The type panel of the calculation window: loading a type list, picking type, length and height
// into the current entry, and "weiter", which prepares the operating-point panel of the mode.
#include "calcwindow/FormControls.h"
#include "calcwindow/TForm2.h"
#include "calcwindow/WindowSupport.h"
#include "core/calculation/TypeChoice.h"
#include "core/engine/EngineCommon.h"
#include "core/engine/FanSetting.h"
#include "core/engine/NominalRating.h"
#include "core/series/Series.h"
#include "core/text/Numbers.h"

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

#include <cmath>
#include <string>

namespace tepa {

using namespace window;
namespace {


// Moves a fan bar from code. Its range is widened quietly first so the position is not clipped
// by the range of the previous type; the position change itself reaches the bar's handler.
void moveBar(QScrollBar* bar, int position)
{
    if (position > bar->maximum() || position < bar->minimum()) {
        const QSignalBlocker quiet(bar);
        bar->setRange(std::min(bar->minimum(), position), std::max(bar->maximum(), position));
    }
    bar->setValue(position);
}

} // namespace

void TForm2::showTypeList(const calculation::TypeListView& view)
{
    Label4->setText(text(view.captionLine));
    if (view.error) {
        m_services.messages.showError(qs(*view.error));
        return;
    }
    ListBox1->clear();
    ListBox3->clear();
    ListBox4->clear();
    if (view.coolingNoteShown)
        Panel9->setVisible(*view.coolingNoteShown);
    for (const std::string& name : view.types)
        ListBox1->addItem(qs(name));
    for (std::size_t line : view.messages)
        m_services.messages.showMessage(text(line));
}

void TForm2::FreieKonvektion1Click()
{
    connectOperatingPointInputs();
    Panel4->show();
    Panel3->hide();
    Label94->hide();
    Panel9->hide();
    Panel1->hide();
    Konweiter->setEnabled(false);
    showTypeList(calculation::loadTypeList(m_session, false));
}

void TForm2::FreieZwangsKonv1Click()
{
    connectOperatingPointInputs();
    Panel1->hide();
    Panel4->show();
    Panel3->hide();
    Konweiter->setEnabled(false);
    showTypeList(calculation::loadTypeList(m_session, true));
}

void TForm2::showDescription(const std::string& description)
{
    (m_session.HeatingMode ? Label5 : Label3)->setText(qs(description));
    Label76->setText(qs(description));
}

void TForm2::ListBox1Click()
{
    const int row = ListBox1->currentRow();
    if (row < 0)
        return;
    ListBox3->show();
    ListBox3->clear();
    Konweiter->setEnabled(false);
    const calculation::TypeChosenView view =
        calculation::chooseType(m_session, row, ListBox1->item(row)->text().toStdString());
    for (const std::string& length : view.lengths)
        ListBox3->addItem(qs(length));
    for (std::size_t line : view.messages)
        m_services.messages.showMessage(text(line));
    if (view.otherModeRatingHidden)
        GroupBox4->hide();
    if (view.heights) {
        ListBox4->clear();
        for (const std::string& line : *view.heights)
            ListBox4->addItem(qs(line));
        ListBox4->setCurrentRow(view.heightRow);
    }
    if (view.error) {
        m_services.messages.showError(qs(*view.error));
        return;
    }
    if (view.weiterEnabled) {
        Konweiter->setEnabled(true);
        ListBox3->setCurrentRow(0);
        ListBox3->setFocus();
    }
    if (view.description)
        showDescription(*view.description);
}

void TForm2::ListBox3Click()
{
    const QListWidgetItem* item = ListBox3->currentItem();
    if (!item)
        return;
    Konweiter->setEnabled(true);
    showDescription(calculation::chooseLength(m_session, item->text().toStdString()));
    ListBox4Click();
}

void TForm2::ListBox4Click()
{
    const QListWidgetItem* item = ListBox4->currentItem();
    if (!item)
        return;
    if (const auto error = calculation::chooseHeight(m_session, item->text().toStdString()))
        m_services.messages.showError(qs(*error));
}

void TForm2::Panel4Click()
{
    Panel4->hide();
    if (calculation::leaveTypePanel(m_session).heatingPanelShown)
        Panel3->show();
    if (Panel1->isHidden())
        Panel1->show();
}

// Fills the "Konvektor-Information" box with the rating of the mode not being calculated.
void TForm2::showOtherModeRating(
    const std::string& name, double length, const std::string& dataLine, const std::string& fanLine, engine::Mode mode)
{
    engine::OtherModeRatingInput in;
    in.typeName = name;
    in.lengthMm = length;
    in.dataLine = dataLine;
    in.fanLine = fanLine;
    in.currentMode = mode;
    const engine::OtherModeRating rating = engine::otherModeRating(in);
    if (!rating.showBox) {
        GroupBox4->hide();
        return;
    }
    const engine::RatingDisplay display = engine::ratingDisplay(rating);
    const auto caption = [this](QLabel* label, int line) {
        if (line > 0)
            label->setText(text(static_cast<std::size_t>(line)));
    };
    caption(Label94, rating.captions.Label94);
    caption(Label61, rating.captions.Label61);
    caption(Label91, rating.captions.Label91);
    caption(Label105, rating.captions.Label105);
    caption(Label93, rating.captions.Label93);
    const QColor colour = rating.captions.colour == engine::RatingColour::Red ? formcolours::warningRed()
                                                                              : formcolours::coolingBlue();
    setTextColour(Label94, colour);
    setTextColour(Label61, colour);
    Label86->setText(qs(display.Label86));
    Label88->setText(qs(display.Label88));
    Label90->setText(qs(display.Label90));
    Label92->setText(qs(display.Label92));
    GroupBox4->show();
}


namespace {

void callIfSet(const std::function<void()>& action)
{
    if (action)
        action();
}

} // namespace

void TForm2::KonweiterClick()
{
    connectOperatingPointInputs();
    // The main window's print menu and convector-list command become usable with the first entry.
    const auto enableMainMenus = [this] {
        callIfSet(enableMainPrintMenu);
        callIfSet(enableMainConvectorList);
    };
    for (QWidget* w :
         {static_cast<QWidget*>(Panel4), static_cast<QWidget*>(Panel14), static_cast<QWidget*>(GroupBox4),
          static_cast<QWidget*>(Panel15), static_cast<QWidget*>(Label83), static_cast<QWidget*>(Label84)})
        w->hide();
    Label61->clear();
    ListBox2->show();
    RowSelected = false;

    ProjectRecord& project = m_session.Project;

    if (m_session.HeatingMode) {
        const int index = m_session.HeatingEntryIndex;
        HeatingEntry& e = m_session.currentHeatingEntry();
        const std::string name = e.TypeName.text();

        Panel1->hide();
        m_session.CoolingMode = false;
        Panel13->hide();
        Panel3->show();
        Panel3->setEnabled(true);
        Panel2->show();
        setPanelColour(Panel12, formcolours::warningRed());
        GroupBox1->show();
        ListBox2->show();
        Label8->show();
        m_session.HeatingPanelReady = true;
        Edit4->setEnabled(true);
        Edit4->show();
        Label101->hide();

        if (e.FreeConvection) {
            Label17->setText(text(63));
            for (QWidget* w : {static_cast<QWidget*>(Panel14), static_cast<QWidget*>(Panel6),
                               static_cast<QWidget*>(Label23), static_cast<QWidget*>(Label28),
                               static_cast<QWidget*>(Label30)})
                w->hide();
        } else {
            const bool fixedStages = series::isStaged(name);
            if (fixedStages) {
                Panel14->show();
                Panel6->hide();
                RadioButton1->setChecked(true);
                RadioButton1Click();
                if (e.Height == 0 && ListBox4->count() > 0) {
                    auto height =
                        localeFloat(ListBox4->item(0)->text().toStdString(), localeDecimalSeparator());
                    if (height)
                        e.Height = height.value();
                }
                e.HeightFactor = 1;
            } else {
                Panel6->show();
                Panel14->hide();
            }
            if (m_session.HeatingDualUseOn) {
                if (series::isPrimaryAir(name) || series::isWfwFamily(name) || series::isStaged(name))
                    showOtherModeRating(name, e.Length, e.TypeText1.text(), e.TypeText2.text(),
                                        engine::Mode::Heating);
                else
                    GroupBox4->hide();
            }
            Label17->setText(text(64));
            Panel6->show();
            Label23->show();
            Label28->show();
            Label30->show();
            const bool primaryAir = series::isPrimaryAir(name);
            Label19->setText(text(primaryAir ? 179 : 52));
            Label25->setText(text(primaryAir ? 183 : 184));
            Balken_grenzwerte(index);
            const calculation::HeatingFanStart fan = calculation::heatingFanStart(name);
            e.FanSpeed = fan.fanSpeed;
            if (fan.keepsPreviousSpeed)
                Fan.previousSpeed = e.FanSpeed;
            if (fan.fanSpeed == 0)
                Fan.previousSetting = 0;
            moveBar(DrehzahlBar4, static_cast<int>(e.FanSpeed));
            Edit4->setText(qs(fan.settingText));
            if (fan.settingFixed) {
                Edit4->setEnabled(false);
                Label101->setText(qs(fan.settingText));
                Label101->show();
                Edit4->hide();
            }
        }

        e.Count = 1;
        Edit5->setText(QStringLiteral("1"));
        {
            const QSignalBlocker quiet(UpDown1);
            UpDown1->setValue(1);
        }
        update0(index);
        update_grenzen(index);

        const calculation::HeatingEntryStart start = calculation::startHeatingEntry(
            m_session, [this](std::size_t line) { return m_services.messages.askYesNo(text(line)); });
        if (start.speedChangeEnded)
            SpeedChanging = false;
        if (!start.confirmed)
            return;
        if (m_session.EntryBeingAdded && !e.FreeConvection) {
            moveBar(DrehzahlBar4, 0);
            Edit4->setText(QStringLiteral("0"));
        }

        Erweitern->setEnabled(true);
        Bearbeiten->setEnabled(true);
        Loeschen->setEnabled(true);
        Edit5->setText(QStringLiteral("1"));
        e.Count = 1;
        update1(index);
        Listenaufbau();
        project.HeatingInUse = true;
        m_session.EntryBeingAdded = false;
        enableMainMenus();
        Fan.settingTyped = false;
    } else {
        const int index = m_session.CoolingEntryIndex;
        CoolingEntry& e = m_session.currentCoolingEntry();
        const std::string name = e.TypeName.text();

        m_session.HeatingMode = false;
        m_session.CoolingMode = true;
        Panel2->hide();
        Panel1->show();
        Panel13->show();
        m_session.CoolingPanelReady = true;
        GroupBox3->hide();
        setTextColour(Label56, Qt::black);
        Panel1->setEnabled(true);
        Fenstershow();
        setPanelColour(Panel12, formcolours::coolingBlue());
        Label49->clear();
        Label59->clear();

        const calculation::CoolingReturnStart returnStart = calculation::coolingReturnStart(m_session);
        {
            const QSignalBlocker quiet(UpDown3);
            UpDown3->setRange(returnStart.minimum, returnStart.maximum);
            UpDown3->setValue(returnStart.value);
        }
        Edit6->setText(qs(returnStart.text));
        e.ReturnTemp = returnStart.value;
        const bool primaryAir = series::isPrimaryAir(name);
        for (QWidget* w :
             {static_cast<QWidget*>(Label97), static_cast<QWidget*>(Edit6), static_cast<QWidget*>(UpDown3)})
            w->setVisible(returnStart.shown);

        if (series::isStaged(name)) {
            Panel15->show();
            Panel7->hide();
            RadioButton5->setChecked(true);
            RadioButton5Click();
            if (e.Height == 0 && ListBox4->count() > 0)
                e.Height = decimalValue(ListBox4->item(0)->text().toStdString());
            e.HeightFactor = 1;
        } else {
            Panel15->hide();
            Panel7->show();
        }

        const series::Series kind = series::seriesOf(name);
        const series::SpeedRange coolingRange = series::coolingSpeedRange(kind);
        const calculation::CoolingFanStart fan = calculation::coolingFanStart(name);
        if (fan.fanSpeed) {
            e.FanSpeed = *fan.fanSpeed;
            if (fan.keepsPreviousSpeed)
                Fan.previousSpeed = e.FanSpeed;
            moveBar(ScrollBar4, static_cast<int>(e.FanSpeed));
        }
        if (fan.fixedText) {
            Label102->setText(qs(*fan.fixedText));
            Label102->show();
            Edit8->hide();
        }
        if (fan.settingText)
            Edit8->setText(qs(*fan.settingText));

        if (m_session.CoolingDualUseOn)
            showOtherModeRating(name, e.Length, e.TypeText1.text(), e.TypeText2.text(),
                                engine::Mode::Cooling);

        e.InUse = true;
        // A list emptied by deleting its only entry starts again with the entry completed here;
        // uncounted, it would be missing from the list, the totals and the saved project.
        if (project.CoolingEntryCount < index)
            project.CoolingEntryCount = index;

        if (primaryAir) {
            Label66->setText(qs(strFixed(project.CoolingSecondTemp, 0, 1)));
            Label46->setText(text(179));
            Panel8->hide();
            Fan.airFlowLimit = series::coolingAirFlowLimit(name, e.Length);
            Qmin = 0;
            Qmax = Minmax_K(index, Fan.airFlowLimit);
            {
                const QSignalBlocker quiet(ScrollBar4);
                ScrollBar4->setValue(0);
            }
            Edit8->setText(QStringLiteral("0"));
            ScrollBar4Change();
        } else {
            if (const auto warning = calculation::dewPointWarning(project)) {
                GroupBox3->show();
                Label77->setText(text(calculation::CondensationText));
                Label78->setText(text(calculation::DewPointCaptionText));
                Label79->setText(text(calculation::FlowLimitCaptionText));
                Label80->setText(qs(warning->dewPointText));
                Label81->setText(qs(warning->lowestFlowText));
            }
            Label66->setText(qs(strFixed(project.CoolingFlowTemp, 0, 1)));
            Label46->setText(text(178));
            Panel8->show();
            if (series::isSlowFan(name)) {
                {
                    const QSignalBlocker quiet(ScrollBar4);
                    ScrollBar4->setRange(static_cast<int>(coolingRange.minimum),
                                         static_cast<int>(coolingRange.maximum));
                }
                moveBar(ScrollBar4, static_cast<int>(roundHalfEven(e.FanSpeed - 0.1)));
                Label102->setText(qs(strFixed(series::coolingPercentFromSpeed(kind, e.FanSpeed), 4, 0)));
                Label102->show();
                Edit8->hide();
            } else {
                Qmin = Minmax_K(index, coolingRange.minimum);
                Qmax = Minmax_K(index, coolingRange.maximum);
                moveBar(ScrollBar4, static_cast<int>(coolingRange.minimum));
                Edit8->setText(qs(strFixed(coolingRange.minimum, 0, 0)));
            }
            ScrollBar4Change();
        }

        Balken_grenzwerte(index);
        project.HeatingInUse = false;
        m_session.EntryBeingAdded = false;
        Erweitern->setEnabled(true);
        Bearbeiten->setEnabled(true);
        Loeschen->setEnabled(true);
    }

    // Common end.
    const calculation::WeiterEnd end = calculation::weiterEnd(m_session);
    if (end.heatingStagesShown)
        Panel14->show();
    if (end.coolingStagesShown)
        Panel15->show();
    Label41->setText(text(end.thirdValueLine));
    Label33->setVisible(end.thirdValueShown);
    Label38->setVisible(end.thirdValueShown);
    Edit5->setText(QStringLiteral("1"));
    m_session.currentHeatingEntry().Count = 1;
    Listenaufbau();
    enableMainMenus();
}

} // namespace tepa
