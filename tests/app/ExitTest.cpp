// Ending the program through the exit command and by closing the main window.
#include "AppFixture.h"

#include <QAction>
#include <QDir>

namespace tepa::test {
namespace {

class Exit : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        storeWorkDir(tempPath("work"));
        start();
        form->show();
        QCoreApplication::processEvents();
    }

    QStringList projectFiles() const
    {
        return QDir(tempPath("work/Projekte")).entryList(QDir::Files | QDir::NoDotAndDotDot);
    }

    void unsavedChanges() { session.ProjectSaved = false; }
};

TEST_F(Exit, SavedProjectQuitsWithoutAQuestion)
{
    EXPECT_EQ(exitCodeAfter([&] { form->Programmbeenden1->trigger(); }), 0);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(Exit, UnsavedProjectAnsweredNoQuitsWithoutWriting)
{
    // Quitting closes the windows; a second question from the main window would fail here.
    unsavedChanges();
    doubles.messages.expect(MessageKind::YesNo, "Text 121", false);
    EXPECT_EQ(exitCodeAfter([&] { form->Programmbeenden1->trigger(); }), 0);
    EXPECT_TRUE(projectFiles().isEmpty());
    EXPECT_TRUE(doubles.dialogs.saveRequests.empty());
}

TEST_F(Exit, UnsavedProjectAnsweredYesIsSavedThenQuits)
{
    unsavedChanges();
    doubles.messages.expect(MessageKind::YesNo, "Text 121", true);
    doubles.dialogs.answerSave(tempPath("work/Projekte/Raum 1.kon"));
    EXPECT_EQ(exitCodeAfter([&] { form->Programmbeenden1->trigger(); }), 0);
    EXPECT_EQ(QFileInfo(tempPath("work/Projekte/Raum 1.kon")).size(), 15858);
    EXPECT_TRUE(session.ProjectSaved);
}

TEST_F(Exit, SaveThatDidNotHappenKeepsTheProgramRunning)
{
    struct Case
    {
        const char* what;
        bool roomDataChanged; // the save refuses with text 117
        bool dialogCancelled;
    };
    const Case cases[] = {
        {"save refused", true, false},
        {"save dialog cancelled", false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        unsavedChanges();
        session.DemandChanged = c.roomDataChanged;
        doubles.messages.expect(MessageKind::YesNo, "Text 121", true);
        if (c.roomDataChanged)
            doubles.messages.expect(MessageKind::Message, "Text 117");
        if (c.dialogCancelled)
            doubles.dialogs.answerSave(std::nullopt);

        EXPECT_EQ(exitCodeAfter([&] { form->Programmbeenden1->trigger(); }), StillRunning);
        doubles.messages.verifyAllShown();
        doubles.dialogs.verifyAllUsed();
        EXPECT_TRUE(form->isVisible());
        EXPECT_FALSE(session.ProjectSaved);
        EXPECT_TRUE(projectFiles().isEmpty());
    }
}

TEST_F(Exit, QuestionUsesTheInstalledWordingWithItsUmlauts)
{
    form.reset();
    // The first start made its installation the current directory; start afresh from outside.
    QDir::setCurrent(tempPath("."));
    start(sourceDataDir());
    unsavedChanges();
    doubles.messages.expect(
        MessageKind::YesNo,
        QString::fromUtf8("Das Projekt wurde seit der letzten Änderung nicht gespeichert. "
                          "Projekt jetzt speichern?"),
        false);
    EXPECT_EQ(exitCodeAfter([&] { form->Programmbeenden1->trigger(); }), 0);
}

TEST_F(Exit, ClosingTheWindow)
{
    struct Case
    {
        const char* what;
        bool saved;
        bool answerYes;
        bool roomDataChanged;
        const char* saveTo; // scripted save dialog answer, relative to the temporary folder
        bool closes;
    };
    // clang-format off
    const Case cases[] = {
        {"saved project closes without a question", true,  false, false, nullptr,                true},
        {"unsaved, No: closes without writing",     false, false, false, nullptr,                true},
        {"unsaved, Yes, saved: closes",             false, true,  false, "work/Projekte/a.kon",  true},
        {"unsaved, Yes, save refused: stays open",  false, true,  true,  nullptr,                false},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
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
        if (c.saveTo)
            doubles.dialogs.answerSave(tempPath(QString::fromLatin1(c.saveTo)));

        EXPECT_EQ(form->close(), c.closes);
        EXPECT_EQ(form->isVisible(), !c.closes);
        doubles.messages.verifyAllShown();
        doubles.dialogs.verifyAllUsed();
        EXPECT_EQ(projectFiles().size(), c.saveTo ? 1 : 0);
        for (const QString& file : projectFiles())
            QFile::remove(tempPath("work/Projekte/" + file));
    }
}

TEST_F(Exit, WindowThatStayedOpenCanStillBeClosedLater)
{
    unsavedChanges();
    session.DemandChanged = true;
    doubles.messages.expect(MessageKind::YesNo, "Text 121", true).expect(MessageKind::Message, "Text 117");
    EXPECT_FALSE(form->close());

    doubles.messages.expect(MessageKind::YesNo, "Text 121", false);
    EXPECT_TRUE(form->close());
}

} // namespace
} // namespace tepa::test
