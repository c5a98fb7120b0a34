#include "MainWindowFixture.h"

#include "core/model/ProjectCodec.h"
#include "core/model/ProjectReset.h"
#include "app/StartupChecks.h"
#include "project/ProjectPaths.h"

#include <QLockFile>

#include <chrono>
#include <fstream>

namespace tepa::test {
namespace {

QByteArray imageOf(const ProjectRecord& record)
{
    const std::vector<std::byte> image = ProjectCodec::encode(record);
    return QByteArray(reinterpret_cast<const char*>(image.data()), static_cast<qsizetype>(image.size()));
}

std::filesystem::path toPath(const QString& path)
{
    return std::filesystem::path(path.toStdU16String());
}

ProjectRecord decodeImage(const QByteArray& bytes)
{
    auto record = ProjectCodec::decode(std::as_bytes(std::span(bytes.constData(), bytes.size())));
    EXPECT_TRUE(record.ok());
    return record.ok() ? record.value() : ProjectRecord{};
}

TEST(ProjectPaths, CommandLineNamesTheFileByAllButTheLastThreeArguments)
{
    const std::pair<QStringList, std::optional<QString>> cases[] = {
        {{"/p/a.kon", "1", "2"}, std::nullopt},
        {{"/p/a.kon", "1", "2", "3"}, QString("/p/a.kon")},
        {{"C:\\ORVA\\Neuer", "Ordner", "Raum 1.kon", "a", "b", "c"},
         QString("C:\\ORVA\\Neuer Ordner Raum 1.kon")},
    };
    for (const auto& [arguments, expected] : cases)
        EXPECT_EQ(projectFileFromArguments(arguments), expected) << arguments.join('|').toStdString();
    // Bytes that are no valid UTF-8 (a Latin-1 "ä") name exactly the file given.
    EXPECT_EQ(projectPathFromArguments({"/p/R\xe4um", "1.kon", "a", "b", "c"}),
              std::filesystem::path("/p/R\xe4um 1.kon"));
    EXPECT_EQ(projectPathFromArguments({"a", "b", "c"}), std::nullopt);
}

class ProjectFilesWindow : public MainWindowFixture
{
protected:
    static QByteArray sampleImage() { return readBytes(QStringLiteral(TEPA_TEST_DATA_DIR "/sample-project.kon")); }

    QString writeProjectFile(const QString& name, const QByteArray& bytes)
    {
        const QString path = tempPath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
        return path;
    }

