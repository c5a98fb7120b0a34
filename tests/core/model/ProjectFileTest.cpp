#include "core/model/ProjectFile.h"

#include "SampleProjects.h"

#include "core/model/AtomicFile.h"
#include "core/model/ProjectCodec.h"

#include <gtest/gtest.h>

#include <csignal>
#include <functional>

#include <sys/resource.h>

namespace tepa {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

std::vector<fs::path> filesIn(const fs::path& folder)
{
    std::vector<fs::path> names;
    for (const auto& item : fs::directory_iterator(folder))
        names.push_back(item.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// tests/data/new-project.kon, checked by hand, holds New's defaults: 20/26 °C rooms, 75/16 °C
// flow, 20/16 °C second temperatures, 45 % humidity, lists of one entry, every entry of count 1
// (heating ones free convection), one room, the date, and nothing else. Only whole records load;
// a missing file or a folder cannot be opened.
TEST(ProjectFile, LoadsOnlyWholeRecords)
{
    const auto fixture = loadProjectFile(test::testDataDir() / "new-project.kon");
    ASSERT_TRUE(fixture.ok()) << fixture.error();
    EXPECT_EQ(*fixture, test::newProject());
    TempDir dir;
    auto image = ProjectCodec::encode(test::sampleProject());
    image.resize(20000, std::byte{0x5A});
    for (const std::size_t size : {0, 15857, 15858, 20000}) {
        SCOPED_TRACE(size);
        test::writeFileBytes(dir.path() / "projekt.kon", std::span(image).first(size));
        const auto loaded = loadProjectFile(dir.path() / "projekt.kon");
        if (size >= 15858)
            EXPECT_EQ(loaded.value(), test::sampleProject());
        else
            EXPECT_EQ(loaded.error(), "Loading - Error");
    }
    for (const fs::path& file : {dir.path() / "fehlt.kon", dir.path()})
        EXPECT_EQ(loadProjectFile(file).error(), "Datei " + file.string() + " kann nicht geöffnet werden");
}

// The save path against hostile targets. Every row starts from a folder holding "alt.kon" with
// old bytes; `prepare` builds the situation and returns the name the save is given. Whatever
// happens, no temporary file may stay behind and a refused target keeps its old bytes.
TEST(ProjectFile, HostileTargetsKeepTheOldFileOrFollowTheLink)
{
    const std::vector<std::byte> oldBytes(300, std::byte{1});
    const std::vector<std::byte> newBytes = ProjectCodec::encode(test::sampleProject());
    const auto oldMode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    struct Case
    {
        const char* what;
        std::function<fs::path(const fs::path& dir)> prepare;
        const char* message; // part of the refusal; nullptr when the save succeeds
        fs::path changed;    // the file that holds the new project after a successful save
        bool fullDisk = false; // a file size limit makes the write fail part way
    };
    const std::string longName = std::string(251, 'p') + ".kon"; // 255 bytes, the longest name
    const Case cases[] = {
        {"symbolic link: the linked file gets the project, the link stays",
         [](const fs::path& dir) {
             fs::create_symlink("alt.kon", dir / "link.kon");
             return dir / "link.kon";
         },
         nullptr, "alt.kon"},
        {"hard link is refused: the other name would keep the old project",
         [](const fs::path& dir) {
             fs::create_hard_link(dir / "alt.kon", dir / "zweit.kon");
             return dir / "alt.kon";
         },
         "hard link", {}},
        {"read-only file",
         [](const fs::path& dir) {
             fs::permissions(dir / "alt.kon", fs::perms::owner_read | fs::perms::group_read);
             return dir / "alt.kon";
         },
         "read-only", {}},
        {"read-only folder",
         [](const fs::path& dir) {
             fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
             return dir / "alt.kon";
         },
         "folder is read-only", {}},
        {"a folder is not replaced",
         [](const fs::path& dir) {
             fs::create_directory(dir / "ordner.kon");
             return dir / "ordner.kon";
         },
         "Is a directory", {}},
        {"the longest legal name", [&](const fs::path& dir) { return dir / longName; }, nullptr, longName},
        {"full disk", [](const fs::path& dir) { return dir / "alt.kon"; }, "File too large", {}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        test::writeFileBytes(dir.path() / "alt.kon", oldBytes);
        fs::permissions(dir.path() / "alt.kon", oldMode);
        const fs::path target = c.prepare(dir.path());
        const auto before = filesIn(dir.path());

        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit fullDisk{4096, limit.rlim_max};
        const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
        ::setrlimit(RLIMIT_FSIZE, c.fullDisk ? &fullDisk : &limit);
        const Status saved = saveProjectFile(target, test::sampleProject());
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::signal(SIGXFSZ, oldHandler);
        fs::permissions(dir.path(), fs::perms::owner_all);
        for (const fs::path& name : filesIn(dir.path()))
            EXPECT_FALSE(name.string().starts_with(".tepa-")) << "temporary file left: " << name;
        if (c.message) {
            EXPECT_EQ(filesIn(dir.path()), before) << "a file appeared or went";
            ASSERT_FALSE(saved.ok());
            EXPECT_NE(saved.error().find(c.message), std::string::npos) << saved.error();
            EXPECT_NE(saved.error().find(target.string()), std::string::npos) << saved.error();
            EXPECT_EQ(test::readFileBytes(dir.path() / "alt.kon"), oldBytes);
        } else {
            ASSERT_TRUE(saved.ok()) << saved.error();
            EXPECT_EQ(test::readFileBytes(dir.path() / c.changed), newBytes);
            // Saved through a link: the link stays a link and its file keeps its permissions.
            const bool viaLink = c.changed != target.filename();
            EXPECT_EQ(fs::is_symlink(target), viaLink);
            if (viaLink) {
                EXPECT_EQ(fs::status(target).permissions(), oldMode);
            }
        }
    }
}

TEST(ProjectFile, OutputsRefuseTheirInputAndProjectFiles)
{
    TempDir dir;
    const auto project = dir.path() / "p.kon";
    ASSERT_TRUE(saveProjectFile(project, test::sampleProject()).ok());
    fs::create_symlink(project, dir.path() / "link.pdf");
    fs::create_hard_link(project, dir.path() / "hart.txt");
    test::writeFileBytes(dir.path() / "alt.pdf", std::vector<std::byte>(20000, std::byte{1}));
    const fs::path other = dir.path() / "anderes.kon";
    ASSERT_TRUE(saveProjectFile(other, test::newProject()).ok());
    struct Case
    {
        fs::path output;
        const char* message; // nullptr: allowed
    };
    const Case cases[] = {
        {project, "this is the input file"},
        {dir.path() / "link.pdf", "this is the input file"},
        {dir.path() / "hart.txt", "this is the input file"},
        {other, "this is a project file"},
        {dir.path() / "alt.pdf", nullptr},
        {dir.path() / "neu.pdf", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.output.string());
        const Status allowed = refuseOverwritingInput(c.output, project);
        EXPECT_EQ(allowed.ok(), c.message == nullptr);
        if (c.message) {
            EXPECT_NE(allowed.error().find(c.message), std::string::npos) << allowed.error();
        }
    }
}

TEST(ProjectFile, StartRemovesOnlyStaleTemporaryFilesOfThisProgram)
{
    TempDir dir;
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(25);
    for (const char* name : {".tepa-abc123", ".tepa-young1", ".tepa-toolong1", "projekt.kon"}) {
        test::writeFileBytes(dir.path() / name, std::vector<std::byte>(1));
        if (std::string(name) != ".tepa-young1")
            fs::last_write_time(dir.path() / name, old);
    }
    removeStaleTemporaryFiles(dir.path());
    EXPECT_EQ(filesIn(dir.path()), (std::vector<fs::path>{".tepa-toolong1", ".tepa-young1", "projekt.kon"}));
}

} // namespace
} // namespace tepa
