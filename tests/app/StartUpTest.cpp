// The start sequence: program directory, interface texts, working directory and its folders.
#include "AppFixture.h"

#include <QAction>
#include <QGroupBox>
#include <QMenu>

namespace tepa::test {
namespace {

using StartUp = AppFixture;

const QString WorkDirValue = QStringLiteral("Arbeitsverzeichnis");

TEST_F(StartUp, StoredWorkingDirectoryIsUsedWithoutAsking)
{
    storeWorkDir(tempPath("work"));
    start();

    EXPECT_EQ(qPath(session.WorkDir).toStdString(), tempPath("work").toStdString());
    EXPECT_EQ(qPath(session.ProjectDir).toStdString(), tempPath("work/Projekte").toStdString());
    EXPECT_EQ(qPath(session.TmpDir).toStdString(), tempPath("work/tmp").toStdString());
    EXPECT_TRUE(isDir(tempPath("work/Projekte")));
    EXPECT_TRUE(isDir(tempPath("work/tmp")));
    EXPECT_EQ(doubles.settings.values.value(WorkDirValue).toStdString(), tempPath("work").toStdString());
    EXPECT_FALSE(doubles.settings.isOpen) << "the key is closed again after start-up";
    EXPECT_TRUE(doubles.dialogs.saveRequests.empty());
}

TEST_F(StartUp, StoredValueIsTakenWithoutTrailingSeparatorOrDotSegments)
{
    struct Case
    {
        const char* stored;
        const char* workDir;
    };
    // clang-format off
    const Case cases[] = {
        {"work/",          "work"},
        {"a/../work",      "work"},
        {"work//inner//",  "work/inner"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        storeWorkDir(tempPath(QString::fromLatin1(c.stored)));
        start();
        const QString expected = tempPath(QString::fromLatin1(c.workDir));
        EXPECT_EQ(qPath(session.WorkDir).toStdString(), expected.toStdString());
        EXPECT_EQ(qPath(session.ProjectDir).toStdString(), (expected + "/Projekte").toStdString());
        EXPECT_TRUE(isDir(expected + "/tmp"));
        form.reset();
    }
}

TEST_F(StartUp, MissingValueAsksAndTakesTheFolderOfTheChosenFile)
{
    QDir().mkpath(tempPath("chosen"));
    doubles.messages.expect(MessageKind::Message, "Text 153");
    doubles.dialogs.answerSave(tempPath("chosen/tepa"));
    start();

    ASSERT_EQ(doubles.dialogs.saveRequests.size(), 1u);
    const platform::FileDialogRequest& request = doubles.dialogs.saveRequests.front();
    EXPECT_EQ(request.fileName.toStdString(), "tepa");
    EXPECT_EQ(request.initialDir.toStdString(), tempPath("home/ORVA").toStdString());

    EXPECT_EQ(qPath(session.WorkDir).toStdString(), tempPath("chosen").toStdString());
    EXPECT_EQ(doubles.settings.values.value(WorkDirValue).toStdString(), tempPath("chosen").toStdString());
    EXPECT_TRUE(isDir(tempPath("chosen/Projekte")));
    EXPECT_TRUE(isDir(tempPath("chosen/tmp")));
    EXPECT_FALSE(doubles.settings.isOpen);
}

TEST_F(StartUp, MissingValueWithCancelledDialogUsesTheDefaultFolderAndStoresIt)
{
    doubles.messages.expect(MessageKind::Message, "Text 153");
    doubles.dialogs.answerSave(std::nullopt);
    start();

    const QString defaultDir = tempPath("home/ORVA");
    EXPECT_EQ(qPath(session.WorkDir).toStdString(), defaultDir.toStdString());
    EXPECT_EQ(doubles.settings.values.value(WorkDirValue).toStdString(), defaultDir.toStdString());
    EXPECT_TRUE(isDir(defaultDir + "/Projekte"));
    EXPECT_TRUE(isDir(defaultDir + "/tmp"));
}

TEST_F(StartUp, BlankValueIsAskedForLikeAMissingOne)
{
    storeWorkDir(QStringLiteral("  "));
    doubles.messages.expect(MessageKind::Message, "Text 153");
    doubles.dialogs.answerSave(std::nullopt);
    start();

    EXPECT_EQ(qPath(session.WorkDir).toStdString(), tempPath("home/ORVA").toStdString());
    EXPECT_EQ(doubles.settings.values.value(WorkDirValue).toStdString(), tempPath("home/ORVA").toStdString());
}

TEST_F(StartUp, FolderThatCannotBeCreatedIsReportedAndStartUpGoesOn)
{
    struct Case
    {
        bool blockProjects;
        bool blockTmp;
        QStringList messages;
    };
    const Case cases[] = {
        {true, false, {"Text 154"}},
        {false, true, {"Text 155"}},
        {true, true, {"Text 154", "Text 155"}},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.messages.join(", ").toStdString());
        // A file where the folder should be: creating the folder fails even for root.
        const QString work = tempPath(QStringLiteral("work%1").arg(++n));
        QDir().mkpath(work);
        if (c.blockProjects)
            writeFile(work + "/Projekte", "not a folder");
        if (c.blockTmp)
            writeFile(work + "/tmp", "not a folder");
        storeWorkDir(work);
        for (const QString& message : c.messages)
            doubles.messages.expect(MessageKind::Message, message);
        start();
        doubles.messages.verifyAllShown();

        EXPECT_EQ(isDir(work + "/Projekte"), !c.blockProjects);
        EXPECT_EQ(isDir(work + "/tmp"), !c.blockTmp);
        // The rest of the start sequence still ran.
        EXPECT_EQ(form->Neu1->text().toStdString(), "Neu");
        EXPECT_TRUE(form->GroupBox4->isHidden());
        form.reset();
    }
}

TEST_F(StartUp, InitialFlagsAreSetWhateverTheSessionHeldBefore)
{
    session.ProjectSaved = false;
    session.ProjectTouched = true;
    session.CoolingMode = true;
    session.HeatingMode = false;
    session.ProjectLoaded = true;
    session.ProjectDataShown = true;
    session.RoomDataShown = true;
    storeWorkDir(tempPath("work"));
    start();

    EXPECT_TRUE(session.ProjectSaved);
    EXPECT_FALSE(session.ProjectTouched);
    EXPECT_FALSE(session.CoolingMode);
    EXPECT_TRUE(session.HeatingMode);
    EXPECT_FALSE(session.ProjectLoaded);
    EXPECT_FALSE(session.ProjectDataShown);
    EXPECT_FALSE(session.RoomDataShown);
}

TEST_F(StartUp, CurrentFolderWithInterfaceTextsIsTheProgramDirectory)
{
    // A planner's own installation: its texts win over the installed ones.
    const QString own = tempPath("own");
    QDir().mkpath(own);
    QByteArray texts = "000Eigene Texte\r\n001Eigenes Projekt\r\n002Neu!\r\n";
    for (int line = 3; line < 160; ++line)
        texts +=
            QByteArray::number(line).rightJustified(3, '0') + "Zeile " + QByteArray::number(line) + "\r\n";
    writeFile(own + "/tepatext.txt", texts);
    QDir::setCurrent(own);
    storeWorkDir(tempPath("work"));
    start();

    EXPECT_EQ(canonical(qPath(session.ProgramDir)).toStdString(), canonical(own).toStdString());
    EXPECT_EQ(canonical(QDir::currentPath()).toStdString(), canonical(own).toStdString());
    EXPECT_EQ(form->windowTitle().toStdString(), "Eigene Texte");
    EXPECT_EQ(form->Projekt1->title().toStdString(), "Eigenes Projekt");
    EXPECT_EQ(form->Neu1->text().toStdString(), "Neu!");
    EXPECT_EQ(form->Programmbeenden1->text().toStdString(), "Zeile 120");
}

TEST_F(StartUp, CurrentFolderWithoutInterfaceTextsFallsBackToTheInstallationAndMakesItCurrent)
{
    storeWorkDir(tempPath("work"));
    start();

    EXPECT_EQ(canonical(qPath(session.ProgramDir)).toStdString(), canonical(installDir()).toStdString());
    // The data files are read relative to the current directory.
    EXPECT_EQ(canonical(QDir::currentPath()).toStdString(), canonical(installDir()).toStdString());
    EXPECT_NE(qPath(session.ProgramDir).back(), QChar('/'));
    EXPECT_EQ(session.InterfaceTexts.line(121), "Text 121");
    EXPECT_EQ(form->text(121).toStdString(), "Text 121");
}

TEST_F(StartUp, MissingInterfaceTextsAreReportedAndTheWindowStillStarts)
{
    const QString empty = tempPath("no-installation");
    QDir().mkpath(empty);
    storeWorkDir(tempPath("work"));
    doubles.messages.expectAny(MessageKind::Error);
    start(fsPath(empty));

    ASSERT_EQ(doubles.messages.shown().size(), 1);
    const QString error = doubles.messages.shown().front();
    EXPECT_TRUE(error.contains("tepatext.txt")) << error.toStdString();
    EXPECT_TRUE(error.contains(QString::fromUtf8("kann nicht geöffnet werden"))) << error.toStdString();
    EXPECT_EQ(session.InterfaceTexts.size(), 0u);
    EXPECT_TRUE(form->text(0).isEmpty());
    // Design captions stay, so the window can still be read and ended.
    EXPECT_EQ(form->windowTitle().toStdString(), "ORVA TEPA");
    EXPECT_FALSE(form->Programmbeenden1->text().isEmpty());
    EXPECT_TRUE(isDir(tempPath("work/Projekte")));
}

} // namespace
} // namespace tepa::test
