// The start sequence: program directory, interface texts, working directory and its folders.
#include "app/Mnemonics.h"
#include "project/MainWindowFixture.h"

#include <QAction>
#include <QGroupBox>
#include <QMenu>

namespace tepa::test {
namespace {

using StartUp = MainWindowFixture;

const QString WorkDirValue = QStringLiteral("Arbeitsverzeichnis");

TEST_F(StartUp, StoredWorkingDirectoryIsUsedCleanedWithoutAsking)
{
    const std::pair<const char*, const char*> cases[] = {
        {"work", "work"}, {"work/", "work"}, {"a/../work//inner//", "work/inner"}};
    for (const auto& [stored, cleaned] : cases) {
        SCOPED_TRACE(stored);
        storeWorkDir(tempPath(stored));
        createWindow(); // a dialog or message would fail the test
        const QString work = tempPath(cleaned);
        EXPECT_EQ(qPath(session->WorkDir).toStdString(), work.toStdString());
        EXPECT_EQ(qPath(session->ProjectDir).toStdString(), (work + "/Projekte").toStdString());
        EXPECT_EQ(qPath(session->TmpDir).toStdString(), (work + "/tmp").toStdString());
        EXPECT_TRUE(isDir(work + "/Projekte"));
        EXPECT_TRUE(isDir(work + "/tmp"));
        EXPECT_FALSE(doubles.settings.isOpen) << "the key is closed again after start-up";
        destroyWindow();
    }
}

TEST_F(StartUp, MissingBlankOrInstalledValueAsksForAFolderThatCanHoldTheProjects)
{
    struct Case
    {
        const char* what;
        std::optional<QString> stored;
        std::vector<std::optional<QString>> chosen; // folder dialog answers; nothing: cancelled
        QStringList refused;                        // folders refused on the way, in order
        QString workDir;
    };
    QDir().mkpath(tempPath("chosen"));
    writeFile(tempPath("a-file"), "not a folder");
    const QString installation = qPath(installDir());
    const QString proposed = tempPath("home/ORVA");
    const Case cases[] = {
        {"missing, folder chosen", std::nullopt, {tempPath("chosen")}, {}, tempPath("chosen")},
        {"missing, cancelled", std::nullopt, {std::nullopt}, {}, proposed},
        {"blank, cancelled", QStringLiteral("  "), {std::nullopt}, {}, proposed},
        {"installation and a file refused",
         std::nullopt,
         {installation, installation + "/Tepa_Bilder", tempPath("a-file"), tempPath("chosen")},
         {installation, installation + "/Tepa_Bilder", tempPath("a-file")},
         tempPath("chosen")},
        {"stored inside the installation", installation, {std::nullopt}, {}, proposed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QDir(proposed).removeRecursively();
        doubles.settings.values.clear();
        if (c.stored)
            storeWorkDir(*c.stored);
        doubles.dialogs.directoryRequests.clear();
        doubles.messages.expect(MessageKind::Message, "Text 153");
        for (const QString& folder : c.refused)
            doubles.messages.expect(MessageKind::Message, "Text 272\n" + QDir::toNativeSeparators(folder));
        for (const auto& answer : c.chosen)
            doubles.dialogs.answerDirectory(answer);
        createWindow();

        doubles.messages.verifyAllShown();
        ASSERT_EQ(doubles.dialogs.directoryRequests.size(), c.chosen.size());
        EXPECT_EQ(doubles.dialogs.directoryRequests.front().initialDir.toStdString(), proposed.toStdString());
        EXPECT_TRUE(doubles.dialogs.initialDirExisted.back()) << "the dialog can open the proposal";
        EXPECT_EQ(isDir(proposed), c.workDir == proposed) << "an unused proposal is removed again";
        EXPECT_EQ(qPath(session->WorkDir).toStdString(), c.workDir.toStdString());
        EXPECT_EQ(doubles.settings.values.value(WorkDirValue).toStdString(), c.workDir.toStdString());
        EXPECT_TRUE(isDir(c.workDir + "/Projekte"));
        EXPECT_TRUE(isDir(c.workDir + "/tmp"));
        EXPECT_FALSE(isDir(installation + "/Projekte"));
        EXPECT_FALSE(doubles.settings.isOpen);
        destroyWindow();
    }
}

TEST_F(StartUp, WorkingFolderCanBeChangedLaterFromTheProjectMenu)
{
    storeWorkDir(tempPath("work"));
    createWindow();
    EXPECT_EQ(withoutMnemonic(form1->Arbeitsverzeichnis1->text()).toStdString(), "Text 271");
    const QString installation = qPath(installDir());
    doubles.dialogs.answerDirectory(installation)
        .answerDirectory(std::nullopt)
        .answerDirectory(tempPath("neu"));
    doubles.messages.expect(MessageKind::Message, "Text 272\n" + QDir::toNativeSeparators(installation));
    for (int i = 0; i < 3; ++i) {
        form1->Arbeitsverzeichnis1->trigger();
        EXPECT_EQ(qPath(session->WorkDir), tempPath(i < 2 ? "work" : "neu"));
    }
    EXPECT_EQ(doubles.dialogs.directoryRequests.front().initialDir, tempPath("work"));
    EXPECT_EQ(doubles.settings.values.value(WorkDirValue), tempPath("neu"));
    EXPECT_EQ(qPath(session->ProjectDir), tempPath("neu/Projekte"));
    EXPECT_TRUE(isDir(tempPath("neu/tmp")));
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
        createWindow();
        doubles.messages.verifyAllShown();

        EXPECT_EQ(isDir(work + "/Projekte"), !c.blockProjects);
        EXPECT_EQ(isDir(work + "/tmp"), !c.blockTmp);
        EXPECT_TRUE(form1->GroupBox4->isHidden()) << "the rest of the start sequence ran";
        destroyWindow();
    }
}

TEST_F(StartUp, ProgramDirectoryIsTheCurrentFolderWithTextsElseTheInstallationAndBecomesCurrent)
{
    // A planner's own installation: its texts win over the installed ones.
    const QString own = tempPath("own");
    QDir().mkpath(own);
    QByteArray texts;
    for (int line = 0; line < 160; ++line)
        texts +=
            QByteArray::number(line).rightJustified(3, '0') + "Zeile " + QByteArray::number(line) + "\r\n";
    writeFile(own + "/tepatext.txt", texts);
    storeWorkDir(tempPath("work"));
    const std::pair<QString, const char*> cases[] = {{own, "Zeile 120"}, {tempPath("."), "Text 120"}};
    for (const auto& [current, caption] : cases) {
        SCOPED_TRACE(caption);
        startFolder = current;
        createWindow();
        const QString expected = current == own ? own : qPath(installDir());
        EXPECT_EQ(canonical(qPath(session->ProgramDir)), canonical(expected));
        EXPECT_NE(qPath(session->ProgramDir).back(), QChar('/'));
        // The data files are read relative to the current directory.
        EXPECT_EQ(canonical(QDir::currentPath()), canonical(expected));
        EXPECT_EQ(withoutMnemonic(form1->Programmbeenden1->text()).toStdString(), caption);
        destroyWindow();
    }
}

TEST_F(StartUp, MissingInterfaceTextsAreReportedAndTheWindowStillStarts)
{
    const QString empty = tempPath("no-installation");
    QDir().mkpath(empty);
    storeWorkDir(tempPath("work"));
    doubles.messages.expectAny(MessageKind::Error);
    installedData = empty.toStdString();
    createWindow();

    ASSERT_EQ(doubles.messages.shown().size(), 1);
    EXPECT_TRUE(doubles.messages.shown().front().contains("tepatext.txt"));
    EXPECT_TRUE(form1->text(0).isEmpty());
    // Design captions stay, so the window can still be read and ended.
    EXPECT_FALSE(form1->Programmbeenden1->text().isEmpty());
    EXPECT_TRUE(isDir(tempPath("work/Projekte")));
}

} // namespace
} // namespace tepa::test
