// The information box and its mail and web lines.
#include "project/MainWindowFixture.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace tepa::test {
namespace {

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
