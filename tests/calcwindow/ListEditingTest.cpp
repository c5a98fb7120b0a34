#include "CalcWindowFixture.h"

#include "core/productdata/ProductData.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>

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
    }

    // Free W1 convectors of different lengths, each calculated as the window would.
    void heatingList(int count)
    {
        session.HeatingMode = true;
        session.CoolingMode = false;
        const TypeRecord type = fixtureType("W1", false);
        for (int i = 1; i <= count; ++i) {
            HeatingEntry& e = heating(i);
            e.TypeName.setText("W1");
            e.TypeText1.setText(type.dataLine);
            e.Length = 800 + 200 * i;
            e.Height = 200;
            e.HeightFactor = 1;
            e.FanSpeed = 0;
            e.Count = i;
            e.FreeConvection = true;
            e.ReturnTemp = 60;
            e.InUse = true;
        }
        session.Project.HeatingEntryCount = count;
        control<QRadioButton>("TR_Schalter")->setChecked(true);
        for (int i = 1; i <= count; ++i) {
            form->update_grenzen(i);
            form->update1(i);
        }
        session.HeatingEntryIndex = 1;
        form->update0(1);
        form->update_grenzen(1);
        form->update1(1);
        form->Listenaufbau();
    }

    void coolingList(int count)
    {
        session.HeatingMode = false;
        session.CoolingMode = true;
        const TypeRecord type = fixtureType("WFW-2L", true);
        for (int i = 1; i <= count; ++i) {
            CoolingEntry& e = cooling(i);
            e.TypeName.setText("WFW-2L");
            e.TypeText1.setText(type.dataLine);
            e.TypeText2.setText(type.fanLine);
            e.Length = 1250;
            e.Height = 140;
            e.HeightFactor = 1;
            e.FanSpeed = 1000 + 100 * i;
            e.Count = i;
            e.ReturnTemp = 18;
            e.InUse = true;
        }
        session.Project.CoolingEntryCount = count;
        for (int i = 1; i <= count; ++i) {
            form->update0_K(i);
            form->update1_K(i);
        }
        session.CoolingEntryIndex = 1;
        form->update0_K(1);
        form->update1_K(1);
        form->Listenaufbau();
    }

    void selectRow(int row)
    {
        auto* list = control<QListWidget>("ListBox2");
        list->setCurrentRow(row);
        list->item(row)->setSelected(true);
    }

    // Deletes the entry of `row`, answering the question with `yes`.
    void deleteRow(int row, bool yes = true)
    {
        selectRow(row);
        doubles.messages.expect(MessageKind::YesNo, form->text(94), yes);
        press("Loeschen");
    }

    int listLines() { return control<QListWidget>("ListBox2")->count(); }
    void press(const char* button) { control<QPushButton>(button)->click(); }
    void closeByMenu() { form->Schliessen1->trigger(); }

    // Counts what closing asks of the main window.
    void linkMainWindow()
    {
        form->enableMainPrintMenu = [this] { ++printMenuEnabled; };
        form->enableMainConvectorList = [this] { ++convectorListEnabled; };
        form->disableMainTypeList = [this] { ++typeListDisabled; };
    }
    int printMenuEnabled = 0;
    int convectorListEnabled = 0;
    int typeListDisabled = 0;
};

// --- Appending ---------------------------------------------------------------------------------

TEST_F(ListEditingTest, AppendingOpensANewLastHeatingEntryWithTheButtonsLocked)
{
    heatingList(2);
    control<QLineEdit>("Edit5")->setText(QStringLiteral("4"));
    press("Erweitern");

    EXPECT_EQ(heating(1).Count, 4); // the count typed for the current entry is kept
    EXPECT_EQ(session.Project.HeatingEntryCount, 3);
    EXPECT_EQ(session.HeatingEntryIndex, 3);
    EXPECT_TRUE(session.EntryBeingAdded);
    EXPECT_FALSE(control<QPushButton>("Erweitern")->isEnabled());
    EXPECT_FALSE(control<QPushButton>("Loeschen")->isEnabled());
    EXPECT_FALSE(control<QPushButton>("Bearbeiten")->isEnabled());
    EXPECT_TRUE(control<QFrame>("Panel3")->isHidden());
}

