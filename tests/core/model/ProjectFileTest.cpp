#include "core/model/ProjectFile.h"

#include "SampleProjects.h"

#include "core/model/ProjectCodec.h"

#include <gtest/gtest.h>

#include <fstream>

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

TEST(ProjectFile, MissingFileOrFolderCannotBeOpened)
{
    TempDir dir;
    for (const fs::path& file : {dir.path() / "fehlt.kon", dir.path()}) {
        SCOPED_TRACE(file.string());
        const auto loaded = loadProjectFile(file);
        ASSERT_FALSE(loaded.ok());
        EXPECT_EQ(loaded.error(), "Datei " + file.string() + " kann nicht geöffnet werden");
    }
}

TEST(ProjectFile, NewProjectFixtureHoldsTheImageOfNew)
{
    const auto loaded = loadProjectFile(test::testDataDir() / "new-project.kon");
    ASSERT_TRUE(loaded.ok()) << loaded.error();
    EXPECT_EQ(*loaded, test::newProject());
}

TEST(ProjectFile, LoadsOnlyWholeRecords)
{
    TempDir dir;
    auto image = ProjectCodec::encode(test::sampleProject());
    image.resize(20000, std::byte{0x5A});
    struct Case
    {
        std::size_t size;
        bool loads;
    };
    const Case cases[] = {{0, false}, {15857, false}, {15858, true}, {20000, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size);
        const auto file = dir.path() / "projekt.kon";
        test::writeFileBytes(file, std::span(image).first(c.size));
        const auto loaded = loadProjectFile(file);
        ASSERT_EQ(loaded.ok(), c.loads);
        if (c.loads)
            EXPECT_EQ(*loaded, test::sampleProject());
        else
            EXPECT_EQ(loaded.error(), "Loading - Error");
    }
}

TEST(ProjectFile, SavedProjectLoadsBackAndLeavesNoTemporaryFile)
{
    TempDir dir;
    const auto file = dir.path() / "Büro 1.kon";
    test::writeFileBytes(file, std::vector<std::byte>(300, std::byte{1})); // an older, other file

    ASSERT_TRUE(saveProjectFile(file, test::sampleProject()).ok());
    EXPECT_EQ(fs::file_size(file), 15858u);
    EXPECT_EQ(filesIn(dir.path()), std::vector<fs::path>{"Büro 1.kon"});
    const auto loaded = loadProjectFile(file);
    ASSERT_TRUE(loaded.ok()) << loaded.error();
    EXPECT_EQ(*loaded, test::sampleProject());
}

TEST(ProjectFile, FailedSaveLeavesWhatWasThere)
{
    TempDir dir;
    // The target is a folder: the image is written, but cannot replace it.
    const auto folderTarget = dir.path() / "ordner.kon";
    fs::create_directory(folderTarget);
    test::writeFileBytes(folderTarget / "inhalt.txt", test::bytesOf({'x'}));

    const auto saved = saveProjectFile(folderTarget, test::sampleProject());
    ASSERT_FALSE(saved.ok());
    EXPECT_NE(saved.error().find(folderTarget.string()), std::string::npos) << saved.error();
    EXPECT_TRUE(fs::is_directory(folderTarget));
    EXPECT_EQ(filesIn(folderTarget), std::vector<fs::path>{"inhalt.txt"});
    EXPECT_EQ(filesIn(dir.path()), std::vector<fs::path>{"ordner.kon"});

    // The folder does not exist: nothing is created.
    const auto nowhere = dir.path() / "fehlt" / "projekt.kon";
    EXPECT_FALSE(saveProjectFile(nowhere, test::sampleProject()).ok());
    EXPECT_FALSE(fs::exists(nowhere.parent_path()));
}

} // namespace
} // namespace tepa
