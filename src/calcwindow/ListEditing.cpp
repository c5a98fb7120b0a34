// The room's convector list: appending, deleting and loading an entry, and the write-back when
// the window is closed.
#include "calcwindow/FormControls.h"
#include "calcwindow/TForm2.h"
#include "calcwindow/WindowSupport.h"
#include "core/engine/EngineCommon.h"
#include "core/series/Series.h"
#include "core/text/Numbers.h"

#include <QApplication>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>

#include <cmath>
#include <string>

namespace tepa {

using namespace window;
namespace {

// The list holds at most this many entries per mode: the project record has no room for more.
constexpr std::int32_t ListCapacity = static_cast<std::int32_t>(MaxEntries);

constexpr std::size_t ListFullText = 265;
constexpr std::size_t NoEntriesText = 95;
constexpr std::size_t DeleteQuestionText = 94;
constexpr std::size_t NoRowSelectedText = 131;
constexpr std::size_t FanSpeedHeadingText = 52;
constexpr std::size_t FanHeadingText = 64;
constexpr std::size_t CoolingSpeedHeadingText = 178;
constexpr std::size_t PrimaryAirCaptionText = 208;
constexpr std::size_t FlowTempCaptionText = 190;

int whole(double x)
{
    return static_cast<int>(roundHalfEven(x));
}

// The 0-based selected line of the list, or -1.
int selectedRow(const QListWidget* list)
{
    const QList<QListWidgetItem*> items = list->selectedItems();
    return items.isEmpty() ? -1 : list->row(items.first());
}

// Runs the change handler of a scroll bar as a move by the user would (the update cycle sets
// its bars with the signals blocked, so the handler has to be asked for explicitly).
void runChangeHandler(QScrollBar* bar)
{
    emit bar->valueChanged(bar->value());
}

void setPosition(QScrollBar* bar, int position)
{
    const QSignalBlocker blocker(bar);
    bar->setValue(position);
}

void setPosition(UpDown* upDown, int position)
{
    const QSignalBlocker blocker(upDown);
    upDown->setValue(position);
}

} // namespace

void TForm2::ErweiternClick()
{
    Session& s = m_session;
    ProjectRecord& p = s.Project;
    RowSelected = false;
    const std::int32_t count = s.HeatingMode ? p.HeatingEntryCount : p.CoolingEntryCount;
    if (count >= ListCapacity) {
        m_services.messages.showMessage(text(ListFullText));
        return;
    }
    s.ProjectLoaded = false;

    if (s.HeatingMode) {
        HeatingEntry& current = s.currentHeatingEntry();
        current.Count = readInteger(Edit5->text().toStdString()).value_or(current.Count);
        p.HeatingEntryCount += 1;
        s.HeatingEntryIndex = p.HeatingEntryCount;
        Panel4->hide();
        Panel3->hide();
    } else {
        CoolingEntry& current = s.currentCoolingEntry();
        current.Count = readInteger(Edit9->text().toStdString()).value_or(current.Count);
        p.CoolingEntryCount += 1;
        s.CoolingEntryIndex = p.CoolingEntryCount;
        Edit9->setText(QStringLiteral("1"));
        setPosition(UpDown2, 1);
        // Cleared first so that the count of one survives the reset.
        Nullen_K(s.CoolingEntryIndex);
        s.currentCoolingEntry().Count = 1;
    }
    s.EntryBeingAdded = true;
    Bearbeiten->setEnabled(false);
    Loeschen->setEnabled(false);
    Erweitern->setEnabled(false);
    Listenaufbau();
}

void TForm2::LoeschenClick()
{
    Session& s = m_session;
    ProjectRecord& p = s.Project;
    const int row = selectedRow(ListBox2);
    RowSelected = row >= 0;
    const std::int32_t count = s.HeatingMode ? p.HeatingEntryCount : p.CoolingEntryCount;

    if (!RowSelected) {
        m_services.messages.showInformation(text(NoRowSelectedText));
    } else if (count < 1) {
        m_services.messages.showInformation(text(NoEntriesText));
    } else {
        const int k = row + 1;
        if (!m_services.messages.askYesNo(text(DeleteQuestionText)))
            return;
        s.EntryDeleted = true;
        if (s.HeatingMode) {
            Nullen(k);
            for (int i = k; i < count; ++i)
                p.HeatingEntries[static_cast<std::size_t>(i - 1)] =
                    p.HeatingEntries[static_cast<std::size_t>(i)];
            p.HeatingEntryCount = count - 1;
        } else {
            Nullen_K(k);
            for (int i = k; i < count; ++i)
                p.CoolingEntries[static_cast<std::size_t>(i - 1)] =
                    p.CoolingEntries[static_cast<std::size_t>(i)];
            p.CoolingEntryCount = count - 1;
        }
        // The freed last place keeps a copy of the entry moved out of it; it is no longer
        // counted, and a new entry there is filled by the type choice.

        if (count - 1 == 0) {
            Panel4->hide();
            Panel3->hide();
            ListBox2->hide();
            Label8->hide();
            GroupBox1->hide();
            Erweitern->setEnabled(true);
            p.CalculationDone = false;
            if (s.HeatingMode) {
                s.HeatingEntryIndex = 1;
                p.HeatingEntries[0].InUse = false;
                p.HeatingEntries[0].Count = 1;
                Edit5->setText(QStringLiteral("1"));
                setPosition(UpDown1, 1);
            } else {
                s.CoolingEntryIndex = 1;
                p.CoolingEntries[0].InUse = false;
                p.CoolingEntries[0].Count = 1;
                Edit9->setText(QStringLiteral("1"));
                setPosition(UpDown2, 1);
            }
        } else if (s.HeatingMode) {
            s.HeatingEntryIndex = 1;
            update0(1);
            update_grenzen(1);
            update1(1);
            const HeatingEntry& first = p.HeatingEntries[0];
            // The controls are those of the entry now shown, not of the one deleted.
            const bool staged = !first.FreeConvection && series::isStaged(first.TypeName.text());
            Panel14->setVisible(staged);
            Panel6->setVisible(!first.FreeConvection && !staged);
            if (first.FreeConvection) {
                setPosition(DrehzahlBar4, 0);
                Edit4->setText(QStringLiteral("0"));
            } else {
                setPosition(DrehzahlBar4, static_cast<int>(std::trunc(first.FanSpeed)));
                // The field holds a setting, not a speed: a speed in it would be read back as
                // a percentage the moment the field is entered or left.
                Edit4->setText(heatingFanSettingText(first));
                Label19->setText(text(FanSpeedHeadingText));
            }
            Listenaufbau();
            Restwaerme();
        } else {
            s.CoolingEntryIndex = 1;
            update0_K(1);
            update1_K(1);
            const CoolingEntry& first = p.CoolingEntries[0];
            const bool staged = series::isStaged(first.TypeName.text());
            Panel15->setVisible(staged);
            Panel7->setVisible(!staged);
            setPosition(ScrollBar4, static_cast<int>(std::trunc(first.FanSpeed)));
            const double percent =
                series::coolingPercentFromSpeed(series::seriesOf(first.TypeName.text()), first.FanSpeed);
            Edit8->setText(QString::number(static_cast<int>(std::trunc(percent))));
            Label46->setText(text(CoolingSpeedHeadingText));
            Listenaufbau();
        }
    }

    if (ListBox2->count() == 0)
        Schliessen1Click();
}

void TForm2::BearbeitenClick()
{
    Session& s = m_session;
    const int row = selectedRow(ListBox2);
    RowSelected = row >= 0;
    if (!RowSelected) {
        m_services.messages.showInformation(text(NoRowSelectedText));
        return;
    }
    const int index = row + 1;

    if (s.HeatingMode) {
        s.HeatingEntryIndex = index;
        HeatingEntry& e = s.currentHeatingEntry();
        const std::string name = e.TypeName.text();
        Edit4->show();
        Label101->hide();
        if (!e.FreeConvection) {
            Label17->setText(text(FanHeadingText));
            for (QWidget* w : {static_cast<QWidget*>(Panel6), static_cast<QWidget*>(Label23),
                               static_cast<QWidget*>(Label28), static_cast<QWidget*>(Label30)})
                w->show();
            if (series::isStaged(name)) {
                Panel14->show();
                Panel6->hide();
                // A stored 999.95 is the 1000 stage: the speed is nudged before rounding.
                const int stage = whole(e.FanSpeed + 0.1);
                QRadioButton* button = stage == 0      ? RadioButton1
                                       : stage == 700  ? RadioButton2
                                       : stage == 1000 ? RadioButton3
                                       : stage == 1400 ? RadioButton4
                                                       : nullptr;
                if (button)
                    button->click();
            } else {
                Panel6->show();
                Panel14->hide();
                const QString setting = heatingFanSettingText(e);
                if (series::isPrimaryAir(name)) {
                    const double limit = primaryAirLimit(name, e.Length, MaxAirFlow);
                    {
                        const QSignalBlocker blocker(DrehzahlBar4);
                        DrehzahlBar4->setRange(0, whole(limit));
                        DrehzahlBar4->setValue(whole(e.FanSetting));
                    }
                } else if (series::isSlowFan(name)) {
                    {
                        const series::Series kind = series::seriesOf(name);
                        const QSignalBlocker blocker(DrehzahlBar4);
                        DrehzahlBar4->setRange(static_cast<int>(series::minimumSpeed(kind)),
                                               static_cast<int>(series::fullSpeed(kind)));
                        DrehzahlBar4->setValue(whole(e.FanSpeed - 0.1));
                    }
                    Edit4->hide();
                    Label101->setText(setting);
                    Label101->show();
                } else {
                    const series::Series kind = series::seriesOf(name);
                    {
                        const QSignalBlocker blocker(DrehzahlBar4);
                        DrehzahlBar4->setRange(static_cast<int>(series::minimumSpeed(series::Series::Wf)),
                                               static_cast<int>(series::heatingSpeedRange(kind).maximum));
                        DrehzahlBar4->setValue(whole(e.FanSpeed));
                    }
                }
                if (!series::isPrimaryAir(name))
                    runChangeHandler(DrehzahlBar4);
                Edit4->setText(setting);
            }
        } else {
            Panel14->hide();
            Panel6->hide();
        }
        update0(index);
        update_grenzen(index);
        Balken_grenzwerte(index);
        Restwaerme();
        update1(index);
    } else {
        s.CoolingEntryIndex = index;
        CoolingEntry& e = s.currentCoolingEntry();
        const std::string name = e.TypeName.text();
        Edit9->setText(QString::number(e.Count));
        Edit6->setText(qs(strFixed(e.ReturnTemp, 2, 0)));
        if (series::isStaged(name)) {
            Panel15->show();
            Panel7->hide();
            const int stage = whole(e.FanSpeed + 0.1);
            QRadioButton* button = stage == 700    ? RadioButton5
                                   : stage == 1000 ? RadioButton6
                                   : stage == 1400 ? RadioButton7
                                                   : nullptr;
            if (button)
                button->click();
        } else {
            Panel15->hide();
            Panel7->show();
            const bool primaryAir = series::isPrimaryAir(name);
            // The laminar-flow warning follows the recalculation below, never the series alone.
            for (QWidget* w : {static_cast<QWidget*>(Label97), static_cast<QWidget*>(Edit6),
                               static_cast<QWidget*>(UpDown3)})
                w->setVisible(!primaryAir);
            if (primaryAir) {
                const QSignalBlocker blocker(ScrollBar4);
                ScrollBar4->setMinimum(0);
                ScrollBar4->setValue(0);
                Edit8->setText(QStringLiteral("0"));
            } else {
                reset4(index);
            }
        }
        update0_K(index);
        Balken_grenzwerte(index);
        update1_K(index);
        runChangeHandler(ScrollBar4);
    }
    Label41->setText(text(series::isPrimaryAir(s.currentCoolingEntry().TypeName.text())
                              ? PrimaryAirCaptionText
                              : FlowTempCaptionText));
}

void TForm2::Schliessen1Click()
{
    Session& s = m_session;
    ProjectRecord& p = s.Project;

    // A number still being typed counts as entered: it goes through its change handler first,
    // as leaving the field would.
    if (auto* edit = qobject_cast<QLineEdit*>(focusWidget()); edit && edit->isModified()) {
        edit->setModified(false);
        emit edit->editingFinished();
    }

    // The entry keeps the values the calculation left in it: the display texts are rounded,
    // and reading them back would shift the operating point on every close. Only the count is
    // taken from its field, where it is typed.
    // A given-up new entry leaves the list as it was: the count field then belongs to the
    // dropped entry, not to the one that becomes current.
    const bool droppedNewEntry = s.EntryBeingAdded;
    if (s.HeatingMode) {
        if (s.EntryBeingAdded) {
            p.HeatingEntryCount -= 1;
            if (disableMainTypeList)
                disableMainTypeList();
            s.HeatingEntryIndex = p.HeatingEntryCount;
            s.EntryBeingAdded = false;
        }
        HeatingEntry& e = s.currentHeatingEntry();
        if (!droppedNewEntry)
            e.Count = readInteger(Edit5->text().toStdString()).value_or(e.Count);
        if (e.HeightFactor == 0)
            e.HeightFactor = 1;
        if (p.HeatingEntries[0].InUse) {
            p.HeatingInUse = true;
            if (enableMainPrintMenu)
                enableMainPrintMenu();
            if (enableMainConvectorList)
                enableMainConvectorList();
        }
        s.ResetChangeFlags();
        s.HeatingEntryIndex = 1;
    } else {
        if (s.EntryBeingAdded) {
            p.CoolingEntryCount -= 1;
            s.CoolingEntryIndex = p.CoolingEntryCount;
            s.EntryBeingAdded = false;
        }
        CoolingEntry& e = s.currentCoolingEntry();
        if (!droppedNewEntry)
            e.Count = readInteger(Edit9->text().toStdString()).value_or(e.Count);
        if (e.HeightFactor == 0)
            e.HeightFactor = 1;
        if (p.CoolingEntries[0].InUse) {
            p.HeatingInUse = false;
            if (enableMainPrintMenu)
                enableMainPrintMenu();
            if (enableMainConvectorList)
                enableMainConvectorList();
        }
        s.ResetChangeFlags();
        s.CoolingEntryIndex = 1;
    }

    if (ListBox2->count() == 0)
        p.HeatingInUse = !s.HeatingMode;
    if (m_mainWindow) {
        m_mainWindow->show();
        m_mainWindow->raise();
        m_mainWindow->activateWindow();
    }
    setPanelColour(Panel12, formcolours::systemFace());
    if (enableMainPrintMenu)
        enableMainPrintMenu();
}

} // namespace tepa
