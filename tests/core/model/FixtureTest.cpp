#include "SampleProjects.h"

#include "core/model/ProjectCodec.h"
#include "core/model/ProjectFile.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace tepa {
namespace {

// The project files in tests/data are the records built in SampleProjects.cpp. Run with
// TEPA_WRITE_FIXTURES=1 to write them again after a deliberate change.
TEST(ProjectFixtures, FilesHoldTheRecordsBuiltInCode)
{
    struct Case
    {
        const char* file;
        ProjectRecord record;
    };
    const Case cases[] = {
        {"new-project.kon", test::newProject()},
        {"sample-project.kon", test::sampleProject()},
    };
    const bool write = std::getenv("TEPA_WRITE_FIXTURES") != nullptr;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const auto path = test::testDataDir() / c.file;
        const auto image = ProjectCodec::encode(c.record);
        if (write)
            test::writeFileBytes(path, image);
        EXPECT_EQ(test::readFileBytes(path), image);
        const auto loaded = loadProjectFile(path);
        ASSERT_TRUE(loaded.ok()) << loaded.error();
        EXPECT_EQ(*loaded, c.record);
    }
}

} // namespace
} // namespace tepa
