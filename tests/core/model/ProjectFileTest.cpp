#include "core/model/ProjectFile.h"

#include "SampleProjects.h"

#include "core/GoldenCalls.h"
#include "core/model/AtomicFile.h"
#include "core/model/ProjectCodec.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
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

// The save path against hostile targets, each row from a folder holding "alt.kon" with old bytes:
// `prepare` builds the situation. The walk in
// tests/data/model/ProjectFile.HostileTargetsKeepTheOldFileOrFollowTheLink.txt shows the answer
// and the folder after it: no temporary file stays behind, a refused target keeps its old bytes,
// a saved link stays a link and its file keeps its permissions.
TEST(ProjectFile, HostileTargetsKeepTheOldFileOrFollowTheLink)
{
    const std::vector<std::byte> oldBytes(300, std::byte{1});
    const std::vector<std::byte> newBytes = ProjectCodec::encode(test::sampleProject());
    struct Case
    {
        const char* what;
        std::string target; // the name the save is given
        std::function<void(const fs::path& dir)> prepare;
    };
    const Case cases[] = {
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
        test::writeFileBytes(dir.path() / "alt.kon", oldBytes);
        fs::permissions(dir.path() / "alt.kon",
                        fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
        prepare(dir.path());
        const fs::path target = dir.path() / name;
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit fullDisk{4096, limit.rlim_max};
        const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
        ::setrlimit(RLIMIT_FSIZE, std::string(what) == "full disk" ? &fullDisk : &limit);
        const Status saved = saveProjectFile(target, test::sampleProject());
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::signal(SIGXFSZ, oldHandler);
        fs::permissions(dir.path(), fs::perms::owner_all);
        std::string answer = saved.ok() ? "saved" : saved.error();
        for (std::size_t at; (at = answer.find(dir.path().string())) != std::string::npos;)
            answer.replace(at, dir.path().string().size(), "DIR");
        std::vector<std::string> files;
        for (const fs::path& name : filesIn(dir.path())) {
            const fs::path file = dir.path() / name;
            const auto bytes =
                fs::is_regular_file(file) ? test::readFileBytes(file) : std::vector<std::byte>{};
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

// An output refuses its input, also through a link, and any other project file.
TEST(ProjectFile, OutputsRefuseTheirInputAndProjectFiles)
{
    TempDir dir;
    const auto project = dir.path() / "p.kon";
    ASSERT_TRUE(saveProjectFile(project, test::sampleProject()).ok());
    ASSERT_TRUE(saveProjectFile(dir.path() / "anderes.kon", test::newProject()).ok());
    fs::create_symlink(project, dir.path() / "link.pdf");
    fs::create_hard_link(project, dir.path() / "hart.txt");
    test::writeFileBytes(dir.path() / "alt.pdf", std::vector<std::byte>(20000, std::byte{1}));
    const std::pair<const char*, const char*> cases[] = {
        {"p.kon", "this is the input file"},
        {"link.pdf", "this is the input file"},
        {"hart.txt", "this is the input file"},
        {"anderes.kon", "this is a project file"},
        {"alt.pdf", "allowed"},
        {"neu.pdf", "allowed"},
    };
    for (const auto& [output, message] : cases) {
        const Status allowed = refuseOverwritingInput(dir.path() / output, project);
        EXPECT_NE((allowed.ok() ? "allowed" : allowed.error()).find(message), std::string::npos) << output;
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
