#include "SampleProject.h"

#include "InstallationData.h"

#include "core/model/ProjectCodec.h"
#include "core/reports/ConvectorList.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

// The sample project shipped with the installation must hold what the program computes from the
// shipped data: after a change to the data or the engine it is made again with make-sample, and
// this test says when that is due.

namespace tepa {
namespace {

TEST(SampleProject, IsWhatMakeSampleCalculatesFromTheShippedData)
{
    std::ifstream in(test::installationDir() / "Beispiel.kon", std::ios::binary);
    ASSERT_TRUE(in);
    const std::string shipped((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto made = sample::makeSampleProject(test::installationDir());
    ASSERT_TRUE(made) << made.error();
    const std::vector<std::byte> bytes = ProjectCodec::encode(*made);
    const auto shippedBytes = std::as_bytes(std::span(shipped));
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), shippedBytes.begin(), shippedBytes.end()))
        << "data/Beispiel.kon is out of date: run make-sample data data/Beispiel.kon";

    // The room heats and cools with the same 2-pipe coil and ceiling unit: the bill of
    // convectors orders them once, with the larger count.
    const std::vector<std::string> expected = {
        "   WFWL-4L /   360 /  2750         1", "   WFW-2L /   220 /  2000          2",
        "   WF2 /   100 /  2150             1", "   W3 /   140 /  2500              2",
        "   DWF /   500 /  1800             1",
    };
    EXPECT_EQ(convectorListLines(BuildConvectorList(*made)), expected);
}

} // namespace
} // namespace tepa
