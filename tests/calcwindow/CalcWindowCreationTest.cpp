// The calculation window right after start: hidden, placed beside the main window, with its
// heights loaded and its captions taken from the interface texts.
#include "CalcWindowFixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>

#include <fstream>
#include <string>
#include <vector>

namespace tepa::test {
namespace {

// The fixture's height file read line by line, independently of the product data reader.
std::vector<std::string> fixtureHeightLines()
{
    std::ifstream in(FixtureInstallDir / "bauhoehen.txt", std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

using CalcWindowCreation = CalcWindowFixture;

TEST_F(CalcWindowCreation, ExistsHiddenWithItsInformationBoxHidden)
{
    TForm2& w = create();
    EXPECT_TRUE(w.isHidden());
    EXPECT_EQ(w.windowTitle().toStdString(), "Berechnungen");
    EXPECT_EQ(w.size(), QSize(800, 530));
    EXPECT_TRUE(w.GroupBox3->isHidden());
    EXPECT_TRUE(doubles.messages.shown().isEmpty());
}

TEST_F(CalcWindowCreation, HeightListHoldsTheLinesOfTheHeightFile)
{
    create();
    const auto expected = fixtureHeightLines();
    ASSERT_EQ(expected.size(), 18u); // 80 to 450 mm, see the fixture's README
    EXPECT_EQ(session.HeightList, expected);
    EXPECT_EQ(session.HeightList.front().substr(0, 3), "80 ");
    EXPECT_EQ(session.HeightList.back().substr(0, 3), "450");
    // The height list box is filled by a type pick, not at creation.
    EXPECT_EQ(form->ListBox4->count(), 0);
}

TEST_F(CalcWindowCreation, MissingHeightFileIsReportedAndSkipsTheLastSteps)
{
    QTemporaryDir empty;
    ASSERT_TRUE(empty.isValid());
    const std::filesystem::path dir = empty.path().toStdString();
    session.ProgramDir = dir;
    const std::string file = (dir / "bauhoehen.txt").string();
    doubles.messages.expect(MessageKind::Error,
                            QString::fromStdString("Datei " + file + " kann nicht geöffnet werden"));

    TForm2& w = create();

    EXPECT_TRUE(session.HeightList.empty());
    // Hiding the information box is one of the two skipped steps; the captions came before.
    EXPECT_FALSE(w.GroupBox3->isHidden());
    EXPECT_EQ(w.Label15->text().toStdString(), "Text 65");
    EXPECT_TRUE(w.isHidden());
}

TEST_F(CalcWindowCreation, PlacedOnceBelowAndRightOfTheMainWindow)
{
    mainWindow.move(200, 150);
    TForm2& w = create();
    EXPECT_EQ(w.pos(), QPoint(205, 200));

    // Moving the main window later leaves the calculation window where it was put.
    mainWindow.move(400, 300);
    w.show();
    QApplication::processEvents();
    EXPECT_EQ(w.pos(), QPoint(205, 200));
    w.hide();
}

TEST_F(CalcWindowCreation, CreationRunsOnce)
{
    TForm2& w = create();
    w.Label15->setText(QStringLiteral("changed"));
    mainWindow.move(500, 500);
    w.FormCreate();
    EXPECT_EQ(w.Label15->text().toStdString(), "changed");
    EXPECT_EQ(w.pos(), QPoint(125, 130));
}

TEST_F(CalcWindowCreation, KeepsTheTextsOfTheResultDisplays)
{
    TForm2& w = create();
    EXPECT_EQ(w.BaseTitle.toStdString(), "Text 40");
    EXPECT_EQ(w.HeatingOutputCaption.toStdString(), "Text 41");
    EXPECT_EQ(w.CoolingOutputCaption.toStdString(), "Text 42");
}

// objectName -> caption after creation, from the fixture's tepatext.txt (most lines read
// "Text n"; lines 46, 63 and 149 carry real wording).
struct CaptionCase
{
    const char* name;
    const char* caption;
};

QString captionOf(QObject* control)
{
    if (auto* label = qobject_cast<QLabel*>(control))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(control))
        return button->text();
    if (auto* box = qobject_cast<QGroupBox*>(control))
        return box->title();
    if (auto* action = qobject_cast<QAction*>(control))
        return action->text();
    if (auto* menu = qobject_cast<QMenu*>(control))
        return menu->title();
    ADD_FAILURE() << "no caption on " << control->objectName().toStdString();
    return {};
}

// clang-format off
constexpr CaptionCase textCaptions[] = {
    {"Schliessen1", "Text 100"}, {"Konvektoren1", "Text 44"},
    {"FreieKonvektion1", "Freie Konvektion"}, {"FreieZwangsKonv1", "Gebläsekonvektoren"},
    // type panel
    {"Label15", "Text 65"}, {"Label18", "Text 62"}, {"Label1", "Bauhöhe"},
    {"Label51", "Text 170"}, {"Label52", "Text 171"}, {"Konweiter", "Text 66"},
    // heating operating point
    {"Label6", "Text 151"}, {"Label10", "Text 49"}, {"Label62", "Text 258"},
    {"RadioButton2", "Text 260"}, {"RadioButton3", "Text 261"}, {"RadioButton4", "Text 262"},
    {"TR_Schalter", "Text 55"}, {"MS_Schalter", "Text 56"}, {"Label11", "Text 57"},
    // cooling operating point
    {"Label2", "Text 229"}, {"Label39", "Text 230"}, {"Label71", "Text 180"},
    {"Label58", "Text 172"}, {"Label60", "Text 173"}, {"Label50", "Text 49"},
    {"Label97", "Text 256"}, {"Label46", "Text 178"}, {"Label63", "Text 258"},
    {"RadioButton5", "Text 260"}, {"RadioButton6", "Text 261"}, {"RadioButton7", "Text 262"},
    {"Label42", "Text 45"}, {"Label44", "Text 54"}, {"Label55", "Text 56"},
    {"Label57", "[ kg / h ]"}, {"Label68", "Text 181"}, {"Label69", "Text 182"},
    // list, room values, information and notes
    {"GroupBox1", "Text 28"}, {"Bearbeiten", "Text 59"}, {"Erweitern", "Text 60"},
    {"Loeschen", "Text 61"}, {"Label35", "Text 26"}, {"Label34", "Text 25"},
    {"Label33", "Text 190"}, {"GroupBox4", "Text 232"}, {"Label106", "Text 243"},
    {"Label107", "Text 247"}, {"Label108", "Text 248"}, {"Label109", "Text 249"},
    {"Label113", "Text 250"}, {"Label110", "Text 251"}, {"Label111", "Text 243"},
};

// Captions of the form that no interface text replaces.
constexpr CaptionCase formCaptions[] = {
    {"Label4", "Label4"}, {"Label64", "n  0 ... 1400 U/min"}, {"RadioButton1", "0"},
    {"Label26", "[ °C ]"}, {"Label31", "[ kg/h ]"}, {"Label32", "[ W ]"},
    {"Label21", "Label21"}, {"Label22", "[  W ]"}, {"Label24", "Delta-P"}, {"Label29", "[ Pa ]"},
    {"Label23", "LpA"}, {"Label30", "[ dB ]"}, {"Label47", " Min"}, {"Label48", "Max"},
    {"Label102", "Label102"}, {"Label75", "n  0 ... 1400 U/min"}, {"Label98", "(   700 U/Min)"},
    {"Label99", "( 1000 U/Min)"}, {"Label100", "( 1400 U/Min)"}, {"Label53", "[ Pa ]"},
    {"Label54", "[ dB ]"}, {"Label70", "[ W ]"}, {"GroupBox3", "Information"}, {"Button1", "O K "},
    {"Label93", "Drehzahl  70/75 %"}, {"Label82", "M [ kg/h ]"}, {"Label87", "d p [ Pa ]"},
    {"Label89", "LpA  [ dB ]"}, {"Label91", "Leistung Q [ W ]"},
    {"Label5", ""}, {"Label17", ""}, {"Label83", ""}, {"Label49", ""}, {"Label94", ""},
};
// clang-format on

TEST_F(CalcWindowCreation, CaptionsComeFromTheInterfaceTexts)
{
    create();
    for (const auto& c : textCaptions) {
        SCOPED_TRACE(c.name);
        QObject* found = form->findChild<QObject*>(QString::fromLatin1(c.name));
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(captionOf(found).toStdString(), c.caption);
    }
}

TEST_F(CalcWindowCreation, OtherCaptionsAreThoseOfTheForm)
{
    create();
    for (const auto& c : formCaptions) {
        SCOPED_TRACE(c.name);
        QObject* found = form->findChild<QObject*>(QString::fromLatin1(c.name));
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(captionOf(found).toStdString(), c.caption);
    }
}

TEST_F(CalcWindowCreation, WithoutInterfaceTextsTheFormCaptionsStay)
{
    session.InterfaceTexts = InterfaceTexts();
    TForm2& w = create();
    const CaptionCase defaults[] = {
        {"Label15", "Konvektor - Typen"},
        {"Label18", "Baulänge"},
        {"Konweiter", "weiter"},
        {"TR_Schalter", "Rücklauftemp."},
        {"Schliessen1", "Fenster schliessen"},
        {"FreieZwangsKonv1", "Freie-/Zwangs-Konv."},
        {"Konvektoren1", "Konvektoren"},
        {"Label35", "Wärmebedarf  [ kg/h ]"},
        {"Label106", "Achtung:"},
        {"Label113", "fall unterhalb des Taupunktes  wenden Sie sich bitte  an"},
        {"GroupBox1", "Konvektorliste"},
        {"Loeschen", "Löschen"},
        {"Label57", "[ kg / h ]"},
    };
    for (const auto& c : defaults) {
        SCOPED_TRACE(c.name);
        QObject* found = form->findChild<QObject*>(QString::fromLatin1(c.name));
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(captionOf(found).toStdString(), c.caption);
    }
    EXPECT_TRUE(w.BaseTitle.isEmpty());
    EXPECT_EQ(w.Bearbeiten->toolTip().toStdString(), "");
}

TEST_F(CalcWindowCreation, HintsAreTooltips)
{
    create();
    const CaptionCase hints[] = {
        {"Panel4", "Schliessen durch Anklicken"},
        {"Label10", "Maximal  15 !"},
        {"Edit5", "Anzahl eines Konvektortyps  ( Max 15 )"},
        {"UpDown1", "Anzahl eines Konvektortyps  ( Max 15 )"},
        {"Bearbeiten", "Text 175"},
        {"Erweitern", "Text 176"},
        {"Loeschen", "Text 177"},
    };
    for (const auto& h : hints) {
        SCOPED_TRACE(h.name);
        auto* found = control<QWidget>(h.name);
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->toolTip().toStdString(), h.caption);
    }
}

} // namespace
} // namespace tepa::test
