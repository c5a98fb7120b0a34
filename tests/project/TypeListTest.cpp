// The type list of the room data panel: its items and the pick of a type by double click.
#include "help/RoomPanelFixture.h"

#include <QAction>
#include <QLabel>

namespace tepa::test {
namespace {

using TypeList = RoomPanelFixture;

TEST_F(TypeList, ItemsShowTheNamePaddedToSixteenAndTheLineNumber)
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

TEST_F(TypeList, PickOfAFreeOrForcedTypeHandsItsRowOnAndATypeNotYetAvailableIsRefused)
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
    QListWidgetItem* item = typeItem(" Z105");
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), " Z105           105");
    clickItem(item, true);
    EXPECT_EQ(session->ChosenTypeRow, "Z105");
    EXPECT_EQ(calc<QLabel>("Label4")->text(), text(46)); // the forced list was loaded
}

} // namespace
} // namespace tepa::test
