// Ending the program through the exit command and by closing the main window.
#include "project/MainWindowFixture.h"

namespace tepa::test {
namespace {

using platform::Answer;

// How the save question before the end was answered, and whether the program ends.
struct ExitCase
{
    const char* what;
    bool saved; // the project is as it was last saved
    Answer answer;
    bool roomDataChanged; // the save refuses with text 117
    bool dialogCancelled;
    const char* saveTo; // save dialog answer, relative to the temporary folder
    bool ends;
};

// clang-format off
const ExitCase exitCases[] = {
    {"saved project: no question",        true,  Answer::No,     false, false, nullptr,                   true},
    {"unsaved, No: ends without writing", false, Answer::No,     false, false, nullptr,                   true},
    {"unsaved, Cancel: stays",            false, Answer::Cancel, false, false, nullptr,                   false},
    {"unsaved, Yes, saved: ends",         false, Answer::Yes,    false, false, "work/Projekte/Raum 1.kon", true},
    {"unsaved, Yes, save refused",        false, Answer::Yes,    true,  false, nullptr,                   false},
    {"unsaved, Yes, dialog cancelled",    false, Answer::Yes,    false, true,  nullptr,                   false},
};
// clang-format on

using Exit = MainWindowFixture;

TEST_F(Exit, ExitCommandQuitsOnlyWhenNothingWantedIsLost)
{
    for (const ExitCase& c : exitCases) {
        SCOPED_TRACE(c.what);
        createWindow();
        form1->show();
        if (!c.saved) {
            session->Project.RoomName.setText("Raum 1");
            doubles.messages.expectQuestion("Text 121", c.answer);
        }
        session->DemandChanged = c.roomDataChanged;
        if (c.roomDataChanged)
            doubles.messages.expect(MessageKind::Message, "Text 117");
        if (c.dialogCancelled)
            doubles.dialogs.answerSave(std::nullopt);
        if (c.saveTo)
            doubles.dialogs.answerSave(tempPath(c.saveTo));

        // Quitting closes the windows; a second question from the main window would fail here.
        EXPECT_EQ(exitCodeAfter([&] { form1->Programmbeenden1->trigger(); }), c.ends ? 0 : StillRunning);
        doubles.messages.verifyAllShown();
        doubles.dialogs.verifyAllUsed();
        EXPECT_EQ(form1->isVisible(), !c.ends);
        EXPECT_EQ(session->projectModified(), !c.saved && c.saveTo == nullptr);
        EXPECT_EQ(QDir(tempPath("work/Projekte")).entryList(QDir::Files).size(), c.saveTo ? 1 : 0);
        if (c.saveTo) {
            EXPECT_EQ(QFileInfo(tempPath(c.saveTo)).size(), 15858);
            QFile::remove(tempPath(c.saveTo));
        }
    }
}

} // namespace
} // namespace tepa::test
