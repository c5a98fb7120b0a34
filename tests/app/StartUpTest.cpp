// The start sequence: program directory, interface texts, working directory and its folders.
#include "app/Mnemonics.h"
#include "project/MainWindowFixture.h"

namespace tepa::test {
namespace {

using StartUp = MainWindowFixture;

const QString WorkDirValue = QStringLiteral("Arbeitsverzeichnis");

// A stored folder is used, cleaned, without asking; else one is asked for, neither the installation
// nor a file; an unused proposal is removed again; a folder that cannot be created is reported.
TEST_F(StartUp, WorkingDirectoryIsTheStoredOneElseAFolderThatCanHoldTheProjects)
{
    QDir().mkpath(tempPath("chosen"));
    writeFile(tempPath("a-file"), "not a folder");
    const QString installation = qPath(installDir());
    const QString proposed = tempPath("home/ORVA");
    for (const QString folder : {"Projekte", "tmp"}) { // a file there, which even root cannot replace
        QDir().mkpath(tempPath("work-" + folder));
        writeFile(tempPath("work-" + folder + "/" + folder), "not a folder");
    }
    // The stored value and the folder dialog's answers (nothing: cancelled).
    const std::pair<std::optional<QString>, std::vector<std::optional<QString>>> cases[] = {
        {tempPath("work/"), {}},
        {tempPath("a/../work//inner//"), {}},
        {std::nullopt, {std::nullopt}},
        {QStringLiteral("  "), {std::nullopt}},
        {std::nullopt, {installation, installation + "/Tepa_Bilder", tempPath("a-file"), tempPath("chosen")}},
        {tempPath("work-Projekte"), {}},
        {tempPath("work-tmp"), {}},
        {installation, {std::nullopt}}, // the proposal stays the working directory below
    };
    const auto shown = [&](QString s) { return s.replace(installation, "<installation>").replace(tempPath(""), "<tmp>/"); };
    recordBoxes = true;
    GoldenLines golden;
    for (const auto& [stored, chosen] : cases) {
        QDir(proposed).removeRecursively();
        doubles.settings.values.clear();
        if (stored)
            doubles.settings.values.insert(WorkDirValue, *stored);
        doubles.dialogs.directoryRequests.clear();
        for (const auto& answer : chosen)
            doubles.dialogs.answerDirectory(answer);
        createWindow();
        const QString workDir = qPath(session->WorkDir);
        ASSERT_EQ(doubles.dialogs.directoryRequests.size(), chosen.size());
        if (!chosen.empty()) {
            EXPECT_EQ(doubles.dialogs.directoryRequests.front().initialDir, proposed);
            EXPECT_TRUE(doubles.dialogs.initialDirExisted.back()) << "the dialog can open the proposal";
        }
        EXPECT_EQ(qPath(session->ProjectDir), workDir + "/Projekte");
        EXPECT_EQ(qPath(session->TmpDir), workDir + "/tmp");
        EXPECT_FALSE(doubles.settings.isOpen) << "the key is closed again after start-up";
        EXPECT_TRUE(form1->GroupBox4->isHidden()) << "the rest of the start sequence ran";
        EXPECT_FALSE(isDir(installation + "/Projekte"));
        golden({shown(stored.value_or("none")), shown(boxes.taken()), shown(workDir),
                "stored " + shown(doubles.settings.values.value(WorkDirValue)), isDir(proposed) ? "proposal made" : "",
                QString("folders %1%2").arg(isDir(workDir + "/Projekte")).arg(isDir(workDir + "/tmp"))});
    }

    // The project menu changes it later under the same rules.
    EXPECT_EQ(withoutMnemonic(form1->Arbeitsverzeichnis1->text()).toStdString(), "Text 271");
    doubles.dialogs.answerDirectory(installation).answerDirectory(std::nullopt).answerDirectory(tempPath("neu"));
    for (int i = 0; i < 3; ++i) {
        form1->Arbeitsverzeichnis1->trigger();
        EXPECT_EQ(qPath(session->WorkDir), i < 2 ? proposed : tempPath("neu"));
    }
    EXPECT_EQ(boxes.taken(), "message 'Text 272 / " + installation + "'");
    EXPECT_EQ(doubles.settings.values.value(WorkDirValue), tempPath("neu"));
    EXPECT_EQ(qPath(session->ProjectDir), tempPath("neu/Projekte"));
    EXPECT_TRUE(isDir(tempPath("neu/tmp")));
}

// The current folder is the program directory when it holds interface texts, else the
// installation, which becomes current.
TEST_F(StartUp, ProgramDirectoryIsTheCurrentFolderWithTextsElseTheInstallation)
{
    const QString own = tempPath("own");
    QDir().mkpath(own);
    QByteArray texts;
    for (int line = 0; line < 160; ++line)
        texts += QByteArray::number(line).rightJustified(3, '0') + "Zeile " + QByteArray::number(line) + "\r\n";
    writeFile(own + "/tepatext.txt", texts);
    const std::pair<QString, const char*> cases[] = {{own, "Zeile 120"}, {tempPath("."), "Text 120"}};
    for (const auto& [current, caption] : cases) {
        SCOPED_TRACE(caption);
        startFolder = current;
        createWindow();
        const QString expected = current == own ? own : qPath(installDir());
        EXPECT_EQ(QDir(qPath(session->ProgramDir)), QDir(expected)); // compared as canonical paths
        EXPECT_NE(qPath(session->ProgramDir).back(), QChar('/'));
        EXPECT_EQ(QDir::current(), QDir(expected));
        EXPECT_EQ(withoutMnemonic(form1->Programmbeenden1->text()).toStdString(), caption);
    }

    // Without interface texts the window still starts, with its design captions.
    installedData = tempPath("no-installation").toStdString();
    startFolder.clear();
    QDir().mkpath(tempPath("no-installation"));
    doubles.messages.expectAny(MessageKind::Error);
    createWindow();
    ASSERT_EQ(doubles.messages.shown().size(), 1);
    EXPECT_TRUE(doubles.messages.shown().front().contains("tepatext.txt"));
    EXPECT_TRUE(form1->text(0).isEmpty());
    EXPECT_FALSE(form1->Programmbeenden1->text().isEmpty());
}

} // namespace
} // namespace tepa::test
