// The main window's frame: captions from the interface texts, menu enabling and shortcuts.
#include "AppFixture.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QTest>

namespace tepa::test {
namespace {

class MainWindow : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        storeWorkDir(tempPath("work"));
    }
};

TEST_F(MainWindow, CaptionsComeFromTheirInterfaceTextLines)
{
    start();
    // The fixture's lines 0 to 9 carry words, the others read "Text n". Captions that share a
    // line, and lines far apart, show that each control takes its own line.
    const std::pair<QString, const char*> cases[] = {
        {form->windowTitle(), "ORVA TEPA[*]"},       {form->Projekt1->title(), "Projekt"},
        {form->Speichern1->text(), "Speichern"},  {form->Raumdaten1->text(), "Raumdaten"},
        {form->GroupBox2->title(), "Raumdaten"},  {form->Programmbeenden1->text(), "Text 120"},
        {form->Orvapapier2->text(), "Text 148"},  {form->Label11->text(), "Text 17"},
        {form->RadioButton4->text(), "Text 253"},
    };
    for (const auto& [shown, expected] : cases)
        EXPECT_EQ(shown.toStdString(), expected);
}

TEST_F(MainWindow, TextsOfTheBundledInstallationKeepTheirUmlauts)
{
    start(sourceDataDir());
    EXPECT_EQ(form->Programmbeenden1->text().toStdString(), "Programm beenden");
    EXPECT_EQ(form->text(154).toStdString(),
              "Der Projektordner „Projekte“ im Arbeitsverzeichnis konnte nicht angelegt werden. "
              "Bitte Laufwerk und Schreibrechte prüfen.");
}

TEST_F(MainWindow, OnlyProjectAndHelpCommandsAreOpenAtStart)
{
    start();
    const std::pair<QAction*, bool> cases[] = {
        {form->Neu1, true},        {form->Laden1, true},
        {form->Speichern1, true},  {form->Programmbeenden1, true},
        {form->Info2, true},       {form->Drucken1->menuAction(), false},
        {form->Konvliste, false},  {form->Projektdaten1, false},
        {form->Raumdaten1, false}, {form->Berechnungen1, false},
    };
    for (const auto& [action, enabled] : cases)
        EXPECT_EQ(action->isEnabled(), enabled) << action->objectName().toStdString();
    EXPECT_TRUE(form->GroupBox1->isHidden());
    EXPECT_TRUE(form->GroupBox2->isHidden());
}

TEST_F(MainWindow, ShortcutsReachTheirCommandsAndUndoNeverExits)
{
    start();
    form->show();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    session.Project.RoomName.setText("Raum");
    session.DemandChanged = true;
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
            session.Project.RoomName.setText("Raum 2");
        QTest::keyClick(form.get(), key, Qt::ControlModifier);
    }
    doubles.messages.verifyAllShown();
    EXPECT_EQ(doubles.dialogs.openRequests.size(), 1u);
    EXPECT_TRUE(form->Projektdaten1->isEnabled()) << "new opened the data menus";
    EXPECT_EQ(form->Programmbeenden1->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_TRUE(form->isVisible()) << "exit was cancelled";
}

} // namespace
} // namespace tepa::test
