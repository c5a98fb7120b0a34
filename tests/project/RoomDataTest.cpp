// The room data panel: opening, modes, its edits' checks and the pick of a type.
#include "help/RoomPanelFixture.h"

#include <tuple>

namespace tepa::test {
namespace {

using RoomData = RoomPanelFixture;

TEST_F(RoomData, OpeningWalk)
{
    runScript("RoomData.Opening.txt",
              {{"record", // the heating room and second temperatures the record holds
                [&](const std::vector<std::string>& words) {
                    session->Project.HeatingRoomTemp = std::stod(words[1]);
                    session->Project.HeatingSecondTemp = std::stod(words[2]);
                    return QString();
                }},
               {"loaded", // a project loaded from a file that cools in dual use
                [&](const std::vector<std::string>&) {
                    session->ProjectLoaded = true;
                    session->Project.HeatingInUse = false;
                    session->Project.CoolingDualUse = true;
                    return QString();
                }}});
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

// The modes and dual use choose the offered types and the calculation window's free types.
TEST_F(RoomData, ModesAndDualUseChooseTheOfferedTypes)
{
    openRoomData();
    GoldenLines golden;
    for (QRadioButton* mode : {form1->RadioButton2, form1->RadioButton3, form1->RadioButton1, form1->RadioButton4}) {
        mode->click();
        const QListWidget* types = form1->ListBox3;
        golden({mode->objectName(), QString("types %1: %2..%3").arg(types->count())
                                        .arg(types->item(0)->data(Qt::UserRole).toInt())
                                        .arg(types->item(types->count() - 1)->data(Qt::UserRole).toInt()),
                QString("heating %1 cooling %2 dual use on %3%4 in record %5%6 free types %7 cooling panel %8")
                    .arg(session->HeatingMode).arg(session->CoolingMode)
                    .arg(session->HeatingDualUseOn).arg(session->CoolingDualUseOn)
                    .arg(session->Project.HeatingDualUse).arg(session->Project.CoolingDualUse)
                    .arg(calc<QAction>("FreieKonvektion1")->isEnabled()).arg(!form1->Panel1->isHidden())});
    }
}

// Each room data edit: what it shows, stores and flags after an entry, and its boxes (78:
// rejected, 196: below the dew point limit, 117: the save refused until the run).
TEST_F(RoomData, EditWalk)
{
    using R = ProjectRecord;
    // In cooling, the edit, the record field it stores, what is typed.
    const std::tuple<bool, const char*, double R::*, std::vector<const char*>> steps[] = {
        {false, "Edit3", &R::HeatingRoomTemp, {"12,5", "40.1", "20", "abc"}},
        {false, "Edit4", &R::HeatingFlowTemp, {"120", "55", "12a"}},
        {false, "Edit2", &R::HeatingDemand, {"1500", "-50", "0.5"}},
        {true, "Edit7", &R::CoolingDemand, {"4200", "-5"}},
        {true, "Edit1", &R::CoolingFlowTemp, {"18", "14.8", "30", "x"}},
        {true, "Edit6", &R::CoolingHumidity, {"80", "40", "120", "4,5,"}},
        {true, "Edit9", &R::CoolingRoomTemp, {"30", "27", "-2", ""}},
        {false, "Edit13", nullptr, {"Besprechung 1.OG"}},
    };
    recordBoxes = true;
    createWindow();
    createCalculationWindow();
    form1->show();
    form1->ResetRoomData();
    openRoomData();
    GoldenLines golden;
    for (const auto& [cooling, edit, field, entries] : steps)
        for (const char* typed : entries) {
            (cooling ? form1->RadioButton2 : form1->RadioButton1)->click();
            form1->ResetRoomData();
            session->ResetChangeFlags();
            boxes.taken();
            enter(control<QLineEdit>(edit), typed);
            const QString shown = control<QLineEdit>(edit)->text();
            const QString stored = field ? QString::number(session->Project.*field)
                                              : QString::fromStdString(session->Project.RoomName.text());
            const QString flags = QString("%1%2%3").arg(session->RoomTempChanged).arg(session->DemandChanged)
                                      .arg(session->FlowTempChanged);
            if (flags == "000")
                doubles.dialogs.answerSave(std::nullopt);
            form1->Speichern1->trigger();
            golden({edit, typed, "'" + shown + "'", stored, flags, boxes.taken()});
        }
}

// A value typed and not left is checked before saving; the other mode's are not.
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
    destroyWindow(); // a check now would show an unexpected box
}

// A box takes the focus from the edit that showed it, which reports editingFinished again.
TEST_F(RoomData, CheckDoesNotRunAgainWhileItsMessageIsShown)
{
    recordBoxes = true;
    createWindow();
    form1->ResetRoomData();
    openRoomData();
    boxes.afterInformation = [&] { emit form1->Edit3->editingFinished(); };
    enter(form1->Edit3, "abc");
    EXPECT_EQ(boxes.taken(), "information 'Text 78'"); // once, not twice
    EXPECT_EQ(form1->Edit3->text(), " 20.0");
}

// Items show the type code from column 11 padded to sixteen, then the line number. A double click
// hands a free or forced type's row on (line 105 by its own number, not as line 5) or refuses a
// type not yet available.
TEST_F(RoomData, ItemsNameTheCodeAndTheLineThatADoubleClickPicksOrRefuses)
{
    std::vector<std::string> lines = {"F          W", "ZHW        WFW-2L Zweileiter", "ZHW        DWF Deckengeraet",
                                      "O          WZ", "F       ab"};
    for (int n = 10; n < 125; ++n)
        lines.push_back((n == 105 ? "Z          Z" : "F          F") + std::to_string(n));
    useProgramFolder(lines);
    writePicture("Image4.bmp", {8, 8}, Qt::gray);
    openRoomData();
    EXPECT_EQ(typeItems().mid(0, 5), QStringList({" W              5", " WFW-2L         6", " DWF            7",
                                                  " WZ             8", "                9"}));
    ASSERT_NE(typeItem(" Z105"), nullptr);
    EXPECT_EQ(typeItem(" Z105")->text(), " Z105           105");
    // The item, the type row handed on, whether the type is free or forced (else refused).
    const std::tuple<const char*, const char*, bool, bool> cases[] = {
        {" W", "W", true, false},          {" WFW-2L", "WFW-2L Zweileiter", false, true},
        {" DWF", "DWF Deckengeraet", false, true}, {" WZ", "DWF Deckengeraet", false, false},
        {" Z105", "Z105", false, true},
    };
    for (const auto& [name, chosenTypeRow, free, forced] : cases) {
        SCOPED_TRACE(name);
        const bool refused = !free && !forced;
        form1->Berechnungen1->setEnabled(false);
        if (refused)
            doubles.messages.expect(MessageKind::Message, "KONVEKTORTYP NOCH NICHT INTEGRIERT !!");
        clickItem(typeItem(name), true);
        doubles.messages.verifyAllShown();
        EXPECT_EQ(session->ChosenTypeRow, chosenTypeRow);
        EXPECT_EQ(calc<QLabel>("Label4")->text(), text(free ? 63 : 46));
        EXPECT_FALSE(session->FreeTypeChosen || session->ForcedTypeChosen);
        EXPECT_EQ(form1->Berechnungen1->isEnabled(), !refused);
    }
}

} // namespace
} // namespace tepa::test