    QColor statusColour() const { return form1->Label19->palette().color(QPalette::Window); }
};

TEST_F(ProjectFilesWindow, LoadTakesTheFirstWholeRecordOrChangesNothing)
{
    const QByteArray sample = sampleImage();
    ASSERT_EQ(sample.size(), 15858);
    const QString folder = tempPath("ordner.kon");
    ASSERT_TRUE(QDir().mkpath(folder));
    struct Case
    {
        const char* what;
        std::optional<QString> answer;
        std::optional<MessageKind> box; // with boxText, or any text when that is empty
        QString boxText;
        bool loads;
    };
    const Case cases[] = {
        {"15858 bytes", writeProjectFile("Nordring.kon", sample), MessageKind::Information, text(213), true},
        {"20000 bytes", writeProjectFile("lang.kon", sample + QByteArray(20000 - 15858, '\xAB')),
         MessageKind::Information, text(213), true},
        {"one byte short", writeProjectFile("kurz.kon", sample.left(15857)), MessageKind::Message,
         QStringLiteral("Loading - Error"), false},
        {"cancelled", std::nullopt, std::nullopt, {}, false},
        {"not a file", folder, MessageKind::Error, {}, false},
        // The technical data file beside the projects, whatever its size, is no project.
        {"technical data", writeProjectFile("techdaten.kon", "\r\n\r\nTechnische Daten:   \r\n" + sample),
         MessageKind::Message, text(270) + "\ntechdaten.kon", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        createWindow();
        session->Project.Title.setText("Bestand");
        session->markProjectClean();
        const QByteArray before = imageOf(session->Project);
        session->DemandChanged = true;
        session->HeatingEntryIndex = 3;
        // The data files are read from the current directory, whatever a dialog made of it.
        QDir::setCurrent(tempPath(""));
        if (c.box && c.boxText.isEmpty())
            doubles.messages.expectAny(*c.box);
        else if (c.box)
            doubles.messages.expect(*c.box, c.boxText);

        doubles.dialogs.answerOpen(c.answer);
        form1->Laden1->trigger();

        doubles.messages.verifyAllShown();
        EXPECT_EQ(QDir::current(), QDir(QString::fromStdString(session->ProgramDir.string())));
        EXPECT_EQ(imageOf(session->Project), c.loads ? sample : before);
        EXPECT_FALSE(session->projectModified());
        EXPECT_EQ(session->ProjectLoaded, c.loads);
        EXPECT_EQ(session->DemandChanged, !c.loads);
        EXPECT_EQ(session->HeatingEntryIndex, c.loads ? 1 : 3);
        EXPECT_EQ(form1->Label19->isHidden(), !c.loads);
        EXPECT_EQ(form1->Drucken1->menuAction()->isEnabled(), c.loads);
        EXPECT_EQ(form1->ListBox2->count(), c.loads ? 2 : 0) << "the panel shows the loaded data";
        if (c.loads) {
            EXPECT_EQ(form1->Label19->text(), text(36) + "  " + QFileInfo(*c.answer).fileName());
            EXPECT_EQ(statusColour(), QColor(Qt::yellow));
        }
    }
}

TEST_F(ProjectFilesWindow, SaveThatDoesNotHappenLeavesTheProjectUnsavedAndTheOldEntry)
{
    // (Room data changed since the calculation run refuse the save before the dialog: see the
    // room data checks.)
    newProject();
    const QString occupied = projectDir() + "/belegt.kon";
    ASSERT_TRUE(QDir().mkpath(occupied));
    for (const bool cancel : {true, false}) {
        SCOPED_TRACE(cancel ? "dialog cancelled" : "file cannot be written");
        if (cancel) {
            doubles.dialogs.answerSave(std::nullopt);
        } else {
            doubles.dialogs.answerSave(occupied);
            doubles.messages.expectAny(MessageKind::Error);
        }

        EXPECT_FALSE(form1->Speichern1Click());

        doubles.messages.verifyAllShown();
        doubles.dialogs.verifyAllUsed();
        EXPECT_TRUE(form1->Label19->text().isEmpty());
        EXPECT_TRUE(QFileInfo(occupied).isDir());
        EXPECT_EQ(QDir(projectDir()).entryList(QDir::Files).size(), 0);
    }
    EXPECT_TRUE(doubles.messages.shown().back().contains("belegt.kon"));
}

TEST_F(ProjectFilesWindow, SaveMarksTheListsInUseFromTheirFirstEntries)
{
    struct Case
    {
        bool heatingEntry, coolingEntry, before, heatingAfter, coolingAfter;
    };
    // Only set, never cleared.
    const Case cases[] = {{true, false, false, true, false},
                          {false, true, false, false, true},
                          {false, false, true, true, true}};
    newProject();
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.heatingEntry << c.coolingEntry << c.before);
        session->Project.HeatingEntries[0].InUse = c.heatingEntry;
        session->Project.CoolingEntries[0].InUse = c.coolingEntry;
        session->Project.HeatingInUse = session->Project.CoolingInUse = c.before;
        doubles.dialogs.answerSave(tempPath("inuse.kon"));
        ASSERT_TRUE(form1->Speichern1Click());
        const ProjectRecord saved = decodeImage(readBytes(tempPath("inuse.kon")));
        EXPECT_EQ(saved.HeatingInUse, c.heatingAfter);
        EXPECT_EQ(saved.CoolingInUse, c.coolingAfter);
    }
}

// Every saved name is one the load dialog lists: ".kon" is added to any other, also to a name
// with a dot of its own.
TEST_F(ProjectFilesWindow, SaveThroughTheDialogWritesTheProjectUnderAListedNameAndShowsItInGreen)
{
    form1->Berechnungen1->setEnabled(true);
    newProject();
    EXPECT_FALSE(form1->Berechnungen1->isEnabled());
    form1->Berechnungen1->setEnabled(true);
    const std::pair<const char*, const char*> cases[] = {
        {"Büro 1.12", "Büro 1.12.kon"}, {"Raum", "Raum.kon"}, {"Alt.ORV", "Alt.ORV"}, {"Haus.Kon", "Haus.Kon"}};
    for (const auto& [typed, written] : cases) {
        SCOPED_TRACE(typed);
        doubles.dialogs.answerSave(projectDir() + "/" + QString::fromUtf8(typed));
        ASSERT_TRUE(form1->Speichern1Click());
        EXPECT_EQ(readBytes(projectDir() + "/" + QString::fromUtf8(written)), imageOf(session->Project));
        EXPECT_EQ(form1->Label19->text(), text(36) + "  " + QString::fromUtf8(written));
    }
    EXPECT_EQ(QDir(projectDir()).entryList(QDir::Files).size(), 4) << "only command-line mode writes techdaten";
    EXPECT_EQ(QDir(doubles.dialogs.saveRequests[0].initialDir), QDir(projectDir()));
    EXPECT_EQ(decodeImage(imageOf(session->Project)).Date.text(), todayShortDate());
    EXPECT_FALSE(session->projectModified());
    EXPECT_EQ(statusColour(), QColor(Qt::green));
    EXPECT_TRUE(form1->Berechnungen1->isEnabled()) << "saving changes no menu";
}

TEST_F(ProjectFilesWindow, CommandLineProjectIsOpenedAtStartAndNeverOverwrittenUnread)
{
    const QByteArray sample = sampleImage();
    struct Case
    {
        const char* what;
        std::optional<QByteArray> existing; // the named file before the start
        std::optional<MessageKind> atStart; // the box at start: 213 or "Loading - Error"
        std::optional<bool> overwrite;      // the question before the save, answered
        bool written;
    };
    const Case cases[] = {
        {"valid project: loaded, saved back unchanged", sample, MessageKind::Information, std::nullopt, true},
        {"missing: new project, created by the save", std::nullopt, std::nullopt, std::nullopt, true},
        {"unreadable, No: kept", sample.left(100), MessageKind::Message, false, false},
        {"unreadable, Yes: overwritten", sample.left(100), MessageKind::Message, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QString path = tempPath("Haus 1.kon");
        QFile::remove(path);
        if (c.existing)
            writeProjectFile("Haus 1.kon", *c.existing);
        // A name with a blank arrives split; a relative one is taken from the start folder.
        createWindow({"Haus", "1.kon", "a", "b", "c"}, tempPath(""));
        if (c.atStart == MessageKind::Information)
            doubles.messages.expect(MessageKind::Information, text(213));
        else if (c.atStart)
            doubles.messages.expect(MessageKind::Message, QStringLiteral("Loading - Error"));
        form1->openCommandLineProject();
        doubles.messages.verifyAllShown();
        EXPECT_EQ(session->ProjectLoaded, c.existing == sample);
        EXPECT_FALSE(form1->GroupBox1->isHidden()) << "the project data panel is open";
        if (c.overwrite)
            doubles.messages.expect(MessageKind::YesNo, text(121) + "\n" + path, *c.overwrite);

        EXPECT_EQ(form1->Speichern1Click(), c.written);

        doubles.messages.verifyAllShown();
        const QByteArray file = readBytes(path);
        if (!c.written)
            EXPECT_EQ(file, *c.existing);
        else if (c.existing == sample)
            EXPECT_EQ(file, sample);
        else
            EXPECT_EQ(decodeImage(file).Date.text(), todayShortDate());
    }
}

// Every valid file comes back byte for byte when it is loaded through the load command and saved
// unchanged, also after a project of the other dual-use kind left its choice on the buttons.
TEST_F(ProjectFilesWindow, LoadThenSaveReproducesEveryValidFileByteForByte)
{
    namespace L = layout::record;
    const QByteArray sample = sampleImage();
    struct Case
    {
        const char* what;
        QByteArray bytes;
    };
    const auto variant = [&](std::initializer_list<std::pair<std::size_t, char>> changes) {
        QByteArray bytes = sample;
        for (const auto& [offset, value] : changes)
            bytes[static_cast<qsizetype>(offset)] = value;
        return bytes;
    };
    const std::size_t heatingDual = L::HeatingDualUse.offset, coolingDual = L::CoolingDualUse.offset;
    const std::size_t heatingInUse = L::HeatingInUse.offset, coolingInUse = L::CoolingInUse.offset;
    // A list is in use exactly when its first entry is (saving sets the flag from it).
    const std::size_t heatingFirst = L::HeatingEntries.offset + layout::heating::InUse.offset;
    const std::size_t coolingFirst = L::CoolingEntries.offset + layout::cooling::InUse.offset;
    QByteArray emptiedList = readBytes(QStringLiteral(TEPA_TEST_DATA_DIR "/new-project.kon"));
    for (std::size_t i = 0; i < 4; ++i)
        emptiedList[static_cast<qsizetype>(L::HeatingEntryCount.offset + i)] = 0;
    const Case cases[] = {
        {"sample", sample},
        {"dual use in heating", variant({{heatingDual, 1}})},
        {"plain after dual use", sample},
        {"dual use in cooling", variant({{coolingDual, 1}})},
        {"heating only, dual use", variant({{coolingInUse, 0}, {coolingFirst, 0}, {heatingDual, 1}})},
        {"cooling only, dual use", variant({{heatingInUse, 0}, {heatingFirst, 0}, {coolingDual, 1}})},
        {"heating only after dual use", variant({{coolingInUse, 0}, {coolingFirst, 0}})},
        {"cooling only with both flags",
         variant({{heatingInUse, 0}, {heatingFirst, 0}, {coolingDual, 1}, {heatingDual, 1}})},
        {"new project", readBytes(QStringLiteral(TEPA_TEST_DATA_DIR "/new-project.kon"))},
        {"only heating entry deleted (count 0)", emptiedList},
        {"installed example", readBytes(QStringLiteral(TEPA_SOURCE_DATA_DIR "/Beispiel.kon"))},
    };
    createCalculationWindow();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(c.bytes.size(), 15858);
        const bool heating = c.bytes[static_cast<qsizetype>(heatingInUse)] != 0;
        const bool cooling = c.bytes[static_cast<qsizetype>(coolingInUse)] != 0;
        if (heating || cooling)
            doubles.messages.expect(MessageKind::Information, text(heating && cooling ? 213 : heating ? 214 : 215));
        load(writeProjectFile("original.kon", c.bytes));
        doubles.messages.verifyAllShown();
        // A project of one mode opens in it, the other mode locked.
        EXPECT_EQ(form1->RadioButton1->isEnabled(), heating || !cooling);
        EXPECT_EQ(form1->RadioButton2->isEnabled(), cooling || !heating);
        if (heating != cooling) {
            EXPECT_EQ(session->HeatingMode, heating);
        }
        EXPECT_NE(session->HeatingMode, session->CoolingMode);
        // The room data shown once, as a planner looks at them before saving.
        form1->Raumdaten1->trigger();
        doubles.dialogs.answerSave(tempPath("kopie.kon"));

        form1->Speichern1->trigger();

        EXPECT_EQ(firstDifference(readBytes(tempPath("kopie.kon")), c.bytes), -1);
        EXPECT_FALSE(session->projectModified());
    }
}

// Command-line mode writes a pair: the caller takes a present technical data file for the result
// of a saved project. A project that cannot be saved leaves neither file; a project named like
// its technical data file would be overwritten by it and is refused.
TEST_F(ProjectFilesWindow, CommandLineModeSavesTheProjectBeforeItsTechnicalDataOrNothing)
{
    const QString folder = tempPath("Lauf");
    ASSERT_TRUE(QDir().mkpath(folder + "/Raum.kon")); // a folder where the project would go
    struct Case
    {
        const char* name;
        int textLine; // the message; 0: the platform's error
    };
    const Case cases[] = {{"Raum.kon", 0}, {"techdaten.kon", 281}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        createWindow({folder + "/" + c.name, "a", "b", "c"});
        newProject();
        if (c.textLine)
            doubles.messages.expect(MessageKind::Message, text(c.textLine) + "\n" + folder + "/" + c.name);
        else
            doubles.messages.expectAny(MessageKind::Error);
        EXPECT_FALSE(form1->Speichern1Click());
        doubles.messages.verifyAllShown();
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{});
    }
}

