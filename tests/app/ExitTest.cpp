// Ending the program through the exit command and by closing the main window.
#include "project/MainWindowFixture.h"

#include <tuple>

namespace tepa::test {
namespace {

using platform::Answer;

// Whether the project was saved, the answer to the save question, whether the room data changed
// (the save refuses), the save dialog cancelled, where it saved, and whether the program ends.
// clang-format off
const std::tuple<const char*, bool, Answer, bool, bool, const char*, bool> exitCases[] = {
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
    for (const auto& [what, saved, answer, roomDataChanged, dialogCancelled, saveTo, ends] : exitCases) {
        SCOPED_TRACE(what);
        createWindow();
        form1->show();
        if (!saved) {
            session->Project.RoomName.setText("Raum 1");
            doubles.messages.expectQuestion("Text 121", answer);
        }
        session->DemandChanged = roomDataChanged;
        if (roomDataChanged)
            doubles.messages.expect(MessageKind::Message, "Text 117");
        if (dialogCancelled || saveTo)
            doubles.dialogs.answerSave(saveTo ? std::optional(tempPath(saveTo)) : std::nullopt);

        // Quitting closes the windows; a second question from the main window would fail here.
        EXPECT_EQ(exitCodeAfter([&] { form1->Programmbeenden1->trigger(); }), ends ? 0 : StillRunning);
        doubles.messages.verifyAllShown();
        doubles.dialogs.verifyAllUsed();
        EXPECT_EQ(form1->isVisible(), !ends);
        EXPECT_EQ(session->projectModified(), !saved && saveTo == nullptr);
        EXPECT_EQ(QDir(tempPath("work/Projekte")).entryList(QDir::Files).size(), saveTo ? 1 : 0);
        if (saveTo) {
            EXPECT_EQ(QFileInfo(tempPath(saveTo)).size(), 15858);
            QFile::remove(tempPath(saveTo));
        }
    }
}

} // namespace
} // namespace tepa::test
