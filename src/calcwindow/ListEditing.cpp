// The room's convector list: appending, deleting and loading an entry, and the write-back when
// the window is closed. The list model decides; these handlers show what it returns and run the
// update cycle on the entry it makes current.
#include "core/calculation/ListEditing.h"

#include "calcwindow/FormControls.h"
#include "calcwindow/TForm2.h"
#include "calcwindow/WindowSupport.h"
#include "core/text/Numbers.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>

#include <string>

namespace tepa {

using namespace window;
namespace {

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

void setPosition(UpDown* upDown, int position)
{
    const QSignalBlocker blocker(upDown);
    upDown->setValue(position);
}

std::optional<int> typedCount(const QLineEdit* edit)
{
    return readInteger(edit->text().toStdString());
}

} // namespace

void TForm2::showNotes(const std::vector<calculation::Note>& notes)
{
    for (const calculation::Note& note : notes) {
        if (note.kind == calculation::NoteKind::Information)
            m_services.messages.showInformation(text(note.line));
        else
            m_services.messages.showMessage(text(note.line));
    }
}

void TForm2::ErweiternClick()
{
    RowSelected = false;
    const calculation::AppendView view =
        calculation::appendEntry(m_session, typedCount(m_session.HeatingMode ? Edit5 : Edit9));
    showNotes(view.notes);
    if (!view.appended)
        return;
    if (m_session.HeatingMode) {
        Panel4->hide();
        Panel3->hide();
    }
    if (view.countFieldReset) {
        Edit9->setText(QStringLiteral("1"));
        setPosition(UpDown2, 1);
    }
    for (QPushButton* button : {Bearbeiten, Loeschen, Erweitern})
        button->setEnabled(false);
    Listenaufbau();
}

void TForm2::LoeschenClick()
{
    Session& s = m_session;
    const int row = selectedRow(ListBox2);
    RowSelected = row >= 0;
    const calculation::DeleteCheck check = calculation::checkDelete(s, row);
    if (check.note)
        showNotes({*check.note});
    if (check.ask) {
        if (!m_services.messages.askYesNo(text(calculation::DeleteQuestionText)))
            return;
        const calculation::DeleteView view = calculation::deleteEntry(s, row);
        if (view.listEmptied) {
            for (QWidget* w : {static_cast<QWidget*>(Panel4), static_cast<QWidget*>(Panel3),
                               static_cast<QWidget*>(ListBox2), static_cast<QWidget*>(Label8),
                               static_cast<QWidget*>(GroupBox1)})
                w->hide();
            Erweitern->setEnabled(true);
            (s.HeatingMode ? Edit5 : Edit9)->setText(QStringLiteral("1"));
            setPosition(s.HeatingMode ? UpDown1 : UpDown2, 1);
        } else if (s.HeatingMode) {
            update0(1);
            update_grenzen(1);
            update1(1);
            Panel14->setVisible(view.heatingFan == calculation::FanPanel::Stages);
            Panel6->setVisible(view.heatingFan == calculation::FanPanel::Bar);
            setQuietly(DrehzahlBar4, view.fanBarPosition);
            Edit4->setText(qs(view.settingText));
            if (view.heatingFan != calculation::FanPanel::None)
                Label19->setText(text(calculation::FanSpeedHeadingText));
            Listenaufbau();
            Restwaerme();
        } else {
            update0_K(1);
            update1_K(1);
            Panel15->setVisible(view.coolingStaged);
            Panel7->setVisible(!view.coolingStaged);
            setQuietly(ScrollBar4, view.fanBarPosition);
            Edit8->setText(qs(view.settingText));
            Label46->setText(text(calculation::CoolingSpeedHeadingText));
            Listenaufbau();
        }
    }
    if (ListBox2->count() == 0)
        Schliessen1Click();
}

void TForm2::BearbeitenClick()
{
    const calculation::EditView view = calculation::editEntry(m_session, selectedRow(ListBox2), MaxAirFlow);
    RowSelected = !view.note;
    if (view.note) {
        showNotes({*view.note});
        return;
    }
    const int index = view.index;
    if (m_session.HeatingMode) {
        Edit4->show();
        Label101->hide();
        if (view.heatingFan != calculation::FanPanel::None) {
            Label17->setText(text(calculation::FanHeadingText));
            for (QWidget* w : {static_cast<QWidget*>(Label23), static_cast<QWidget*>(Label28),
                               static_cast<QWidget*>(Label30)})
                w->show();
        }
        Panel14->setVisible(view.heatingFan == calculation::FanPanel::Stages);
        Panel6->setVisible(view.heatingFan == calculation::FanPanel::Bar);
        if (view.heatingStage) {
            QRadioButton* stages[] = {RadioButton1, RadioButton2, RadioButton3, RadioButton4};
            stages[*view.heatingStage]->click();
        }
        if (view.barRangeSet) {
            {
                const QSignalBlocker blocker(DrehzahlBar4);
                DrehzahlBar4->setRange(view.barMinimum, view.barMaximum);
                DrehzahlBar4->setValue(view.barPosition);
            }
            if (view.settingInLabel) {
                Edit4->hide();
                Label101->setText(qs(view.settingText));
                Label101->show();
            }
            if (view.runBarHandler)
                runChangeHandler(DrehzahlBar4);
            Edit4->setText(qs(view.settingText));
        }
        update0(index);
        update_grenzen(index);
        Balken_grenzwerte(index);
        Restwaerme();
        update1(index);
    } else {
        Edit9->setText(qs(view.countText));
        Edit6->setText(qs(view.returnTempText));
        Panel15->setVisible(view.coolingStaged);
        Panel7->setVisible(!view.coolingStaged);
        if (view.coolingStage) {
            QRadioButton* stages[] = {RadioButton5, RadioButton6, RadioButton7};
            stages[*view.coolingStage]->click();
        }
        if (!view.coolingStaged) {
            // The laminar-flow warning follows the recalculation below, never the series alone.
            for (QWidget* w : {static_cast<QWidget*>(Label97), static_cast<QWidget*>(Edit6),
                               static_cast<QWidget*>(UpDown3)})
                w->setVisible(!view.primaryAir);
            if (view.primaryAir) {
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
    Label41->setText(text(view.flowCaption));
}

void TForm2::Schliessen1Click()
{
    // A number still being typed counts as entered: it goes through its change handler first,
    // as leaving the field would.
    if (auto* edit = qobject_cast<QLineEdit*>(focusWidget()); edit && edit->isModified()) {
        edit->setModified(false);
        emit edit->editingFinished();
    }
    const calculation::WriteBackView view = calculation::writeBack(
        m_session, typedCount(m_session.HeatingMode ? Edit5 : Edit9), ListBox2->count() == 0);
    if (view.typeListDisabled && disableMainTypeList)
        disableMainTypeList();
    if (view.convectorListEnabled) {
        if (enableMainPrintMenu)
            enableMainPrintMenu();
        if (enableMainConvectorList)
            enableMainConvectorList();
    }
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
