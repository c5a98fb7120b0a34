// The room data panel: opening, modes, the record transfer, the checks of its edits and the type
// list with the pick of a type by double click.
#include "help/RoomPanelFixture.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>

#include <utility>

namespace tepa::test {
namespace {

using RoomData = RoomPanelFixture;

TEST_F(RoomData, OpensInHeatingWithTheRecordAndTogglesClosed)
{
    session->Project.HeatingRoomTemp = 21.25; // an exact binary half: rounds away from zero
    session->Project.HeatingSecondTemp = 5;
    openRoomData();
    EXPECT_FALSE(form1->GroupBox2->isHidden());
    EXPECT_TRUE(form1->Berechnungen1->isEnabled());
    EXPECT_FALSE(form1->Panel2->isHidden());
    // Str(x:w:d) of the room's values: 21.25 °C, 0 W, 75 °C, 5 °C.
    EXPECT_EQ(control<QLineEdit>("Edit3")->text(), "21.3");
    EXPECT_EQ(control<QLineEdit>("Edit8")->text(), " 5.0");
    EXPECT_EQ(control<QLineEdit>("Edit2")->text(), "   0.0");
    EXPECT_EQ(control<QLineEdit>("Edit4")->text(), "75.0");
    EXPECT_EQ(form1->ListBox3->count(), 12); // index lines 5 to 16 of the fixture

    form1->Raumdaten1->trigger();
    EXPECT_TRUE(form1->GroupBox2->isHidden());
}

TEST_F(RoomData, MissingTypeIndexShowsTheFileErrorAndKeepsThePanelClosed)
{
    useProgramFolder({}, false);
    doubles.messages.expectAny(MessageKind::Error);
    openRoomData();
    ASSERT_EQ(doubles.messages.shown().size(), 1);
    EXPECT_TRUE(doubles.messages.shown().front().contains("konvektoren.txt"));
    EXPECT_TRUE(form1->GroupBox2->isHidden());
}

TEST_F(RoomData, ModesAndDualUseChooseTheOfferedTypes)
{
    openRoomData();
    form1->RadioButton2->click();
    EXPECT_TRUE(session->CoolingMode);
    EXPECT_FALSE(form1->Panel1->isHidden());
    EXPECT_FALSE(calc<QAction>("FreieKonvektion1")->isEnabled());
    // Cooling offers the six "HW" lines 10 to 15 only.
    ASSERT_EQ(form1->ListBox3->count(), 6);
    EXPECT_EQ(form1->ListBox3->item(0)->data(Qt::UserRole).toInt(), 10);
    EXPECT_EQ(form1->ListBox3->item(5)->data(Qt::UserRole).toInt(), 15);

    form1->RadioButton3->click();
    EXPECT_TRUE(session->CoolingDualUseOn);
    EXPECT_TRUE(session->Project.CoolingDualUse);

    form1->RadioButton1->click();
    EXPECT_TRUE(session->HeatingMode);
    EXPECT_EQ(form1->ListBox3->count(), 6) << "dual use keeps the cooling types in heating";
    EXPECT_TRUE(session->HeatingDualUseOn);
    EXPECT_FALSE(session->CoolingDualUseOn);
    EXPECT_TRUE(session->Project.HeatingDualUse);

    form1->RadioButton4->click();
    EXPECT_EQ(form1->ListBox3->count(), 12);
    EXPECT_FALSE(session->HeatingDualUseOn);
    EXPECT_TRUE(session->Project.HeatingDualUse) << "the record flag stays";
}

TEST_F(RoomData, LoadedProjectOpensLockedInItsRecordedMode)
{
    session->ProjectLoaded = true;
    session->Project.HeatingInUse = false;
    session->Project.CoolingDualUse = true;
    openRoomData();
    EXPECT_TRUE(form1->RadioButton2->isChecked());
    EXPECT_TRUE(form1->RadioButton3->isChecked());
    EXPECT_TRUE(session->CoolingMode);
    EXPECT_FALSE(form1->ListBox3->isEnabled());
    EXPECT_FALSE(form1->Panel2->isEnabled());
}

TEST_F(RoomData, RoomNameTakesNoMoreThanTheFifteenCharactersKept)
{
    openRoomData();
    QTest::keyClicks(control<QLineEdit>("Edit13"), "Besprechung 1.OG");
    EXPECT_EQ(form1->Edit13->text(), "Besprechung 1.O") << "what the planner sees is what is kept";
    EXPECT_EQ(session->Project.RoomName.text(), "Besprechung 1.O");
}

// One entry into a room data edit, with what it leaves behind. Heating and cooling follow the
// same rules: a valid value differing from the stored one sets its change flag (which blocks
// saving until the next calculation run) and is stored when it lies in its range.
// Dew point (text 196) at room 26 °C, by the Magnus law worked by hand: 45 % gives Td 13.13 °C
// and the limit 13.13 + 0.15 * 12.87 = 15.06 °C; 60 % gives the limit 18.88 °C; 40 % 13.54 °C;
// at 30 °C and 45 % the limit is 18.74 °C, at 27 °C 15.98 °C.
struct RoomCase
{
    bool cooling;
    const char* edit;
    const char* typed;
    bool rejected; // text 78, old value back
    bool warned;   // text 196
    const char* shown;
    double ProjectRecord::*field;
    double stored;
    bool Session::*flag; // the change flag set, if any
};

constexpr auto Heat = false, Cool = true;
using R = ProjectRecord;
using S = Session;

// clang-format off
const RoomCase roomCases[] = {
    {Heat, "Edit3", "12,5", false, false, "12.5",  &R::HeatingRoomTemp, 12.5, &S::RoomTempChanged},
    {Heat, "Edit3", "40.1", false, false, "40.1",  &R::HeatingRoomTemp, 20,   &S::RoomTempChanged},
    {Heat, "Edit3", "20",   false, false, "20",    &R::HeatingRoomTemp, 20,   nullptr},
    {Heat, "Edit3", "abc",  true,  false, " 20.0", &R::HeatingRoomTemp, 20,   nullptr},
    {Heat, "Edit4", "120",  false, false, "120",   &R::HeatingFlowTemp, 75,   &S::FlowTempChanged},
    {Heat, "Edit4", "55",   false, false, "55",    &R::HeatingFlowTemp, 55,   &S::FlowTempChanged},
    {Heat, "Edit4", "12a",  true,  false, " 75.0", &R::HeatingFlowTemp, 75,   nullptr},
    {Heat, "Edit2", "1500", false, false, "1500",  &R::HeatingDemand,   1500, &S::DemandChanged},
    {Heat, "Edit2", "-50",  true,  false, "  0.0", &R::HeatingDemand,   0,    nullptr},
    {Heat, "Edit2", "0.5",  false, false, "0.5",   &R::HeatingDemand,   0.5,  &S::DemandChanged},
    {Cool, "Edit7", "4200", false, false, "4200",  &R::CoolingDemand,   4200, &S::DemandChanged},
    {Cool, "Edit7", "-5",   true,  false, "  0.0", &R::CoolingDemand,   0,    nullptr},
    {Cool, "Edit1", "18",   false, false, "18",    &R::CoolingFlowTemp, 18,   &S::FlowTempChanged},
    {Cool, "Edit1", "14.8", false, true,  "14.8",  &R::CoolingFlowTemp, 14.8, &S::FlowTempChanged},
    {Cool, "Edit1", "30",   false, false, "30",    &R::CoolingFlowTemp, 16,   &S::FlowTempChanged},
    {Cool, "Edit1", "x",    true,  false, "16.0",  &R::CoolingFlowTemp, 16,   nullptr},
    {Cool, "Edit6", "80",   false, true,  "80",    &R::CoolingHumidity, 80,   &S::RoomTempChanged},
    {Cool, "Edit6", "40",   false, false, "40",    &R::CoolingHumidity, 40,   &S::RoomTempChanged},
    {Cool, "Edit6", "120",  false, true,  "120",   &R::CoolingHumidity, 45,   &S::RoomTempChanged},
    {Cool, "Edit6", "4,5,", true,  false, "45.0",  &R::CoolingHumidity, 45,   nullptr},
    // The flow temperature 16 against the limit of the new room air; -2 °C is not stored.
    {Cool, "Edit9", "30",   false, true,  "30",    &R::CoolingRoomTemp, 30,   &S::RoomTempChanged},
    {Cool, "Edit9", "27",   false, false, "27",    &R::CoolingRoomTemp, 27,   &S::RoomTempChanged},
    {Cool, "Edit9", "-2",   false, false, "-2",    &R::CoolingRoomTemp, 26,   &S::RoomTempChanged},
    {Cool, "Edit9", "",     true,  false, " 26.0", &R::CoolingRoomTemp, 26,   nullptr},
};
// clang-format on

TEST_F(RoomData, ChecksStoreAndFlagValidValuesAndRejectOthersInBothModes)
{
    openRoomData();
    for (const RoomCase& c : roomCases) {
        SCOPED_TRACE(std::string(c.edit) + " <- \"" + c.typed + "\"");
        (c.cooling ? form1->RadioButton2 : form1->RadioButton1)->click();
        form1->ResetRoomData();
        session->ResetChangeFlags();
        if (c.rejected)
            doubles.messages.expect(MessageKind::Information, text(78));
        if (c.warned)
            doubles.messages.expect(MessageKind::Message, text(196));
        enter(control<QLineEdit>(c.edit), c.typed);
        doubles.messages.verifyAllShown();
        EXPECT_EQ(control<QLineEdit>(c.edit)->text(), c.shown);
        EXPECT_EQ(session->Project.*c.field, c.stored);
        for (bool Session::*flag : {&S::RoomTempChanged, &S::DemandChanged, &S::FlowTempChanged})
            EXPECT_EQ((*session).*flag, flag == c.flag);
        // A change waiting for the calculation run refuses the save.
        if (c.flag)
            doubles.messages.expect(MessageKind::Message, text(117));
        else
            doubles.dialogs.answerSave(std::nullopt);
        form1->Speichern1->trigger();
        doubles.messages.verifyAllShown();
    }
}

// A value typed and not yet left is checked before saving; the other mode's fields are not checked.
TEST_F(RoomData, ValueTypedAndNotLeftIsCheckedBeforeSavingAndOtherModesFieldsAreNot)
{
    openRoomData();
    form1->RadioButton2->click();
    enter(form1->Edit2, "abc"); // an unexpected box would fail the test
    enter(form1->Edit4, "-1");
    QTest::keyClicks(form1->Edit7, "4200");
    doubles.messages.expect(MessageKind::Message, text(117));
    form1->Speichern1->trigger();
    EXPECT_EQ(session->Project.CoolingDemand, 4200);
    EXPECT_FALSE(session->FlowTempChanged);
    form1->RadioButton1->click();
    enter(form1->Edit7, "abc");
}

TEST_F(RoomData, FocusedEditIsNotCheckedWhileTheWindowCloses)
{
    openRoomData();
    QApplication::setActiveWindow(form1.get());
    form1->Edit3->setFocus();
    QCoreApplication::processEvents();
    ASSERT_TRUE(form1->Edit3->hasFocus());
    QTest::keyClicks(form1->Edit3, "abc");
    destroyWindow(); // a check running now would show text 78, which no script expects
}

// A message box takes the focus from the edit that showed it, which then reports editingFinished
// again while its box is still open.
class FocusTakingMessages : public ScriptedMessages
{
public:
    void showInformation(const QString& text) override
    {
        ScriptedMessages::showInformation(text);
        if (QLineEdit* focusLost = std::exchange(edit, nullptr))
            emit focusLost->editingFinished();
    }
    QLineEdit* edit = nullptr;
};

TEST_F(RoomData, CheckDoesNotRunAgainWhileItsMessageIsShown)
{
    FocusTakingMessages messages;
    destroyWindow();
    session = std::make_unique<Session>();
    form1 = std::make_unique<TForm1>(
        *session, platform::Services{doubles.settings, messages, doubles.dialogs, doubles.shell},
        StartOptions{installDir(), {}, {}});
    form1->FormCreate();
    form1->ResetRoomData();
    openRoomData();

    messages.edit = form1->Edit3;
    messages.expect(MessageKind::Information, text(78)); // once, not twice
    enter(form1->Edit3, "abc");
    messages.verifyAllShown();
    EXPECT_EQ(form1->Edit3->text(), " 20.0");
    destroyWindow();
}

TEST_F(RoomData, ItemsShowTheNamePaddedToSixteenAndTheLineNumber)
{
    // Names from column 11 (its blank included): the type code, up to column 21.
    useProgramFolder({
        "F          W",                  // line 5
        "ZHW        WFWL-2L Zweileiter", // line 6: the code " WFWL-2L", without the description
        "F       ab",                    // line 7: shorter than column 11
    });
    openRoomData();
    EXPECT_EQ(typeItems(), QStringList({" W              5", " WFWL-2L        6", "                7"}));
}

TEST_F(RoomData, PickOfAFreeOrForcedTypeHandsItsRowOnAndATypeNotYetAvailableIsRefused)
{
    struct Case
    {
        const char* name;
        const char* chosenTypeRow;
        bool free, forced;
    };
    // The O line is refused with its message; the earlier pick stays, the run stays closed.
    const Case cases[] = {
        {" W", "W", true, false},
        {" WFW-2L", "WFW-2L Zweileiter", false, true},
        {" DWF", "DWF Deckengeraet", false, true},
        {" WZ", "DWF Deckengeraet", false, false},
    };
    useProgramFolder(
        {"F          W", "ZHW        WFW-2L Zweileiter", "ZHW        DWF Deckengeraet", "O          WZ"});
    // A default picture, so the click that comes with the double click shows no error.
    writePicture("Image4.bmp", {8, 8}, Qt::gray);
    openRoomData();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const bool refused = !c.free && !c.forced;
        form1->Berechnungen1->setEnabled(false);
        if (refused)
            doubles.messages.expect(MessageKind::Message, "KONVEKTORTYP NOCH NICHT INTEGRIERT !!");
        clickItem(typeItem(c.name), true);
        doubles.messages.verifyAllShown();
        EXPECT_EQ(session->ChosenTypeRow, c.chosenTypeRow);
        // The run hands the kind on and clears the flags; the calculation window shows which
        // list it loaded (a refused pick leaves the previous one).
        EXPECT_EQ(calc<QLabel>("Label4")->text(), text(c.free ? 63 : 46));
        EXPECT_FALSE(session->FreeTypeChosen || session->ForcedTypeChosen);
        EXPECT_EQ(form1->Berechnungen1->isEnabled(), !refused);
    }
}

TEST_F(RoomData, LinesBeyondNinetyNineArePickedByTheirOwnNumber)
{
    // Lines 5 .. 124, free types "F<n>", with line 105 a forced type: its item ends in "05",
    // the same two digits as line 5.
    std::vector<std::string> lines;
    for (int n = 5; n < 125; ++n)
        lines.push_back((n == 105 ? "Z          Z" : "F          F") + std::to_string(n));
    useProgramFolder(lines);
    writePicture("Image4.bmp", {8, 8}, Qt::gray);
    openRoomData();
    QListWidgetItem* item = typeItem(" Z105");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), " Z105           105");
    clickItem(item, true);
    EXPECT_EQ(session->ChosenTypeRow, "Z105");
    EXPECT_EQ(calc<QLabel>("Label4")->text(), text(46)); // the forced list was loaded
}

} // namespace
} // namespace tepa::test