TEST_F(ListEditingTest, AppendingAndClosingBeforeTheTypeIsChosenLeavesTheListAsItWas)
{
    linkMainWindow();
    heatingList(3);
    session.HeatingEntryIndex = 2;
    form->update0(2);
    const auto before = session.Project.HeatingEntries;
    press("Erweitern");
    closeByMenu();

    EXPECT_EQ(session.Project.HeatingEntryCount, 3);
    EXPECT_FALSE(session.EntryBeingAdded);
    EXPECT_EQ(session.HeatingEntryIndex, 1);
    EXPECT_EQ(typeListDisabled, 1);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(session.Project.HeatingEntries[static_cast<std::size_t>(i)],
                  before[static_cast<std::size_t>(i)])
            << "entry " << i + 1;

    create();
    coolingList(2);
    const auto cooled = session.Project.CoolingEntries;
    press("Erweitern");
    EXPECT_EQ(session.Project.CoolingEntryCount, 3);
    EXPECT_EQ(control<QLineEdit>("Edit9")->text(), QStringLiteral("1"));
    EXPECT_EQ(cooling(3).Count, 1);
    closeByMenu();

    EXPECT_EQ(session.Project.CoolingEntryCount, 2);
    EXPECT_FALSE(session.EntryBeingAdded);
    EXPECT_EQ(cooling(1), cooled[0]);
    EXPECT_EQ(cooling(2), cooled[1]);
}

TEST_F(ListEditingTest, AThirteenthEntryIsRefused)
{
    heatingList(12);
    doubles.messages.expect(MessageKind::Message, form->text(265));
    press("Erweitern");

    EXPECT_EQ(session.Project.HeatingEntryCount, 12);
    EXPECT_FALSE(session.EntryBeingAdded);
    EXPECT_TRUE(control<QPushButton>("Erweitern")->isEnabled());
}

// --- Loading an entry --------------------------------------------------------------------------

TEST_F(ListEditingTest, EditingLoadsTheSelectedHeatingEntryIntoTheOperatingPointAndWithoutOneShowsTheNote)
{
    heatingList(3);
    doubles.messages.expect(MessageKind::Information, form->text(131));
    press("Bearbeiten");
    EXPECT_FALSE(form->RowSelected);
    EXPECT_EQ(session.HeatingEntryIndex, 1);

    selectRow(2);
    press("Bearbeiten");

    EXPECT_TRUE(form->RowSelected);
    EXPECT_EQ(session.HeatingEntryIndex, 3);
    EXPECT_EQ(control<QLabel>("Label5")->text(), form->entryDescription("W1", 200, 1400));
    EXPECT_EQ(control<QLineEdit>("Edit5")->text().trimmed(), QStringLiteral("3"));
    EXPECT_EQ(control<QLineEdit>("Edit1")->text(), QStringLiteral("60"));
    EXPECT_TRUE(control<QFrame>("Panel6")->isHidden()); // free convection has no fan
}

TEST_F(ListEditingTest, EditingAFixedStageFanChoosesTheStageOfItsNudgedSpeed)
{
    heatingList(2);
    HeatingEntry& e = heating(2);
    const TypeRecord type = fixtureType("DWF", true);
    e.TypeName.setText("DWF");
    e.TypeText1.setText(type.dataLine);
    e.TypeText2.setText(type.fanLine);
    e.FreeConvection = false;
    e.FanSpeed = 999.95;
    QSignalSpy stageClicks(control<QRadioButton>("RadioButton3"), &QRadioButton::clicked);
    selectRow(1);
    press("Bearbeiten");

    EXPECT_EQ(stageClicks.count(), 1);
    EXPECT_TRUE(control<QRadioButton>("RadioButton3")->isChecked());
    EXPECT_FALSE(control<QFrame>("Panel14")->isHidden());
}

// The stage panel belongs to a staged unit: after deleting one the next entry shows its own
// controls, and a stage can never set a convector of another series.
TEST_F(ListEditingTest, TheStagePanelOfADeletedCeilingUnitNoLongerActs)
{
    form->connectOperatingPointInputs();
    heatingList(2);
    HeatingEntry& staged = heating(1);
    const TypeRecord type = fixtureType("DWF", true);
    staged.TypeName.setText("DWF");
    staged.TypeText1.setText(type.dataLine);
    staged.TypeText2.setText(type.fanLine);
    staged.FreeConvection = false;
    staged.FanSpeed = 1000;
    selectRow(0);
    press("Bearbeiten");
    ASSERT_FALSE(control<QFrame>("Panel14")->isHidden());

    deleteRow(0);
    const HeatingEntry kept = heating(1);
    EXPECT_TRUE(control<QFrame>("Panel14")->isHidden());
    EXPECT_TRUE(control<QFrame>("Panel6")->isHidden()); // the free convector shown has no fan
    form->RadioButton2Click();
    EXPECT_EQ(heating(1), kept);
}

