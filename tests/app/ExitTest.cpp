// Ending the program through the exit command and by closing the main window.
#include "AppFixture.h"

#include <QAction>
#include <QDir>

namespace tepa::test {
namespace {

// How the save question before the end was answered, and whether the program ends.
struct ExitCase
{
    const char* what;
    bool saved;
    bool answerYes;
    bool roomDataChanged; // the save refuses with text 117
    bool dialogCancelled;
    const char* saveTo; // save dialog answer, relative to the temporary folder
    bool ends;
};

// clang-format off
const ExitCase exitCases[] = {
    {"saved project: no question",        true,  false, false, false, nullptr,                   true},
    {"unsaved, No: ends without writing", false, false, false, false, nullptr,                   true},
    {"unsaved, Yes, saved: ends",         false, true,  false, false, "work/Projekte/Raum 1.kon", true},
    {"unsaved, Yes, save refused",        false, true,  true,  false, nullptr,                   false},
    {"unsaved, Yes, dialog cancelled",    false, true,  false, true,  nullptr,                   false},
};
// clang-format on

class Exit : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        storeWorkDir(tempPath("work"));
    }

    QStringList projectFiles() const
    {
        return QDir(tempPath("work/Projekte")).entryList(QDir::Files | QDir::NoDotAndDotDot);
    }

    // A fresh window holding a project in the case's state, the answers scripted.
    void startWith(const ExitCase& c);
};

void Exit::startWith(const ExitCase& c)
{
    form.reset();
    session = Session{};
    start();
    form->show();
    session.ProjectSaved = c.saved;
    session.DemandChanged = c.roomDataChanged;
    if (!c.saved)
        doubles.messages.expect(MessageKind::YesNo, "Text 121", c.answerYes);
    if (c.roomDataChanged)
        doubles.messages.expect(MessageKind::Message, "Text 117");
    if (c.dialogCancelled)
        doubles.dialogs.answerSave(std::nullopt);
    if (c.saveTo)
        doubles.dialogs.answerSave(tempPath(c.saveTo));
}

TEST_F(Exit, ExitCommandQuitsOnlyWhenNothingWantedIsLost)
{
    for (const ExitCase& c : exitCases) {
        SCOPED_TRACE(c.what);
        startWith(c);

        // Quitting closes the windows; a second question from the main window would fail here.
        EXPECT_EQ(exitCodeAfter([&] { form->Programmbeenden1->trigger(); }), c.ends ? 0 : StillRunning);
        doubles.messages.verifyAllShown();
        doubles.dialogs.verifyAllUsed();
        EXPECT_EQ(form->isVisible(), !c.ends);
        EXPECT_EQ(session.ProjectSaved, c.saved || c.saveTo != nullptr);
        EXPECT_EQ(projectFiles().size(), c.saveTo ? 1 : 0);
        if (c.saveTo) {
            EXPECT_EQ(QFileInfo(tempPath(c.saveTo)).size(), 15858);
            QFile::remove(tempPath(c.saveTo));
        }
    }
}

TEST_F(Exit, ClosingTheWindowAsksTheSameWayAndCanBeRepeated)
{
    for (const ExitCase& c : exitCases) {
        SCOPED_TRACE(c.what);
        startWith(c);

        EXPECT_EQ(form->close(), c.ends);
        EXPECT_EQ(form->isVisible(), !c.ends);
        doubles.messages.verifyAllShown();
        doubles.dialogs.verifyAllUsed();
        EXPECT_EQ(projectFiles().size(), c.saveTo ? 1 : 0);
        if (c.saveTo)
            QFile::remove(tempPath(c.saveTo));
        if (!c.ends) {
            // The window that stayed open still closes later.
            doubles.messages.expect(MessageKind::YesNo, "Text 121", false);
            EXPECT_TRUE(form->close());
        }
    }
}

} // namespace
} // namespace tepa::test
