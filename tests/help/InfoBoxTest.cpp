// The information box and its mail and web lines.
#include "project/MainWindowFixture.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace tepa::test {
namespace {

class InfoBox : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        form1->show();
        // The texts of the real installation, whose lines 161 and 162 hold real addresses.
        auto texts = InterfaceTexts::load(TEPA_SOURCE_DATA_DIR);
        ASSERT_TRUE(texts.ok()) << texts.error();
        session->InterfaceTexts = std::move(texts).value();
    }

    void openBox()
    {
        form1->Info2->trigger();
        ASSERT_FALSE(form1->GroupBox3->isHidden());
    }
};

TEST_F(InfoBox, MailAndWebLinesOpenTheSameAddressEveryTime)
{
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        openBox();
        QTest::mouseClick(form1->Label2, Qt::LeftButton);
        EXPECT_TRUE(form1->GroupBox3->isHidden());
        EXPECT_EQ(form1->Label2->text(), " info@example.com");
        openBox();
        QTest::mouseClick(form1->Label4, Qt::LeftButton);
        EXPECT_TRUE(form1->GroupBox3->isHidden());
    }
    openBox();
    QTest::mouseClick(control<QPushButton>("Button3"), Qt::LeftButton);
    EXPECT_TRUE(form1->GroupBox3->isHidden()) << "OK closes the box and opens nothing";
    EXPECT_EQ(doubles.shell.opened, QStringList({"mailto:info@example.com", "http://www.example.org",
                                                 "mailto:info@example.com", "http://www.example.org"}));
}

TEST_F(InfoBox, WithoutAMailProgramTheAddressIsShown)
{
    doubles.shell.result = false;
    doubles.messages.expect(MessageKind::Message, "info@example.com");
    openBox();
    QTest::mouseClick(form1->Label2, Qt::LeftButton);
    EXPECT_TRUE(form1->GroupBox3->isHidden());
}

} // namespace
} // namespace tepa::test
