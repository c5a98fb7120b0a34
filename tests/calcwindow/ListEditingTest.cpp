// The list buttons and closing reach the list model, and what it returns reaches the widgets.
// The rules themselves are tested on the model (core/calculation/ListEditingTest.cpp).
#include "CalcWindowFixture.h"

#include <QApplication>

namespace tepa::test {
namespace {

class ListEditingTest : public CalcWindowFixture
{
protected:
    void SetUp() override
    {
        CalcWindowFixture::SetUp();
        designRoom();
        create();
        form->connectOperatingPointInputs();
    }

    void selectRow(int row)
    {
        auto* rows = control<QListWidget>("ListBox2");
        rows->setCurrentRow(row);
        rows->item(row)->setSelected(true);
    }
    void deleteRow(int row, bool yes = true)
    {
        selectRow(row);
        doubles.messages.expect(MessageKind::YesNo, form->text(94), yes);
        press("Loeschen");
    }
    QString shown(const char* name) { return control<QLineEdit>(name)->text().trimmed(); }
    void closeByMenu() { trigger("Schliessen1"); }

    void linkMainWindow()
    {
        form->enableMainPrintMenu = [this] { ++printMenuEnabled; };
        form->enableMainConvectorList = [this] { ++convectorListEnabled; };
        form->disableMainTypeList = [this] { ++typeListDisabled; };
    }
    int printMenuEnabled = 0, convectorListEnabled = 0, typeListDisabled = 0;
};

TEST_F(ListEditingTest, AppendingLocksTheButtonsAndATirteenthIsRefused)
{
    list(true, "W1", 2);
    control<QLineEdit>("Edit5")->setText(QStringLiteral("4"));
    press("Erweitern");
    EXPECT_EQ(heating(1).Count, 4);
    EXPECT_EQ(session.Project.HeatingEntryCount, 3);
    for (const char* button : {"Erweitern", "Loeschen", "Bearbeiten"})
        EXPECT_FALSE(control<QPushButton>(button)->isEnabled()) << button;
    EXPECT_TRUE(hidden("Panel3"));
    EXPECT_TRUE(hidden("Panel4"));

    create(); // a window not adding an entry
    session.EntryBeingAdded = false;
    list(false, "WFW-2L", 12, 1000);
    doubles.messages.expect(MessageKind::Message, form->text(265));
    press("Erweitern");
    EXPECT_EQ(session.Project.CoolingEntryCount, 12);
    EXPECT_TRUE(control<QPushButton>("Erweitern")->isEnabled());
}

TEST_F(ListEditingTest, LoadingShowsTheEntrysFanControlsCountAndReturnTemperature)
{
    list(true, "W1", 2);
    doubles.messages.expect(MessageKind::Information, form->text(131));
    press("Bearbeiten");
    EXPECT_FALSE(form->RowSelected);

    // A stored 999.95 is the 1000 stage, chosen as by a click.
    fill(heating(2), fixtureType("DWF", true), "DWF", 2, 999.95);
    QSignalSpy stageClicks(control<QRadioButton>("RadioButton3"), &QRadioButton::clicked);
    selectRow(1);
    press("Bearbeiten");
    EXPECT_EQ(session.HeatingEntryIndex, 2);
    EXPECT_EQ(stageClicks.count(), 1);
    EXPECT_FALSE(hidden("Panel14"));

    // A slow fan shows its setting in the label instead of the field.
    fill(heating(2), fixtureType("WFWL-2L", true), "WFWL-2L", 2, 862.5);
    selectRow(1);
    press("Bearbeiten");
    EXPECT_TRUE(hidden("Panel14"));
    EXPECT_FALSE(hidden("Panel6"));
    EXPECT_TRUE(hidden("Edit4"));
    EXPECT_FALSE(hidden("Label101"));
    EXPECT_EQ(control<QScrollBar>("DrehzahlBar4")->maximum(), 1150);

    // A cooling entry shows its count and return temperature.
    list(false, "WFW-2L", 2, 1100);
    cooling(2).ReturnTemp = 19;
    selectRow(1);
    press("Bearbeiten");
    EXPECT_EQ(shown("Edit9"), QStringLiteral("2"));
    EXPECT_EQ(shown("Edit6"), QStringLiteral("19"));
    EXPECT_EQ(label("Label41"), form->text(190));
    EXPECT_FALSE(hidden("Panel7"));
}

TEST_F(ListEditingTest, EditingSlowFanEntriesKeepsTheirSpeedSteps)
{
    list(false, "WFWL-2L", 2, 517.5);
    cooling(2).FanSpeed = 862.5;
    form->update1_K(2);
    // Whichever step the fan was shown at before, each entry opens at its own.
    for (int row : {1, 0, 1}) {
        SCOPED_TRACE(row);
        selectRow(row);
        press("Bearbeiten");
        EXPECT_DOUBLE_EQ(cooling(row + 1).FanSpeed, row == 0 ? 517.5 : 862.5);
    }
    EXPECT_DOUBLE_EQ(cooling(1).FanSpeed, 517.5);
}

// After a delete the controls are those of the entry now current: the stage panel of a deleted
// staged unit no longer shows, and a stage can never set a convector of another series.
TEST_F(ListEditingTest, DeletingShowsTheControlsOfTheFirstEntry)
{
    list(true, "W1", 3);
    fill(heating(1), fixtureType("DWF", true), "DWF", 1, 1000);
    selectRow(0);
    press("Bearbeiten");
    ASSERT_FALSE(hidden("Panel14"));
    const auto before = session.Project.HeatingEntries;
    deleteRow(0, false);
    EXPECT_EQ(session.Project.HeatingEntries, before);

    deleteRow(0);
    EXPECT_EQ(control<QListWidget>("ListBox2")->count(), 2);
    EXPECT_TRUE(hidden("Panel14"));
    EXPECT_TRUE(hidden("Panel6"));
    EXPECT_EQ(shown("Edit4"), QStringLiteral("0"));
    const HeatingEntry kept = heating(1);
    form->RadioButton2Click();
    EXPECT_EQ(heating(1), kept);

    list(false, "WFW-2L", 2, 1100);
    deleteRow(0);
    EXPECT_EQ(shown("Edit8"), QStringLiteral("68"));
}

// Deleting the only entry hides the list; a type chosen then is the new first entry, counted
// and listed, and starts in the middle of its window.
TEST_F(ListEditingTest, AFirstEntryChosenAfterDeletingTheOnlyOneIsCounted)
{
    form->show();
    for (bool heatingMode : {true, false}) {
        SCOPED_TRACE(heatingMode);
        list(heatingMode, heatingMode ? "W1" : "WFW-2L", 1, heatingMode ? 0 : 1000);
        session.Project.CalculationDone = true;
        deleteRow(0);
        EXPECT_EQ(heatingMode ? session.Project.HeatingEntryCount : session.Project.CoolingEntryCount, 0);
        for (const char* name : {"ListBox2", "Panel3", "GroupBox1"})
            EXPECT_TRUE(hidden(name)) << name;
        EXPECT_TRUE(control<QPushButton>("Erweitern")->isEnabled());
        EXPECT_EQ(shown(heatingMode ? "Edit5" : "Edit9"), QStringLiteral("1"));

        chooseType(heatingMode ? "FreieKonvektion1" : "FreieZwangsKonv1",
                   QString::fromLatin1(heatingMode ? "W1" : "WFW-2L"));
        EXPECT_EQ(heatingMode ? session.Project.HeatingEntryCount : session.Project.CoolingEntryCount, 1);
        EXPECT_EQ(control<QListWidget>("ListBox2")->count(), 1);
    }
}

TEST_F(ListEditingTest, DeletingOnAnEmptyListAndClosingWriteBack)
{
    linkMainWindow();
    session.Project.HeatingInUse = true;
    session.RoomTempChanged = true;
    doubles.messages.expect(MessageKind::Information, form->text(131));
    press("Loeschen");
    EXPECT_FALSE(session.Project.HeatingInUse);
    EXPECT_FALSE(session.RoomTempChanged);
    EXPECT_EQ(printMenuEnabled, 1);

    list(true, "W1", 2);
    session.HeatingEntryIndex = 2;
    const double output = heating(2).Output;
    control<QLineEdit>("Edit5")->setText(QStringLiteral("7"));
    closeByMenu();
    EXPECT_EQ(heating(2).Count, 7);
    EXPECT_DOUBLE_EQ(heating(2).Output, output);
    EXPECT_EQ(convectorListEnabled, 1);
    EXPECT_EQ(printMenuEnabled, 3);

    press("Erweitern");
    closeByMenu();
    EXPECT_EQ(session.Project.HeatingEntryCount, 2);
    EXPECT_EQ(typeListDisabled, 1);

    // Closing by the frame writes back as well, and hides the window.
    list(false, "WFW-2L", 1, 1000);
    form->show();
    control<QLineEdit>("Edit9")->setText(QStringLiteral("5"));
    form->close();
    EXPECT_EQ(cooling(1).Count, 5);
    EXPECT_FALSE(session.Project.HeatingInUse);
    EXPECT_TRUE(form->isHidden());
}

TEST_F(ListEditingTest, ClosingCommitsTheFieldStillBeingTypedIn)
{
    list(true, "W1", 1);
    auto* returnTemp = control<QLineEdit>("Edit1");
    QSignalSpy committed(returnTemp, &QLineEdit::editingFinished);
    form->show();
    QApplication::setActiveWindow(form.get());
    returnTemp->setFocus();
    returnTemp->selectAll();
    QTest::keyClicks(returnTemp, "55");
    ASSERT_EQ(committed.count(), 0);
    closeByMenu();
    EXPECT_EQ(committed.count(), 1);
}

} // namespace
} // namespace tepa::test
