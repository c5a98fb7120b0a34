// The main window's frame: captions from the interface texts, menu enabling and shortcuts.
#include "app/Mnemonics.h"
#include "project/MainWindowFixture.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QTest>

namespace tepa::test {
namespace {

using MainWindow = MainWindowFixture;

TEST_F(MainWindow, CaptionsComeFromTheirInterfaceTextLines)
{
    // The fixture's lines 0 to 9 carry words, the others read "Text n". Captions that share a
    // line, and lines far apart, show that each control takes its own line.
    const std::pair<QString, const char*> cases[] = {
        {form1->windowTitle(), "ORVA TEPA[*]"},    {form1->Projekt1->title(), "Projekt"},
        {form1->Speichern1->text(), "Speichern"},  {form1->Raumdaten1->text(), "Raumdaten"},
        {form1->GroupBox2->title(), "Raumdaten"},  {form1->Programmbeenden1->text(), "Text 120"},
        {form1->Orvapapier2->text(), "Text 148"},  {form1->Label11->text(), "Text 17"},
        {form1->RadioButton4->text(), "Text 253"},
    };
    // Menu captions carry their Alt letter's mark, which the texts do not have.
    for (const auto& [shown, expected] : cases)
        EXPECT_EQ(withoutMnemonic(shown).toStdString(), expected);
}

TEST_F(MainWindow, TextsOfTheBundledInstallationKeepTheirUmlauts)
{
    installedData = TEPA_SOURCE_DATA_DIR;
    createWindow();
    EXPECT_EQ(withoutMnemonic(form1->Programmbeenden1->text()).toStdString(), "Programm beenden");
    EXPECT_EQ(form1->text(154).toStdString(),
              "Der Projektordner „Projekte“ im Arbeitsverzeichnis konnte nicht angelegt werden. "
              "Bitte Laufwerk und Schreibrechte prüfen.");
}

TEST_F(MainWindow, OnlyProjectAndHelpCommandsAreOpenAtStart)
{
    const std::pair<QAction*, bool> cases[] = {
        {form1->Neu1, true},        {form1->Laden1, true},
        {form1->Speichern1, true},  {form1->Programmbeenden1, true},
        {form1->Info2, true},       {form1->Drucken1->menuAction(), false},
        {form1->Konvliste, false},  {form1->Projektdaten1, false},
        {form1->Raumdaten1, false}, {form1->Berechnungen1, false},
    };
    for (const auto& [action, enabled] : cases)
        EXPECT_EQ(action->isEnabled(), enabled) << action->objectName().toStdString();
    EXPECT_TRUE(form1->GroupBox1->isHidden());
    EXPECT_TRUE(form1->GroupBox2->isHidden());
}

TEST_F(MainWindow, ShortcutsReachTheirCommandsAndUndoNeverExits)
{
    form1->show();
    QApplication::setActiveWindow(form1.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form1.get()));
    session->Project.RoomName.setText("Raum");
    session->DemandChanged = true;
    // Ctrl+L: the save question, then the open dialog; Ctrl+S: save, refused while room data
    // changed; Ctrl+Z (undo out of habit): nothing; Ctrl+N: new, which asks; Ctrl+Q: exit, which
    // asks again (the new project is unchanged: no question).
    doubles.dialogs.answerOpen(std::nullopt);
    doubles.messages.expectQuestion("Text 121", platform::Answer::No)
        .expect(MessageKind::Message, "Text 117")
        .expectQuestion("Text 121", platform::Answer::No)
        .expectQuestion("Text 121", platform::Answer::Cancel);
    for (const Qt::Key key : {Qt::Key_L, Qt::Key_S, Qt::Key_Z, Qt::Key_N, Qt::Key_Q}) {
        SCOPED_TRACE(key);
        if (key == Qt::Key_Q)
            session->Project.RoomName.setText("Raum 2");
        QTest::keyClick(form1.get(), key, Qt::ControlModifier);
    }
    doubles.messages.verifyAllShown();
    EXPECT_EQ(doubles.dialogs.openRequests.size(), 1u);
    EXPECT_TRUE(form1->Projektdaten1->isEnabled()) << "new opened the data menus";
    EXPECT_EQ(form1->Programmbeenden1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_TRUE(form1->isVisible()) << "exit was cancelled";
}

} // namespace
} // namespace tepa::test