TEST_F(ListEditingTest, EditingACoolingEntryShowsItsCountAndReturnTemperature)
{
    coolingList(2);
    cooling(2).ReturnTemp = 19;
    selectRow(1);
    press("Bearbeiten");

    EXPECT_EQ(session.CoolingEntryIndex, 2);
    EXPECT_EQ(control<QLineEdit>("Edit9")->text().trimmed(), QStringLiteral("2"));
    EXPECT_EQ(control<QLineEdit>("Edit6")->text(), QStringLiteral("19"));
    EXPECT_EQ(control<QLabel>("Label41")->text(), form->text(190));
    EXPECT_FALSE(control<QFrame>("Panel7")->isHidden());
    // A turbulent flow raises no warning: the laminar-flow panel stays hidden, never an empty box.
    ASSERT_GT(cooling(2).MassFlow, 50);
    EXPECT_TRUE(control<QFrame>("Panel16")->isHidden());
}

TEST_F(ListEditingTest, EditingSlowFanEntriesKeepsTheirSpeedSteps)
{
    form->connectOperatingPointInputs();
    coolingList(2);
    const TypeRecord wfwl = fixtureType("WFWL-2L", true);
    const double stored[] = {517.5, 862.5};
    for (int i = 1; i <= 2; ++i) {
        cooling(i).TypeName.setText("WFWL-2L");
        cooling(i).TypeText1.setText(wfwl.dataLine);
        cooling(i).TypeText2.setText(wfwl.fanLine);
        cooling(i).FanSpeed = stored[i - 1];
        form->update0_K(i);
        form->update1_K(i);
    }
    form->Listenaufbau();

    // Whichever step the fan was shown at before, each entry opens at its own.
    for (int row : {1, 0, 1}) {
        SCOPED_TRACE(row);
        selectRow(row);
        press("Bearbeiten");
        EXPECT_DOUBLE_EQ(cooling(row + 1).FanSpeed, stored[row]);
    }
    EXPECT_DOUBLE_EQ(cooling(1).FanSpeed, 517.5);
}

// --- Deleting ----------------------------------------------------------------------------------

TEST_F(ListEditingTest, DeletingTheMiddleOfThreeMovesTheLastDownAndAnsweringNoKeepsTheList)
{
    heatingList(3);
    const auto before = session.Project.HeatingEntries;
    deleteRow(0, false);
    EXPECT_EQ(session.Project.HeatingEntryCount, 3);
    EXPECT_EQ(session.Project.HeatingEntries, before);
    EXPECT_FALSE(session.EntryDeleted);

    const HeatingEntry third = heating(3);
    deleteRow(1);

    EXPECT_EQ(session.Project.HeatingEntryCount, 2);
    EXPECT_EQ(heating(2), third);
    EXPECT_EQ(session.HeatingEntryIndex, 1);
    EXPECT_TRUE(session.EntryDeleted);
    EXPECT_EQ(listLines(), 2);
    EXPECT_EQ(control<QLabel>("Label5")->text(), form->entryDescription("W1", 200, 1000));
}

TEST_F(ListEditingTest, DeletingTheOnlyEntryHidesTheListAndClosesTheListWork)
{
    linkMainWindow();
    heatingList(1);
    session.Project.CalculationDone = true;
    session.Project.HeatingInUse = true;
    deleteRow(0);

    EXPECT_EQ(session.Project.HeatingEntryCount, 0);
    EXPECT_TRUE(control<QListWidget>("ListBox2")->isHidden());
    EXPECT_TRUE(control<QFrame>("Panel3")->isHidden());
    EXPECT_TRUE(control<QGroupBox>("GroupBox1")->isHidden());
    EXPECT_TRUE(control<QPushButton>("Erweitern")->isEnabled());
    EXPECT_FALSE(heating(1).InUse);
    EXPECT_EQ(heating(1).Count, 1);
    EXPECT_EQ(control<QLineEdit>("Edit5")->text(), QStringLiteral("1"));
    EXPECT_FALSE(session.Project.CalculationDone);
    // The line was not removed from the list, so the write-back does not run here.
    EXPECT_EQ(printMenuEnabled, 0);
}

TEST_F(ListEditingTest, AFirstEntryChosenAfterDeletingTheOnlyOneStartsInTheMiddleOfItsWindow)
{
    form->show();
    heatingList(1);
    deleteRow(0);
    chooseType("FreieKonvektion1", QStringLiteral("W1"));

    const HeatingEntry& e = heating(1);
    EXPECT_TRUE(e.InUse);
    EXPECT_EQ(session.Project.HeatingEntryCount, 1);
    EXPECT_FALSE(session.EntryDeleted);
    EXPECT_DOUBLE_EQ(e.ReturnTemp, (e.ReturnTempStart + e.ReturnTempEnd) / 2);
    EXPECT_EQ(listLines(), 1);
}

