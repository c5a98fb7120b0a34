// The picture of the selected type, the inputs of the primary-air series, and the information
// box with its mail and web lines.
#include "RoomPanelFixture.h"

#include <tuple>

namespace tepa::test {
namespace {

using TypePictures = RoomPanelFixture;

TEST_F(TypePictures, OfTheTypeOrTheDefaultAndThePrimaryAirInputs)
{
    useProgramFolder({"F          W", "F          WM", "ZHW        WFW-2L Zweileiter", "ZHW        WNF",
                      "ZHW        DWF Deckengeraet"});
    // Each picture has a size of its own, so the shown one tells which file was read.
    writePicture("Tepa_Bilder/W.bmp", {30, 20}, Qt::red);
    writePicture("Tepa_Bilder/WFW-2L.bmp", {24, 24}, Qt::blue);
    const auto shownSize = [this] { return form1->Image2->pixmap().size(); };
    openRoomData();
    EXPECT_TRUE(form1->Image2->isHidden());
    clickItem(typeItem(" W"));
    EXPECT_FALSE(form1->Image2->isHidden());
    EXPECT_EQ(shownSize(), QSize(30, 20));
    // Without the default picture: an error, and the picture stays.
    doubles.messages.expectAny(MessageKind::Error);
    clickItem(typeItem(" WM"));
    ASSERT_EQ(doubles.messages.shown().size(), 1);
    EXPECT_TRUE(doubles.messages.shown().front().contains("Image4.bmp"));
    EXPECT_EQ(shownSize(), QSize(30, 20));
    // The name ends at the first blank after the leading one: "WFW-2L" of " WFW-2L   ...".
    clickItem(typeItem(" WFW-2L"));
    EXPECT_EQ(shownSize(), QSize(24, 24));
    writePicture("Image4.bmp", {40, 10}, Qt::green);
    clickItem(typeItem(" WM"));
    EXPECT_EQ(shownSize(), QSize(40, 10)) << "a type without its own picture shows Image4.bmp";
    // New keeps nothing of the project before: no status colour, no type picture.
    form1->Label19->show();
    doubles.messages.expectAny(MessageKind::YesNoCancel, false); // not saved
    form1->Neu1->trigger();
    EXPECT_TRUE(form1->Image2->isHidden());
    EXPECT_TRUE(form1->Label19->isHidden());

    for (const auto& [cooling, type, primaryAir] : std::initializer_list<std::tuple<bool, const char*, bool>>{
             {false, " WNF", true}, {false, " W", false}, {true, " WNF", true}, {true, " DWF", false}}) {
        SCOPED_TRACE(std::string(cooling ? "cooling" : "heating") + type);
        (cooling ? form1->RadioButton2 : form1->RadioButton1)->click();
        clickItem(typeItem(type));
        // Flow input of the mode off for primary air, its second input on; the other mode's stay.
        EXPECT_EQ((cooling ? form1->Edit1 : form1->Edit4)->isEnabled(), !primaryAir);
        EXPECT_EQ((cooling ? form1->Edit5 : form1->Edit8)->isEnabled(), primaryAir);
        EXPECT_TRUE((cooling ? form1->Edit4 : form1->Edit1)->isEnabled());
        EXPECT_FALSE((cooling ? form1->Edit8 : form1->Edit5)->isEnabled());
    }
}

using InfoBox = MainWindowFixture;

TEST_F(InfoBox, LinesOpenTheirAddressEveryTimeOrShowItWithoutAMailProgram)
{
    form1->show();
    // The texts of the real installation, whose lines 161 and 162 hold real addresses.
    auto texts = InterfaceTexts::load(TEPA_SOURCE_DATA_DIR);
    ASSERT_TRUE(texts.ok()) << texts.error();
    session->InterfaceTexts = std::move(texts).value();
    const auto click = [this](QWidget* line) {
        form1->Info2->trigger();
        ASSERT_FALSE(form1->GroupBox3->isHidden());
        QTest::mouseClick(line, Qt::LeftButton);
        EXPECT_TRUE(form1->GroupBox3->isHidden());
    };
    for (int round = 0; round < 2; ++round) {
        click(form1->Label2);
        click(form1->Label4);
    }
    click(control<QPushButton>("Button3")); // OK closes the box and opens nothing
    EXPECT_EQ(form1->Label2->text(), " info@example.com");
    EXPECT_EQ(doubles.shell.opened, QStringList({"mailto:info@example.com", "http://www.example.org",
                                                 "mailto:info@example.com", "http://www.example.org"}));
    doubles.shell.result = false;
    doubles.messages.expect(MessageKind::Message, "info@example.com");
    click(form1->Label2);
}

} // namespace
} // namespace tepa::test
