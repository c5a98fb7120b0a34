// The main window's frame: captions from the interface texts, menu enabling and shortcuts.
#include "app/Mnemonics.h"
#include "project/MainWindowFixture.h"

namespace tepa::test {
namespace {

using MainWindow = MainWindowFixture;

TEST_F(MainWindow, CaptionsMenusAndShortcutsAtStart)
{
    // Each control takes its own line of the interface texts.
    const std::pair<QString, const char*> captions[] = {
        {form1->windowTitle(), "ORVA TEPA[*]"},   {form1->Projekt1->title(), "Projekt"},
        {form1->GroupBox2->title(), "Raumdaten"}, {form1->Raumdaten1->text(), "Raumdaten"},
        {form1->Orvapapier2->text(), "Text 148"}, {form1->RadioButton4->text(), "Text 253"},
    };
    for (const auto& [shown, expected] : captions)
        EXPECT_EQ(withoutMnemonic(shown).toStdString(), expected);
    // Only the project and help commands are open at start.
    for (QAction* action : {form1->Neu1, form1->Laden1, form1->Speichern1, form1->Info2})
        EXPECT_TRUE(action->isEnabled()) << action->objectName().toStdString();
    for (QAction* action :
         {form1->Drucken1->menuAction(), form1->Konvliste, form1->Raumdaten1, form1->Berechnungen1})
        EXPECT_FALSE(action->isEnabled()) << action->objectName().toStdString();
    EXPECT_TRUE(form1->GroupBox2->isHidden());

    form1->show();
    QApplication::setActiveWindow(form1.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form1.get()));
    session->Project.RoomName.setText("Raum");
    session->DemandChanged = true;
    // Ctrl+L: question, then the dialog; Ctrl+S: refused (room data changed); Ctrl+Z: nothing;
    // Ctrl+N: question; Ctrl+Q: question.
    doubles.dialogs.answerOpen(std::nullopt);
    doubles.messages.expectQuestion("Text 121", platform::Answer::No)
        .expect(MessageKind::Message, "Text 117")
        .expectQuestion("Text 121", platform::Answer::No)
        .expectQuestion("Text 121", platform::Answer::Cancel);
    for (const Qt::Key key : {Qt::Key_L, Qt::Key_S, Qt::Key_Z, Qt::Key_N, Qt::Key_Q}) {
        if (key == Qt::Key_Q)
            session->Project.RoomName.setText("Raum 2");
        QTest::keyClick(form1.get(), key, Qt::ControlModifier);
    }
    doubles.messages.verifyAllShown();
    EXPECT_EQ(doubles.dialogs.openRequests.size(), 1u);
    EXPECT_TRUE(form1->Projektdaten1->isEnabled()) << "new opened the data menus";
    EXPECT_TRUE(form1->isVisible()) << "exit was cancelled";
}

} // namespace
} // namespace tepa::test
