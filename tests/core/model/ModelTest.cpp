#include "core/model/Attachments.h"
#include "core/model/AtomicFile.h"
#include "core/model/ByteCursor.h"
#include "core/model/FixedString.h"
#include "core/model/ProjectCodec.h"
#include "core/model/ProjectFile.h"
#include "core/model/ProjectRecord.h"
#include "core/model/ProjectReset.h"
#include "core/model/Session.h"

#include "core/GoldenCalls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <locale>
#include <random>
#include <span>
#include <sstream>
#include <string>
#include <sys/resource.h>
#include <tuple>
#include <vector>

namespace tepa {
namespace {

namespace fs = std::filesystem;

const fs::path DataDir = TEPA_TEST_DATA_DIR;

std::vector<std::byte> readFileBytes(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    const std::string chars{std::istreambuf_iterator<char>(in), {}};
    const auto bytes = std::as_bytes(std::span(chars));
    return {bytes.begin(), bytes.end()};
}

void writeFileBytes(const fs::path& file, std::span<const std::byte> bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A new project as New leaves it, dated 14.03.2025.
ProjectRecord newProject()
{
    ProjectRecord record;
    resetForNewProject(record, "14.03.2025");
    return record;
}

// tests/data/sample-project.kon: a filled room with two heating entries and one cooling entry.
ProjectRecord sampleProject()
{
    return ProjectCodec::decode(readFileBytes(DataDir / "sample-project.kon")).value();
}

// A fresh folder below the system's temporary folder, removed with the object.
struct TempDir
{
    const fs::path path = fs::temp_directory_path() / ("tepa-model-" + std::to_string(std::random_device()()));
    TempDir() { fs::create_directories(path); }
    ~TempDir()
    {
        std::error_code ec;
        fs::permissions(path, fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(path, ec);
    }
};

std::string result(const std::vector<std::string>& w)
{
    const std::string& call = w.at(0);
    if (call == "text") {
        FixedString<15> field;
        field.setText(w.at(1));
        if (w.size() > 2) // a length byte from a damaged file
            field.raw()[0] = static_cast<std::uint8_t>(std::stoi(w[2]));
        return std::to_string(field.length()) + " \"" + field.text() + "\"";
    }
    if (call == "storage") {
        const char* names[] = {"exact", "character outside the code page", "too long"};
        return names[static_cast<int>(attachmentStorage(w.at(1)))];
    }
    if (call == "opening") {
        const char* names[] = {"open the document", "confirm the address", "refuse"};
        return names[static_cast<int>(attachmentOpening(w.at(1)))];
    }
    if (call == "entry") {
        Session session;
        session.HeatingEntryIndex = session.CoolingEntryIndex = std::stoi(w.at(1));
        const Session& view = session;
        const auto heating = &session.currentHeatingEntry() - session.Project.HeatingEntries.data();
        const auto cooling = &session.currentCoolingEntry() - session.Project.CoolingEntries.data();
        const auto viewed = &view.currentHeatingEntry() - session.Project.HeatingEntries.data();
        return std::to_string(heating) + " " + std::to_string(cooling) + " " + std::to_string(viewed);
    }
    if (call == "decode") {
        auto image = ProjectCodec::encode(sampleProject());
        for (std::size_t i = 2; i < w.size(); ++i)
            image.at(std::stoul(w.at(1)) + i - 2) = static_cast<std::byte>(std::stoi(w[i], nullptr, 16));
        const auto r = ProjectCodec::decode(image);
        if (!r)
            return "error " + r.error();
        std::ostringstream text;
        text << "Title " << int(r->Title.raw()[0]) << ", cooling 12 TypeName " << int(r->CoolingEntries[11].TypeName.raw()[0])
             << ", heating entries " << r->HeatingEntryCount << ", rooms " << r->RoomCount << ", HeatingDemand "
             << r->HeatingDemand << ", cooling 1 Output " << r->CoolingEntries[0].Output
             << ", heating 12 OutputStart " << r->HeatingEntries[11].OutputStart;
        return text.str();
    }
    ADD_FAILURE() << "unknown call " << call;
    return "";
}

TEST(ModelCalls, AnswerAsTheGoldenFileSaysAndCursorsStayInside)
{
    test::checkGoldenCalls(TEPA_TEST_DATA_DIR "/model-calls.txt",
                           [](const std::string& line) { return result(test::callWords(line)); });
    // A byte cursor never reads or writes past the end.
    const std::vector<std::byte> data(6, std::byte{0x11});
    ByteReader reader(data);
    reader.seek(3);
    EXPECT_EQ(reader.i32(), 0);
    EXPECT_TRUE(reader.failed());
    EXPECT_EQ(reader.failedAt(), 3u);
    reader.seek(0);
    EXPECT_EQ(reader.u8(), 0); // the byte is there, but a failed cursor reads nothing more

    std::vector<std::byte> target(3);
    ByteWriter writer(target);
    writer.i16(-2);
    writer.i16(0x7777); // one byte left
    EXPECT_TRUE(writer.failed());
    EXPECT_EQ(target, (std::vector<std::byte>{std::byte{0xFE}, std::byte{0xFF}, std::byte{0x00}}));
}

template <class Entry> void fillCommonFields(Entry& e, int k)
{
    const std::string n = std::to_string(k);
    e.TypeName.setText("Typ " + n);
    e.Length = k + 0.01, e.Height = k + 0.02, e.HeightFactor = k + 0.03, e.EffectiveLength = k + 0.04;
    e.FanSpeed = k + 0.05, e.MassFlow = k + 0.06, e.FanSetting = k + 0.07, e.Count = 0x01020300 + k;
    e.TypeText1.setText("Datenzeile " + n), e.TypeText2.setText("Lüfterzeile " + n);
    e.CoeffK = k + 0.08, e.ExponentN = k + 0.09, e.ReturnTemp = k + 0.10, e.Output = k + 0.11;
    e.PressureDrop = k + 0.12, e.SoundLevel = k + 0.13, e.InUse = true;
    e.Unassigned = {0xA1, 0xA2, 0xA3, static_cast<std::uint8_t>(k)};
}

ProjectRecord everyField()
{
    ProjectRecord r;
    r.Title.setText("Verwaltung Nordring"); // a shortened text keeps the old characters behind it
    r.Title.setText("Verwaltung");
    r.Number.setText("2025-117"), r.Date.setText("14.03.2025"), r.RoomName.setText("Büro 1");
    for (std::size_t i = 0; i < r.UnassignedAfterDate.size(); ++i)
        r.UnassignedAfterDate[i] = static_cast<std::uint8_t>(100 + i);
    for (std::size_t i = 0; i < r.UnassignedAfterDataLines.size(); ++i)
        r.UnassignedAfterDataLines[i] = static_cast<std::uint8_t>(1 + i);
    for (std::size_t i = 0; i < r.RemarkLines.size(); ++i)
        r.RemarkLines[i].setText("Bemerkung " + std::to_string(i + 1));
    for (std::size_t i = 0; i < r.DataLines.size(); ++i)
        r.DataLines[i].setText("Angabe " + std::to_string(i + 1));
    for (std::size_t i = 0; i < r.Attachments.size(); ++i)
        r.Attachments[i].setText("C:\\Anlagen\\Plan é" + std::to_string(i + 1) + ".pdf");
    r.HeatingDemand = 1234.5, r.CoolingDemand = 812.25, r.HeatingRoomTemp = 20.5, r.CoolingRoomTemp = 26.5;
    r.HeatingFlowTemp = 75.5, r.CoolingFlowTemp = 16.5, r.HeatingSecondTemp = 21.5, r.CoolingSecondTemp = 17.5;
    r.CoolingHumidity = 45.5, r.HeatingEntryCount = 7, r.CoolingEntryCount = 12;
    r.ReturnTempFixed = 0x0102, r.MassFlowFixed = -2, r.RoomCount = 1;
    r.CalculationDone = r.HeatingInUse = r.CoolingInUse = r.CoolingDualUse = r.HeatingDualUse = true;
    for (int k = 0; k < static_cast<int>(MaxEntries); ++k) {
        HeatingEntry& h = r.HeatingEntries[k];
        fillCommonFields(h, 100 + k);
        h.ReturnTempEnd = k + 0.21, h.ReturnTempStart = k + 0.22, h.MassFlowEnd = k + 0.23;
        h.MassFlowStart = k + 0.24, h.OutputEnd = k + 0.25, h.OutputStart = k + 0.26;
        h.CoolingNominalOutput = k + 0.27, h.CoolingNominalSound = k + 0.28;
        h.CoolingNominalPressureDrop = k + 0.29, h.CoolingNominalMassFlow = k + 0.30;
        h.FreeConvection = h.FreeConvectionB = true;
        CoolingEntry& c = r.CoolingEntries[k];
        fillCommonFields(c, 200 + k);
        c.HeatingNominalOutput = k + 0.31, c.HeatingNominalSound = k + 0.32;
        c.HeatingNominalPressureDrop = k + 0.33, c.HeatingNominalMassFlow = k + 0.34;
    }
    return r;
}

// Golden images, each checked by hand against the format's table (TEPA_WRITE_GOLDEN=1 writes
// them anew). In every-field.kon each field holds a value of its own, so a field at a wrong
// offset shows, which a round trip cannot. New over a filled record keeps only the given quantity
// and the heights; clearing an entry keeps Height, HeightFactor, InUse, the unassigned bytes and
// the characters behind the texts' lengths. new-project.kon holds New's defaults.
TEST(ProjectCodec, RecordsAreWrittenAndReadAsTheirGoldenImages)
{
    const auto filled = ProjectCodec::decode(std::vector<std::byte>(ProjectRecordSize, std::byte{0x41})).value();
    ProjectRecord renewed = filled, cleared = filled;
    resetForNewProject(renewed, "14.03.2025 und mehr");
    clearHeatingEntry(cleared.HeatingEntries[0]);
    clearCoolingEntry(cleared.CoolingEntries[0]);
    for (const auto& [name, record] : {std::pair{"every-field.kon", everyField()}, {"new-over-filled.kon", renewed},
                                       {"cleared-entries.kon", cleared}, {"new-project.kon", newProject()},
                                       {"sample-project.kon", sampleProject()}}) {
        SCOPED_TRACE(name);
        if (std::getenv("TEPA_WRITE_GOLDEN"))
            writeFileBytes(DataDir / name, ProjectCodec::encode(record));
        const auto image = readFileBytes(DataDir / name);
        const auto encoded = ProjectCodec::encode(record);
        EXPECT_TRUE(encoded == image) << "first difference at byte "
                                      << std::mismatch(encoded.begin(), encoded.end(), image.begin(), image.end()).first -
                                             encoded.begin();
        EXPECT_EQ(ProjectCodec::decode(image).value(), record);
    }
}

// A date format longer than the field, as some locales write their "%x".
class LongDateFormat : public std::time_put<char>
{
protected:
    iter_type do_put(iter_type out, std::ios_base&, char_type, const std::tm* date, char, char) const override
    {
        const std::string text = "Mittwoch, " + std::to_string(date->tm_mday) + ". März";
        return std::copy(text.begin(), text.end(), out);
    }
};

TEST(ProjectReset, ShortDateUsesTheLocaleFormatCutToTenCharacters)
{
    std::tm date{};
    date.tm_mday = 4, date.tm_mon = 2, date.tm_year = 2025 - 1900;
    EXPECT_EQ(formatShortDate(date, std::locale::classic()), "04.03.2025");
    const std::locale longFormat(std::locale::classic(), new LongDateFormat);
    EXPECT_EQ(formatShortDate(date, longFormat), "Mittwoch, ");
}

std::vector<fs::path> filesIn(const fs::path& folder)
{
    std::vector<fs::path> names;
    for (const auto& item : fs::directory_iterator(folder))
        names.push_back(item.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// Only whole records load; a missing file or a folder cannot be opened.
TEST(ProjectFile, LoadsOnlyWholeRecordsAndOutputsRefuseTheirInput)
{
    TempDir dir;
    auto image = ProjectCodec::encode(sampleProject());
    image.resize(20000, std::byte{0x5A});
    for (const std::size_t size : {0, 15857, 15858, 20000}) {
        SCOPED_TRACE(size);
        writeFileBytes(dir.path / "projekt.kon", std::span(image).first(size));
        const auto loaded = loadProjectFile(dir.path / "projekt.kon");
        if (size >= 15858)
            EXPECT_EQ(loaded.value(), sampleProject());
        else
            EXPECT_EQ(loaded.error(), "Loading - Error");
    }
    for (const fs::path& file : {dir.path / "fehlt.kon", dir.path})
        EXPECT_EQ(loadProjectFile(file).error(), "Datei " + file.string() + " kann nicht geöffnet werden");

    // An output refuses its input, also through a link, and any other project file.
    const auto project = dir.path / "p.kon";
    ASSERT_TRUE(saveProjectFile(project, sampleProject()).ok());
    ASSERT_TRUE(saveProjectFile(dir.path / "anderes.kon", newProject()).ok());
    fs::create_symlink(project, dir.path / "link.pdf");
    fs::create_hard_link(project, dir.path / "hart.txt");
    writeFileBytes(dir.path / "alt.pdf", std::vector<std::byte>(20000, std::byte{1}));
    const std::pair<const char*, const char*> cases[] = {
        {"p.kon", "this is the input file"},      {"link.pdf", "this is the input file"},
        {"hart.txt", "this is the input file"},   {"anderes.kon", "this is a project file"},
        {"alt.pdf", "allowed"},                   {"neu.pdf", "allowed"}};
    for (const auto& [output, message] : cases) {
        const Status allowed = refuseOverwritingInput(dir.path / output, project);
        EXPECT_NE((allowed.ok() ? "allowed" : allowed.error()).find(message), std::string::npos) << output;
    }
}

// Saving over hostile targets, in a folder holding "alt.kon" with old bytes: no temporary file
// stays behind, a refused target keeps its old bytes, a saved link stays a link and its file
// keeps its permissions.
TEST(ProjectFile, HostileTargetsKeepTheOldFileOrFollowTheLink)
{
    const std::vector<std::byte> oldBytes(300, std::byte{1});
    const std::vector<std::byte> newBytes = ProjectCodec::encode(sampleProject());
    // What the row is, the name the save is given and how its folder is prepared.
    const std::tuple<const char*, std::string, std::function<void(const fs::path& dir)>> cases[] = {
        {"symbolic link", "link.kon",
         [](const fs::path& d) { fs::create_symlink("alt.kon", d / "link.kon"); }},
        // The other name of a hard link would keep the old project.
        {"hard link", "alt.kon",
         [](const fs::path& d) { fs::create_hard_link(d / "alt.kon", d / "zweit.kon"); }},
        {"read-only file", "alt.kon",
         [](const fs::path& d) { fs::permissions(d / "alt.kon", fs::perms::owner_read); }},
        {"read-only folder", "alt.kon",
         [](const fs::path& d) { fs::permissions(d, fs::perms::owner_read | fs::perms::owner_exec); }},
        {"a folder is not replaced", "ordner.kon",
         [](const fs::path& d) { fs::create_directory(d / "ordner.kon"); }},
        {"the longest legal name", std::string(251, 'p') + ".kon", [](const fs::path&) {}},
        // A file size limit makes the write fail part way.
        {"full disk", "alt.kon", [](const fs::path&) {}},
    };
    test::Golden golden("model");
    for (const auto& [what, name, prepare] : cases) {
        TempDir dir;
        writeFileBytes(dir.path / "alt.kon", oldBytes);
        fs::permissions(dir.path / "alt.kon",
                        fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
        prepare(dir.path);
        const fs::path target = dir.path / name;
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit fullDisk{4096, limit.rlim_max};
        const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
        ::setrlimit(RLIMIT_FSIZE, std::string(what) == "full disk" ? &fullDisk : &limit);
        const Status saved = saveProjectFile(target, sampleProject());
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::signal(SIGXFSZ, oldHandler);
        fs::permissions(dir.path, fs::perms::owner_all);
        std::string answer = saved.ok() ? "saved" : saved.error();
        for (std::size_t at; (at = answer.find(dir.path.string())) != std::string::npos;)
            answer.replace(at, dir.path.string().size(), "DIR");
        std::vector<std::string> files;
        for (const fs::path& name : filesIn(dir.path)) {
            const fs::path file = dir.path / name;
            const auto bytes =
                fs::is_regular_file(file) ? readFileBytes(file) : std::vector<std::byte>{};
            char mode[24]; // a link's file keeps its permissions
            std::snprintf(mode, sizeof mode, " link to mode %o",
                          static_cast<unsigned>(fs::status(file).permissions()));
            files.push_back(name.string() +
                            (bytes == oldBytes   ? " old"
                             : bytes == newBytes ? " new"
                                                 : " other") +
                            (fs::is_symlink(file) ? mode : ""));
        }
        golden(what, answer, files);
    }
}

TEST(ProjectFile, StartRemovesOnlyStaleTemporaryFilesOfThisProgram)
{
    TempDir dir;
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(25);
    for (const char* name : {".tepa-abc123", ".tepa-young1", ".tepa-toolong1", "projekt.kon"}) {
        writeFileBytes(dir.path / name, std::vector<std::byte>(1));
        if (std::string(name) != ".tepa-young1")
            fs::last_write_time(dir.path / name, old);
    }
    removeStaleTemporaryFiles(dir.path);
    EXPECT_EQ(filesIn(dir.path), (std::vector<fs::path>{".tepa-toolong1", ".tepa-young1", "projekt.kon"}));
}

} // namespace
} // namespace tepa
