#include "MainWindowFixture.h"

#include "core/model/ProjectReset.h"
#include "app/StartupChecks.h"
#include "project/ProjectPaths.h"

#include <QLockFile>

#include <fstream>
#include <tuple>

namespace tepa::test {
namespace {

TEST(ProjectPaths, CommandLineNamesTheFileByAllButTheLastThreeArguments)
{
    const std::pair<QStringList, std::optional<QString>> cases[] = {
        {{"/p/a.kon", "1", "2"}, std::nullopt},
        {{"C:\\ORVA\\Neuer", "Ordner", "Raum 1.kon", "a", "b", "c"}, QString("C:\\ORVA\\Neuer Ordner Raum 1.kon")},
    };
    for (const auto& [arguments, expected] : cases)
        EXPECT_EQ(projectFileFromArguments(arguments), expected) << arguments.join('|').toStdString();
    // Bytes that are no valid UTF-8 (a Latin-1 "ä") name exactly the file given.
    EXPECT_EQ(projectPathFromArguments({"/p/R\xe4um", "1.kon", "a", "b", "c"}), std::filesystem::path("/p/R\xe4um 1.kon"));
    EXPECT_EQ(projectPathFromArguments({"a", "b", "c"}), std::nullopt);
}

class ProjectFilesWindow : public MainWindowFixture
{
protected:
    static QByteArray sampleImage() { return readBytes(QStringLiteral(TEPA_TEST_DATA_DIR "/sample-project.kon")); }

    QString writeProjectFile(const QString& name, const QByteArray& bytes) { return writeFile(tempPath(name), bytes), tempPath(name); }

    QColor statusColour() const { return form1->Label19->palette().color(QPalette::Window); }

