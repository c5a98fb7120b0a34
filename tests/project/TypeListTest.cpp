// The type list of the room data panel: its items and the pick of a type by double click.
#include "help/RoomPanelFixture.h"

#include <QAction>

namespace tepa::test {
namespace {

using TypeList = RoomPanelFixture;

TEST_F(TypeList, ItemsShowTheNamePaddedToSixteenAndTheLineNumber)
{
    // Names from column 11 (its blank included), at most six characters.
    useProgramFolder({
        "F          W",                  // line 5
        "ZHW        WFWL-2L Zweileiter", // line 6: the name is cut to " WFWL-"
        "F       ab",                    // line 7: shorter than column 11
        "O          WZ",                 // line 8
    });
    openRoomData();
    EXPECT_EQ(typeItems(), QStringList({" W              5", " WFWL-          6", "                7",
                                        " WZ             8"}));
}

// A double click on each kind of line, in a folder with a default picture so the click that
// comes with it shows no error.
struct PickCase
{
    const char* name;
    const char* chosenTypeRow;
    bool free, forced;
};

const PickCase pickCases[] = {
    {" W", "W", true, false},
    {" WFW-2", "WFW-2L Zweileiter", false, true},
    {" DWF", "DWF Deckengeraet", false, true},
};

TEST_F(TypeList, PickOfAFreeOrForcedTypeHandsItsRowOn)
{
    useProgramFolder(
        {"F          W", "Z          WF", "ZHW        WFW-2L Zweileiter", "ZHW        DWF Deckengeraet"});
    writePicture("Image4.bmp", {8, 8}, Qt::gray);
    openRoomData();
    for (const PickCase& c : pickCases) {
        SCOPED_TRACE(c.name);
        form1->Berechnungen1->setEnabled(false);
        clickItem(typeItem(c.name), true);
        EXPECT_EQ(session->ChosenTypeRow, c.chosenTypeRow);
        EXPECT_EQ(session->FreeTypeChosen, c.free);
        EXPECT_EQ(session->ForcedTypeChosen, c.forced);
        EXPECT_TRUE(form1->Berechnungen1->isEnabled());
    }
}

TEST_F(TypeList, TypeNotYetAvailableIsRefused)
{
    useProgramFolder({"F          W", "O          WZ"});
    writePicture("Image4.bmp", {8, 8}, Qt::gray);
    openRoomData();
    clickItem(typeItem(" W"), true);
    form1->Berechnungen1->setEnabled(false);
    doubles.messages.expect(MessageKind::Message, "KONVEKTORTYP NOCH NICHT INTEGRIERT !!");
    clickItem(typeItem(" WZ"), true);
    EXPECT_FALSE(session->FreeTypeChosen);
    EXPECT_FALSE(session->ForcedTypeChosen);
    EXPECT_EQ(session->ChosenTypeRow, "W") << "the earlier pick stays";
    EXPECT_FALSE(form1->Berechnungen1->isEnabled());
}

TEST_F(TypeList, LinesBeyondNinetyNineArePickedByTheirOwnNumber)
{
    // Lines 5 .. 124, free types "F<n>", with line 105 a forced type: its item ends in "05",
    // the same two digits as line 5.
    std::vector<std::string> lines;
    for (int n = 5; n < 125; ++n)
        lines.push_back((n == 105 ? "Z          Z" : "F          F") + std::to_string(n));
    useProgramFolder(lines);
    writePicture("Image4.bmp", {8, 8}, Qt::gray);
    openRoomData();
    ASSERT_EQ(form1->ListBox3->count(), 120);
    QListWidgetItem* item = typeItem(" Z105");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), " Z105           105");
    clickItem(item, true);
    EXPECT_EQ(session->ChosenTypeRow, "Z105");
    EXPECT_TRUE(session->ForcedTypeChosen);
    clickItem(typeItem(" F124"), true);
    EXPECT_EQ(session->ChosenTypeRow, "F124");
    EXPECT_TRUE(session->FreeTypeChosen);
}

} // namespace
} // namespace tepa::test
