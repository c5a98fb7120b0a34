// The picture of the selected type and the inputs of the primary-air series.
#include "RoomPanelFixture.h"

#include <QLabel>
#include <QRadioButton>

namespace tepa::test {
namespace {

class TypePictures : public RoomPanelFixture
{
protected:
    void SetUp() override
    {
        RoomPanelFixture::SetUp();
        useProgramFolder({"F          W", "F          WM", "ZHW        WFW-2L Zweileiter", "ZHW        WNF",
                          "ZHW        DWF Deckengeraet"});
        // Each picture has a size of its own, so the shown one tells which file was read.
        writePicture("Tepa_Bilder/W.bmp", {30, 20}, Qt::red);
        writePicture("Tepa_Bilder/WFW-2.bmp", {24, 24}, Qt::blue);
    }

    QSize shownSize() const { return form1->Image2->pixmap().size(); }
};

TEST_F(TypePictures, TypePictureOrDefaultPictureIsShown)
{
    writePicture("Image4.bmp", {40, 10}, Qt::green);
    openRoomData();
    EXPECT_TRUE(form1->Image2->isHidden());

    clickItem(typeItem(" W"));
    EXPECT_FALSE(form1->Image2->isHidden());
    EXPECT_EQ(shownSize(), QSize(30, 20));
    EXPECT_EQ(form1->Image2->pixmap().toImage().pixelColor(0, 0), QColor(Qt::red));

    // The name ends at the first blank after the leading one: "WFW-2" of " WFW-2    ...".
    clickItem(typeItem(" WFW-2"));
    EXPECT_EQ(shownSize(), QSize(24, 24));

    clickItem(typeItem(" WM"));
    EXPECT_EQ(shownSize(), QSize(40, 10)) << "a type without its own picture shows Image4.bmp";
}

TEST_F(TypePictures, MissingDefaultPictureIsAnErrorAndThePictureStays)
{
    openRoomData();
    clickItem(typeItem(" W"));
    doubles.messages.expectAny(MessageKind::Error);
    clickItem(typeItem(" WM"));
    ASSERT_EQ(doubles.messages.shown().size(), 1);
    EXPECT_TRUE(doubles.messages.shown().front().contains("Image4.bmp"));
    EXPECT_TRUE(doubles.messages.shown().front().contains("kann nicht geöffnet werden"));
    EXPECT_EQ(shownSize(), QSize(30, 20));
}

TEST_F(TypePictures, PrimaryAirTypesSwitchTheFlowInputInHeating)
{
    writePicture("Image4.bmp", {40, 10}, Qt::green);
    openRoomData();
    clickItem(typeItem(" WNF"));
    EXPECT_FALSE(form1->Edit4->isEnabled());
    EXPECT_FALSE(form1->Label9->isEnabled());
    EXPECT_TRUE(form1->Edit8->isEnabled());
    EXPECT_TRUE(form1->Label17->isEnabled());
    EXPECT_FALSE(form1->Edit5->isEnabled()) << "cooling inputs stay in heating mode";

    clickItem(typeItem(" W"));
    EXPECT_TRUE(form1->Edit4->isEnabled());
    EXPECT_TRUE(form1->Label9->isEnabled());
    EXPECT_FALSE(form1->Edit8->isEnabled());
    EXPECT_FALSE(form1->Label17->isEnabled());
}

TEST_F(TypePictures, PrimaryAirTypesSwitchTheFlowInputInCooling)
{
    writePicture("Image4.bmp", {40, 10}, Qt::green);
    openRoomData();
    form1->RadioButton2->click();
    clickItem(typeItem(" WNF"));
    EXPECT_FALSE(form1->Edit1->isEnabled());
    EXPECT_FALSE(form1->Label15->isEnabled());
    EXPECT_TRUE(form1->Edit5->isEnabled());
    EXPECT_TRUE(form1->Label16->isEnabled());
    EXPECT_TRUE(form1->Edit4->isEnabled()) << "heating inputs stay in cooling mode";
    EXPECT_FALSE(form1->Edit8->isEnabled());

    clickItem(typeItem(" DWF"));
    EXPECT_TRUE(form1->Edit1->isEnabled());
    EXPECT_TRUE(form1->Label15->isEnabled());
    EXPECT_FALSE(form1->Edit5->isEnabled());
    EXPECT_FALSE(form1->Label16->isEnabled());
}

} // namespace
} // namespace tepa::test
