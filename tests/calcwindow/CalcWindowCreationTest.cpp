// The calculation window right after start: hidden, placed beside the main window, with its
// heights loaded and its captions taken from the interface texts.
#include "CalcWindowFixture.h"

#include "app/Mnemonics.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QTemporaryDir>

#include <fstream>
#include <string>
#include <vector>

namespace tepa::test {
namespace {

using CalcWindowCreation = CalcWindowFixture;

TEST_F(CalcWindowCreation, ExistsHiddenWithTheLinesOfTheHeightFile)
{
    TForm2& w = create();
    EXPECT_TRUE(w.isHidden());
    EXPECT_TRUE(control<QGroupBox>("GroupBox3")->isHidden());

    // The fixture's height file read line by line, independently of the product data reader.
    std::ifstream in(FixtureInstallDir / "bauhoehen.txt", std::ios::binary);
    std::vector<std::string> expected;
    for (std::string line; std::getline(in, line);)
        expected.push_back(line.substr(0, line.find_last_not_of('\r') + 1));
    ASSERT_EQ(expected.size(), 18u); // 80 to 450 mm, see the fixture's README
    EXPECT_EQ(session.HeightList, expected);
    EXPECT_EQ(control<QListWidget>("ListBox4")->count(), 0) << "the height list box is filled by a type pick";
}

TEST_F(CalcWindowCreation, MissingHeightFileIsReportedAndSkipsTheLastSteps)
{
    QTemporaryDir empty;
    ASSERT_TRUE(empty.isValid());
    session.ProgramDir = empty.path().toStdString();
    const std::string file = (session.ProgramDir / "bauhoehen.txt").string();
    doubles.messages.expect(MessageKind::Error,
                            QString::fromStdString("Datei " + file + " kann nicht geöffnet werden"));

    TForm2& w = create();

    EXPECT_TRUE(session.HeightList.empty());
    // Hiding the information box is one of the two skipped steps; the captions came before.
    EXPECT_FALSE(control<QGroupBox>("GroupBox3")->isHidden());
    EXPECT_EQ(control<QLabel>("Label15")->text().toStdString(), "Text 65");
    EXPECT_TRUE(w.isHidden());
}

TEST_F(CalcWindowCreation, PlacedOnceBelowAndRightOfTheMainWindowByASingleCreation)
{
    mainWindow.move(200, 150);
    TForm2& w = create();
    EXPECT_EQ(w.pos(), QPoint(205, 200));

    // Neither a moved main window nor a second creation moves it or renews its captions.
    control<QLabel>("Label15")->setText(QStringLiteral("changed"));
    mainWindow.move(400, 300);
    w.FormCreate();
    w.show();
    QApplication::processEvents();
    EXPECT_EQ(w.pos(), QPoint(205, 200));
    EXPECT_EQ(control<QLabel>("Label15")->text().toStdString(), "changed");
    w.hide();
}

TEST_F(CalcWindowCreation, CaptionsComeFromTheInterfaceTexts)
{
    TForm2& w = create();
    // The fixture's lines read "Text n" except 46, 63 and 149, which carry real wording.
    const std::pair<QString, const char*> cases[] = {
        {withoutMnemonic(control<QAction>("Schliessen1")->text()), "Text 100"},
        {withoutMnemonic(control<QAction>("FreieKonvektion1")->text()), "Freie Konvektion"},
        {withoutMnemonic(control<QAction>("FreieZwangsKonv1")->text()), "Gebläsekonvektoren"},
        {control<QLabel>("Label1")->text(), "Bauhöhe"},
        {control<QRadioButton>("RadioButton4")->text(), "Text 262"},
        {control<QRadioButton>("RadioButton7")->text(), "Text 262"},
        {control<QGroupBox>("GroupBox1")->title(), "Text 28"},
        {control<QLabel>("Label113")->text(), "Text 250"},
        {control<QPushButton>("Bearbeiten")->toolTip(), "Text 175"},
        {w.BaseTitle, "Text 40"},
        {w.CoolingOutputCaption, "Text 42"},
    };
    for (const auto& [shown, expected] : cases)
        EXPECT_EQ(shown.toStdString(), expected);
}

} // namespace
} // namespace tepa::test