    bool held(const QString& name) const
    {
        QLockFile probe(tempPath("." + name + ".lock"));
        probe.setStaleLockTime(0);
        return !probe.tryLock(0) && probe.error() == QLockFile::LockFailedError;
    }
};

// A load takes a whole record or changes nothing (the technical data file is no project); the
// data files are read from the program folder, whatever a dialog made the current folder.
TEST_F(ProjectFilesWindow, LoadTakesAWholeRecordOrChangesNothing)
{
    const QByteArray sample = sampleImage();
    ASSERT_TRUE(QDir().mkpath(tempPath("ordner.kon")));
    const std::pair<const char*, std::optional<QString>> cases[] = {
        {"15858 bytes", writeProjectFile("Nordring.kon", sample)},
        {"one byte short", writeProjectFile("kurz.kon", sample.left(15857))},
        {"cancelled", std::nullopt},
        {"not a file", tempPath("ordner.kon")},
        {"technical data", writeProjectFile("techdaten.kon", "\r\n\r\nTechnische Daten:   \r\n" + sample)},
    };
    recordBoxes = true;
    GoldenLines golden;
    for (const auto& [what, answer] : cases) {
        createWindow();
        session->Project.Title.setText("Bestand");
        session->markProjectClean();
        const QByteArray before = imageOf(session->Project);
        session->DemandChanged = true;
        session->HeatingEntryIndex = 3;
        QDir::setCurrent(tempPath(""));
        doubles.dialogs.answerOpen(answer);
        form1->Laden1->trigger();

        EXPECT_EQ(QDir::current(), QDir(QString::fromStdString(session->ProgramDir.string())));
        EXPECT_FALSE(session->projectModified());
        const QByteArray now = imageOf(session->Project);
        golden({what, boxes.taken().replace(tempPath(""), "<tmp>/"), now == sample ? "sample" : now == before ? "before" : "other",
                QString("loaded %1 demand changed %2 entry %3").arg(session->ProjectLoaded).arg(session->DemandChanged)
                    .arg(session->HeatingEntryIndex),
                QString("print %1 attachments %2").arg(form1->Drucken1->menuAction()->isEnabled())
                    .arg(form1->ListBox2->count()),
                form1->Label19->isHidden() ? "status hidden" : form1->Label19->text() + " " + statusColour().name()});
    }
}

// A saved name gets ".kon" unless the load dialog lists it. Saving marks a list in use from its
// first entry, never clears the mark.
TEST_F(ProjectFilesWindow, SaveThroughTheDialogWritesTheProjectUnderAListedNameOrNothing)
{
    recordBoxes = true;
    createWindow();
    form1->Berechnungen1->setEnabled(true);
    newProject();
    EXPECT_FALSE(form1->Berechnungen1->isEnabled());
    form1->Berechnungen1->setEnabled(true);
    const QString occupied = projectDir() + "/belegt.kon";
    ASSERT_TRUE(QDir().mkpath(occupied));
    // The name typed, the first heating and cooling entries in use, both list flags before.
    const std::tuple<std::optional<QString>, bool, bool, bool> cases[] = {
        {std::nullopt, false, false, false}, {occupied, false, false, false}, {"Büro 1.12", true, false, false},
        {"Raum", false, true, false},        {"Alt.ORV", false, false, true}, {"Haus.Kon", false, false, false},
    };
    GoldenLines golden;
    for (const auto& [typed, heatingEntry, coolingEntry, before] : cases) {
        session->Project.HeatingEntries[0].InUse = heatingEntry;
        session->Project.CoolingEntries[0].InUse = coolingEntry;
        session->Project.HeatingInUse = session->Project.CoolingInUse = before;
        const QStringList filesBefore = QDir(projectDir()).entryList(QDir::Files);
        doubles.dialogs.answerSave(typed && !typed->startsWith('/') ? projectDir() + "/" + *typed : typed);

        const bool saved = form1->Speichern1Click();

        QStringList written = QDir(projectDir()).entryList(QDir::Files);
        for (const QString& name : filesBefore)
            written.removeOne(name);
        QString inFile;
        if (written.size() == 1) {
            const QByteArray bytes = readBytes(projectDir() + "/" + written[0]);
            EXPECT_EQ(bytes, imageOf(session->Project));
            inFile = QString("in use %1%2").arg(decoded(bytes).HeatingInUse).arg(decoded(bytes).CoolingInUse);
        }
        golden({typed.value_or("cancelled").replace(projectDir(), "<projects>"), saved ? "saved" : "not saved",
                boxes.taken().replace(projectDir(), "<projects>"), written.join(' '), inFile, form1->Label19->text()});
    }
    EXPECT_TRUE(QFileInfo(occupied).isDir());
    EXPECT_EQ(QDir(doubles.dialogs.saveRequests[0].initialDir), QDir(projectDir()));
    EXPECT_EQ(decoded(imageOf(session->Project)).Date.text(), todayShortDate());
    EXPECT_FALSE(session->projectModified());
    EXPECT_EQ(statusColour(), QColor(Qt::green));
    EXPECT_TRUE(form1->Berechnungen1->isEnabled()) << "saving changes no menu";
}

TEST_F(ProjectFilesWindow, CommandLineProjectIsOpenedAtStartAndNeverOverwrittenUnread)
{
    // The named file before the start, and the answer to the question before overwriting it.
    const QByteArray sample = sampleImage();
    const std::tuple<const char*, std::optional<QByteArray>, bool> cases[] = {
        {"valid project", sample, true},
        {"missing", std::nullopt, true},
        {"unreadable, No", sample.left(100), false},
        {"unreadable, Yes", sample.left(100), true},
    };
    recordBoxes = true;
    GoldenLines golden;
    for (const auto& [what, existing, answer] : cases) {
        const QString path = tempPath("Haus 1.kon");
        QFile::remove(path);
        if (existing)
            writeProjectFile("Haus 1.kon", *existing);
        createWindow({"Haus", "1.kon", "a", "b", "c"}, tempPath(""));
        form1->openCommandLineProject();
        const QString atStart = boxes.taken();
        EXPECT_FALSE(form1->GroupBox1->isHidden()) << "the project data panel is open";
        boxes.answer = answer;

        const bool saved = form1->Speichern1Click();

        const QByteArray file = readBytes(path);
        golden({what, atStart, QString("loaded %1").arg(session->ProjectLoaded), saved ? "saved" : "not saved",
                boxes.taken().replace(tempPath(""), "<tmp>/"),
                file == sample ? "file: the sample" : existing == file ? "file: as before"
                : decoded(file).Date.text() == todayShortDate() ? "file: new project of today" : "file: other"});
    }
}

// Every valid file comes back byte for byte when loaded and saved unchanged, also after a
// project of the other dual-use kind.
TEST_F(ProjectFilesWindow, LoadThenSaveReproducesEveryValidFileByteForByte)
{
    namespace L = layout::record;
    const QByteArray sample = sampleImage();
    const auto variant = [&](std::initializer_list<std::pair<std::size_t, char>> changes) {
        QByteArray bytes = sample;
        for (const auto& [offset, value] : changes)
            bytes[static_cast<qsizetype>(offset)] = value;
        return bytes;
    };
    const std::size_t heatingDual = L::HeatingDualUse.offset, coolingDual = L::CoolingDualUse.offset;
    // A list is in use exactly when its first entry is (saving sets the flag from it).
    const std::size_t heatingOff = L::HeatingInUse.offset, heatingFirst = L::HeatingEntries.offset + layout::heating::InUse.offset;
    const std::size_t coolingOff = L::CoolingInUse.offset, coolingFirst = L::CoolingEntries.offset + layout::cooling::InUse.offset;
    const std::pair<const char*, QByteArray> cases[] = {
        {"sample", sample},
        {"dual use in heating", variant({{heatingDual, 1}})},
        {"plain after dual use", sample},
        {"dual use in cooling", variant({{coolingDual, 1}})},
        {"heating only, dual use", variant({{coolingOff, 0}, {coolingFirst, 0}, {heatingDual, 1}})},
        {"cooling only, dual use", variant({{heatingOff, 0}, {heatingFirst, 0}, {coolingDual, 1}})},
        {"heating only after dual use", variant({{coolingOff, 0}, {coolingFirst, 0}})},
        {"cooling only with both flags", variant({{heatingOff, 0}, {heatingFirst, 0}, {coolingDual, 1}, {heatingDual, 1}})},
        {"new project", readBytes(QStringLiteral(TEPA_TEST_DATA_DIR "/new-project.kon"))},
        {"only heating entry deleted (count 0)", readBytes(QStringLiteral(TEPA_TEST_DATA_DIR "/project/emptied-list.kon"))},
        {"installed example", readBytes(QStringLiteral(TEPA_SOURCE_DATA_DIR "/Beispiel.kon"))},
    };
    recordBoxes = true;
    createWindow();
    createCalculationWindow();
    GoldenLines golden;
    for (const auto& [what, bytes] : cases) {
        SCOPED_TRACE(what);
        ASSERT_EQ(bytes.size(), 15858);
        load(writeProjectFile("original.kon", bytes));
        const QString modes = QString("heating %1%2 cooling %3%4")
                                  .arg(form1->RadioButton1->isEnabled()).arg(session->HeatingMode)
                                  .arg(form1->RadioButton2->isEnabled()).arg(session->CoolingMode);
        form1->Raumdaten1->trigger();
        doubles.dialogs.answerSave(tempPath("kopie.kon"));

        form1->Speichern1->trigger();

        golden({what, boxes.taken(), modes, QString("room data in %1%2").arg(session->HeatingMode).arg(session->CoolingMode)});
        EXPECT_EQ(firstDifference(readBytes(tempPath("kopie.kon")), bytes), -1);
        EXPECT_FALSE(session->projectModified());
    }
}

// Command-line mode writes the project, then its technical data, without a dialog, or neither.
TEST_F(ProjectFilesWindow, CommandLineModeSavesTheProjectAndItsTechnicalDataOrNothing)
{
    const QString folder = tempPath("Neuer Ordner");
    ASSERT_TRUE(QDir().mkpath(folder + "/Lauf/Raum.kon")); // a folder where the project would go
    ASSERT_TRUE(QDir().mkpath(folder + "/Belegt/techdaten.kon"));
    writeFile(tempPath("Datei"), "kein Ordner");
    const QStringList cases[] = {
        {folder + "/Raum", "A.kon", "-x", "7", "ende"},
        {folder + "/Lauf/Raum.kon", "a", "b", "c"},
        {folder + "/Lauf/techdaten.kon", "a", "b", "c"},
        {folder + "/Belegt/Raum.kon", "a", "b", "c"},
        {tempPath("Datei") + "/Raum.kon", "a", "b", "c"},
    };
    recordBoxes = true;
    GoldenLines golden;
    for (const QStringList& arguments : cases) {
        createWindow(arguments);
        session->Project.RoomName.setText("Küche");
        HeatingEntry& e = session->Project.HeatingEntries[0];
        e.TypeName.setText("WF2"), e.Height = 110, e.Length = 1250, e.Count = 2, e.InUse = true;
        session->Project.HeatingEntryCount = session->Project.RoomCount = 1;

        const bool saved = form1->Speichern1Click();

        EXPECT_TRUE(doubles.dialogs.saveRequests.empty());
        EXPECT_EQ(session->projectModified(), !saved);
        const QString dir = QFileInfo(arguments.front()).path();
        golden({arguments.join(' ').replace(tempPath(""), "<tmp>/"), saved ? "saved" : "not saved",
                boxes.taken().replace(tempPath(""), "<tmp>/"),
                QDir(dir).entryList(QDir::Files | QDir::Hidden).join(' '), form1->Label19->text()});
        if (saved) {
            EXPECT_EQ(QFileInfo(folder + "/Raum A.kon").size(), 15858);
            EXPECT_TRUE(readBytes(folder + "/techdaten.kon").contains("Raumbezeichnung:   K\xFC" "che"));
            EXPECT_TRUE(session->Project.HeatingInUse);
        }
    }
}

// Another instance's open project is not saved over; saving elsewhere moves this window's hold.
TEST_F(ProjectFilesWindow, AnOpenProjectIsHeldAgainstOtherInstancesUntilSavedElsewhere)
{
    const QString path = writeProjectFile("Offen.kon", sampleImage());
    auto otherInstance = std::make_unique<QLockFile>(tempPath(".Offen.kon.lock"));
    ASSERT_TRUE(otherInstance->tryLock(0));
    doubles.messages.expect(MessageKind::Message, text(282) + "\n" + path)
        .expect(MessageKind::Information, text(213))
        .expect(MessageKind::Message, text(283) + "\n" + path);
    load(path);
    doubles.dialogs.answerSave(path);
    EXPECT_FALSE(form1->Speichern1Click());
    doubles.messages.verifyAllShown();
    ASSERT_EQ(doubles.dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(QDir(doubles.dialogs.saveRequests[0].initialDir), QDir(tempPath("")));
    EXPECT_EQ(doubles.dialogs.saveRequests[0].fileName, QStringLiteral("Offen.kon"));

    otherInstance.reset();
    for (const char* name : {"Offen.kon", "Offen.kon", "Zwei.kon"}) {
        SCOPED_TRACE(name);
        doubles.dialogs.answerSave(tempPath(name));
        EXPECT_TRUE(form1->Speichern1Click());
        EXPECT_TRUE(held(name));
    }
    EXPECT_FALSE(held("Offen.kon"));
}

TEST_F(ProjectFilesWindow, StartReportsDamagedData)
{
    const std::filesystem::path damaged = std::filesystem::path(tempPath("install").toStdU16String());
    std::filesystem::copy(installDir(), damaged);
    std::ofstream(damaged / "bauhoehen.txt", std::ios::app) << "x\r\n";
    session->ProgramDir = damaged;
    doubles.messages.expectAny(MessageKind::Message);
    runStartupChecks(*form1, doubles.messages);
    doubles.messages.verifyAllShown();
    EXPECT_TRUE(doubles.messages.shown().back().startsWith(text(277) + "\nbauhoehen.txt:19: "));
}

} // namespace
} // namespace tepa::test