// A second instance opening the same project reads it but cannot save over the first one's
// work; the save dialog offers the loaded file's folder and name.
TEST_F(ProjectFilesWindow, ProjectOpenElsewhereLoadsButIsNotSavedOverAndTheDialogOffersItsName)
{
    const QString path = writeProjectFile("Offen.kon", sampleImage());
    QLockFile otherInstance(tempPath(".Offen.kon.lock"));
    ASSERT_TRUE(otherInstance.tryLock(0));
    doubles.dialogs.answerOpen(path);
    doubles.messages.expect(MessageKind::Message, text(282) + "\n" + path);
    doubles.messages.expect(MessageKind::Information, text(213));
    form1->Laden1Click();
    doubles.messages.verifyAllShown();

    doubles.dialogs.answerSave(path);
    doubles.messages.expect(MessageKind::Message, text(283) + "\n" + path);
    EXPECT_FALSE(form1->Speichern1Click());
    doubles.messages.verifyAllShown();
    ASSERT_EQ(doubles.dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(QDir(doubles.dialogs.saveRequests[0].initialDir), QDir(tempPath("")));
    EXPECT_EQ(doubles.dialogs.saveRequests[0].fileName, QStringLiteral("Offen.kon"));

    otherInstance.unlock();
    doubles.dialogs.answerSave(path);
    EXPECT_TRUE(form1->Speichern1Click());
    EXPECT_TRUE(QFileInfo::exists(tempPath(".Offen.kon.lock"))) << "held while the project is open here";
}

// Saving under the name of the file this window holds keeps holding it; saving under another
// name moves the hold there, so the file left behind can be opened elsewhere again.
TEST_F(ProjectFilesWindow, SaveAsKeepsTheHoldOnTheOpenFileOrMovesItToTheNewOne)
{
    const auto heldHere = [this](const QString& name) {
        QLockFile probe(tempPath("." + name + ".lock"));
        probe.setStaleLockTime(0);
        if (probe.tryLock(0)) {
            probe.unlock();
            return false;
        }
        return probe.error() == QLockFile::LockFailedError;
    };
    const QString first = writeProjectFile("Eins.kon", sampleImage());
    doubles.messages.expect(MessageKind::Information, text(213));
    load(first);
    EXPECT_TRUE(heldHere("Eins.kon"));

    doubles.dialogs.answerSave(first);
    EXPECT_TRUE(form1->Speichern1Click());
    EXPECT_TRUE(heldHere("Eins.kon"));

    doubles.dialogs.answerSave(tempPath("Zwei.kon"));
    EXPECT_TRUE(form1->Speichern1Click());
    EXPECT_FALSE(heldHere("Eins.kon"));
    EXPECT_TRUE(heldHere("Zwei.kon"));
}

// At start: what killed saves left in the project folder goes, and damaged installation data are
// listed once (the program still starts).
TEST_F(ProjectFilesWindow, StartRemovesStaleTemporaryFilesAndReportsDamagedData)
{
    const std::filesystem::path stale = toPath(projectDir()) / ".tepa-abc123";
    std::ofstream(stale) << "half a project";
    std::filesystem::last_write_time(stale, std::filesystem::file_time_type::clock::now() - std::chrono::hours(48));
    runStartupChecks(*form1, doubles.messages);
    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_TRUE(doubles.messages.shown().isEmpty());

    const std::filesystem::path damaged = toPath(tempPath("install"));
    std::filesystem::copy(installDir(), damaged);
    std::ofstream(damaged / "bauhoehen.txt", std::ios::app) << "x\r\n";
    session->ProgramDir = damaged;
    doubles.messages.expectAny(MessageKind::Message);
    runStartupChecks(*form1, doubles.messages);
    doubles.messages.verifyAllShown();
    EXPECT_TRUE(doubles.messages.shown().back().startsWith(text(277) + "\nbauhoehen.txt:19: "))
        << doubles.messages.shown().back().toStdString();
}

} // namespace
} // namespace tepa::test