TEST_F(ListEditingTest, AfterDeletingTheFanSettingFieldShowsTheFirstEntrysSetting)
{
    heatingList(2);
    const TypeRecord wfw = fixtureType("WFW-2L", true);
    HeatingEntry& first = heating(1);
    first.TypeName.setText("WFW-2L");
    first.TypeText1.setText(wfw.dataLine);
    first.TypeText2.setText(wfw.fanLine);
    first.Length = 1250;
    first.FreeConvection = false;
    first.FanSpeed = 1000;
    form->update0(1);
    form->update_grenzen(1);
    form->update1(1);
    form->Listenaufbau();

    deleteRow(1);

    // A speed in the percentage field would be read back as 100 % on leaving it.
    EXPECT_EQ(control<QLineEdit>("Edit4")->text().trimmed(), QStringLiteral("62.5"));
    form->Edit4Change();
    EXPECT_DOUBLE_EQ(heating(1).FanSpeed, 1000);
}

TEST_F(ListEditingTest, DeletingOnAnEmptyListShowsTheNoteAndWritesBack)
{
    linkMainWindow();
    session.HeatingMode = true;
    session.Project.HeatingInUse = true;
    session.RoomTempChanged = true;
    doubles.messages.expect(MessageKind::Information, form->text(131));
    press("Loeschen");

    EXPECT_FALSE(form->RowSelected);
    // The empty list ends the heating use and the window hands back to the main window.
    EXPECT_FALSE(session.Project.HeatingInUse);
    EXPECT_FALSE(session.RoomTempChanged);
    EXPECT_EQ(printMenuEnabled, 1);
}

TEST_F(ListEditingTest, DeletingWhenTheListCountsNoEntryShowsItsOwnNote)
{
    heatingList(1);
    session.Project.HeatingEntryCount = 0; // the line on screen is stale
    selectRow(0);
    doubles.messages.expect(MessageKind::Information, form->text(95));
    press("Loeschen");
    EXPECT_EQ(session.Project.HeatingEntryCount, 0);
    EXPECT_FALSE(session.EntryDeleted);
}

TEST_F(ListEditingTest, DeletingACoolingEntryWorksOnTheFirstAfterwards)
{
    coolingList(2);
    const CoolingEntry second = cooling(2);
    deleteRow(0);

    EXPECT_EQ(session.Project.CoolingEntryCount, 1);
    EXPECT_EQ(cooling(1), second);
    EXPECT_EQ(session.CoolingEntryIndex, 1);
    EXPECT_EQ(control<QLineEdit>("Edit8")->text(), QString::number(static_cast<int>(second.FanSpeed / 16)));
}

// --- Closing with write-back -------------------------------------------------------------------

TEST_F(ListEditingTest, ClosingKeepsTheCalculatedValuesAndTakesTheCount)
{
    linkMainWindow();
    heatingList(2);
    session.HeatingEntryIndex = 2;
    form->update0(2);
    form->update_grenzen(2);
    form->update1(2);
    heating(2).HeightFactor = 0;
    const double output = heating(2).Output;
    const double massFlow = heating(2).MassFlow;
    const double returnTemp = heating(2).ReturnTemp;
    control<QLineEdit>("Edit5")->setText(QStringLiteral("7"));
    session.DemandChanged = true;
    closeByMenu();

    EXPECT_EQ(heating(2).Count, 7);
    EXPECT_DOUBLE_EQ(heating(2).Output, output);
    EXPECT_DOUBLE_EQ(heating(2).MassFlow, massFlow);
    EXPECT_DOUBLE_EQ(heating(2).ReturnTemp, returnTemp);
    EXPECT_DOUBLE_EQ(heating(2).HeightFactor, 1);
    EXPECT_EQ(session.HeatingEntryIndex, 1);
    EXPECT_FALSE(session.DemandChanged);
    EXPECT_TRUE(session.Project.HeatingInUse);
    EXPECT_EQ(convectorListEnabled, 1);
    EXPECT_GE(printMenuEnabled, 1);
}

TEST_F(ListEditingTest, ClosingInCoolingTakesTheCountAndLeavesHeatingUse)
{
    linkMainWindow();
    coolingList(1);
    session.Project.HeatingInUse = true;
    const double output = cooling(1).Output;
    control<QLineEdit>("Edit9")->setText(QStringLiteral("5"));
    closeByMenu();

    EXPECT_EQ(cooling(1).Count, 5);
    EXPECT_DOUBLE_EQ(cooling(1).Output, output);
    EXPECT_FALSE(session.Project.HeatingInUse);
    EXPECT_EQ(convectorListEnabled, 1);
}

TEST_F(ListEditingTest, ClosingCommitsTheFieldStillBeingTypedIn)
{
    heatingList(1);
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

TEST_F(ListEditingTest, ClosingByTheFrameWritesBackAndHides)
{
    heatingList(1);
    form->show();
    control<QLineEdit>("Edit5")->setText(QStringLiteral("9"));
    form->close();
    EXPECT_EQ(heating(1).Count, 9);
    EXPECT_TRUE(form->isHidden());
}

} // namespace
} // namespace tepa::test
