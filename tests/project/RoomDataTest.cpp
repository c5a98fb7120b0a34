// The room data panel: opening, modes, the record transfer and the checks of its edits.
#include "help/RoomPanelFixture.h"

#include <QAction>
#include <QGroupBox>
#include <QRadioButton>

#include <utility>

namespace tepa::test {
namespace {

using RoomData = RoomPanelFixture;

TEST_F(RoomData, OpensInHeatingWithTheRecordAndTogglesClosed)
{
    session->Project.HeatingRoomTemp = 21.25; // an exact binary half: rounds away from zero
    openRoomData();
    EXPECT_FALSE(form1->GroupBox2->isHidden());
    EXPECT_TRUE(form1->Berechnungen1->isEnabled());
    EXPECT_FALSE(form1->Panel2->isHidden());
    // Str(x:w:d) of the room's values: 21.25 °C, 0 W, 75 °C.
    EXPECT_EQ(control<QLineEdit>("Edit3")->text(), "21.3");
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
    EXPECT_FALSE(form2->FreieKonvektion1->isEnabled());
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

TEST_F(RoomData, RoomNameKeepsFifteenCharactersOfEveryChange)
{
    openRoomData();
    QTest::keyClicks(control<QLineEdit>("Edit13"), "Besprechung 1.OG");
    EXPECT_EQ(session->Project.RoomName.text(), "Besprechung 1.O");
}

// One entry into a heating edit, with what it should leave behind.
struct HeatingCase
{
    const char* edit;
    const char* typed;
    bool rejected;     // text 78, old value back
    const char* shown; // the edit afterwards
    double roomTempC, demandW, flowTempC;
    bool roomTempChanged, demandChanged, flowTempChanged;
};

// clang-format off
const HeatingCase heatingCases[] = {
    {"Edit3", "12,5", false, "12.5",   12.5, 0, 75, true, false, false},
    {"Edit3", "40.1", false, "40.1",   20,   0, 75, true, false, false},
    {"Edit3", "20",   false, "20",     20,   0, 75, false, false, false},
    {"Edit3", "abc",  true,  " 20.0",  20,   0, 75, false, false, false},
    {"Edit4", "120",  false, "120",    20,   0, 75, false, false, true},
    {"Edit4", "55",   false, "55",     20,   0, 55, false, false, true},
    {"Edit4", "12a",  true,  " 75.0",  20,   0, 75, false, false, false},
    {"Edit2", "1500", false, "1500",   20, 1500, 75, false, true, false},
    {"Edit2", "-50",  true,  "  0.0",  20,   0, 75, false, false, false},
};
// clang-format on

TEST_F(RoomData, HeatingChecksStoreValidValuesInRangeAndRejectOthers)
{
    openRoomData();
    for (const HeatingCase& c : heatingCases) {
        SCOPED_TRACE(std::string(c.edit) + " <- \"" + c.typed + "\"");
        form1->ResetRoomData();
        session->ResetChangeFlags();
        if (c.rejected)
            doubles.messages.expect(MessageKind::Information, text(78));
        enter(control<QLineEdit>(c.edit), c.typed);
        doubles.messages.verifyAllShown();
        EXPECT_EQ(control<QLineEdit>(c.edit)->text(), c.shown);
        EXPECT_EQ(session->Project.HeatingRoomTemp, c.roomTempC);
        EXPECT_EQ(session->Project.HeatingDemand, c.demandW);
        EXPECT_EQ(session->Project.HeatingFlowTemp, c.flowTempC);
        EXPECT_EQ(session->RoomTempChanged, c.roomTempChanged);
        EXPECT_EQ(session->DemandChanged, c.demandChanged);
        EXPECT_EQ(session->FlowTempChanged, c.flowTempChanged);
    }
}

TEST_F(RoomData, NegativeDemandBringsBackThePreviousDemand)
{
    openRoomData();
    enter(form1->Edit2, "1500");
    doubles.messages.expect(MessageKind::Information, text(78));
    enter(form1->Edit2, "-50");
    EXPECT_EQ(form1->Edit2->text(), "1500.0");
    EXPECT_EQ(session->Project.HeatingDemand, 1500);
}

TEST_F(RoomData, HeatingDemandAndFlowAreNotCheckedInCoolingMode)
{
    openRoomData();
    form1->RadioButton2->click();
    enter(form1->Edit2, "abc"); // an unexpected box would fail the test
    enter(form1->Edit4, "-1");
    EXPECT_FALSE(session->FlowTempChanged);
}

// One entry into a cooling edit. Room 26 °C and 45 % give, by the Magnus law worked by hand,
// ps = 288.68 * 1.358^8.02 = 3359 Pa, pv = 1512 Pa, Td = 13.13 °C and a limit of
// 13.13 + 0.15 * 12.87 = 15.06 °C; at 60 % Td = 17.62 °C and the limit 18.88 °C; at 40 %
// Td = 11.34 °C and the limit 13.54 °C. The cases keep a quarter kelvin away from the limits.
struct CoolingCase
{
    const char* edit;
    const char* typed;
    bool rejected;
    bool warned; // text 196
    const char* shown;
    double roomTempC;
};

// clang-format off
const CoolingCase coolingCases[] = {
    {"Edit1", "14.8", false, true,  "14.8",  26},
    {"Edit1", "15.6", false, false, "15.6",  26},
    {"Edit1", "x",    true,  false, "16.0",  26},
    {"Edit6", "60",   false, true,  "60",    26},
    {"Edit6", "40",   false, false, "40",    26},
    {"Edit6", "4,5,", true,  false, "45.0",  26},
    // The flow temperature 16 against the limit of the new room air at 45 %:
    // 30 °C: Td 16.75, limit 18.74 -> warning; 27 °C: Td 14.04, limit 15.98 -> none;
    // -2 °C is not stored, so the limit stays that of 26 °C (15.06) -> none.
    {"Edit9", "30",   false, true,  "30",    30},
    {"Edit9", "27",   false, false, "27",    27},
    {"Edit9", "-2",   false, false, "-2",    26},
    {"Edit9", "",     true,  false, " 26.0", 26},
};
// clang-format on

TEST_F(RoomData, CoolingChecksWarnNearTheDewPoint)
{
    openRoomData();
    form1->RadioButton2->click();
    for (const CoolingCase& c : coolingCases) {
        SCOPED_TRACE(std::string(c.edit) + " <- \"" + c.typed + "\"");
        form1->ResetRoomData();
        if (c.rejected)
            doubles.messages.expect(MessageKind::Information, text(78));
        if (c.warned)
            doubles.messages.expect(MessageKind::Message, text(196));
        enter(control<QLineEdit>(c.edit), c.typed);
        doubles.messages.verifyAllShown();
        EXPECT_EQ(control<QLineEdit>(c.edit)->text(), c.shown);
        EXPECT_EQ(session->Project.CoolingRoomTemp, c.roomTempC);
        EXPECT_EQ(session->Project.CoolingFlowTemp, 16) << "the flow temperature waits for the run";
        EXPECT_EQ(session->Project.CoolingHumidity, 45);
    }
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

} // namespace
} // namespace tepa::test
