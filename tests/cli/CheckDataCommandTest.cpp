#include "CliRun.h"

#include "core/text/TextFile.h"

#include <gtest/gtest.h>

namespace tepa::cli {
namespace {

using test::Outcome;
namespace fs = std::filesystem;

const fs::path goodInstall = TEPA_TEST_DATA_DIR "/install";

// A copy of the fixture installation whose height line 3 has a bad factor of "W2".
class BrokenCopy : public test::TempFolder
{
public:
    BrokenCopy()
        : TempFolder("tepa-check-data-")
    {
        fs::copy(goodInstall, path());
        auto lines = readTextLines(path() / "bauhoehen.txt").value();
        lines.at(2) = "110      0.82     0.8x     0.78     0.76";
        std::ofstream out(path() / "bauhoehen.txt", std::ios::binary | std::ios::trunc);
        for (const auto& line : lines)
            out << line << "\r\n";
    }
    const fs::path& dir() const { return path(); }
};

Outcome runTepa(const std::vector<std::string>& args, const fs::path& defaultDir = goodInstall)
{
    return test::runTepa(args, defaultDir);
}

TEST(CheckDataCommand, FolderComesFromArgumentThenDataThenDefault)
{
    const BrokenCopy broken;
    const std::string bad = broken.dir().string(), good = goodInstall.string();
    struct Case
    {
        std::vector<std::string> args;
        fs::path defaultDir;
        int code;
    };
    const Case cases[] = {
        {{"check-data", good}, broken.dir(), 0},
        {{"check-data", good, "--data", bad}, broken.dir(), 0},
        {{"--data", bad, "check-data"}, goodInstall, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args) + " default " + c.defaultDir.string());
        const Outcome r = runTepa(c.args, c.defaultDir);
        EXPECT_EQ(r.exitCode, c.code) << r.out << r.err;
        if (c.code == 0) {
            EXPECT_EQ(r.out, good + ": installation data valid\n");
            EXPECT_EQ(r.err, "");
        }
    }
}

TEST(CheckDataCommand, PrintsEachProblemWithFileAndLineOnStdout)
{
    const BrokenCopy broken;
    fs::remove(broken.dir() / "konvektoren.txt");
    const Outcome r = runTepa({"check-data", broken.dir().string()});
    EXPECT_EQ(r.exitCode, 1);
    // A whole-file problem has no line number.
    EXPECT_EQ(r.out, (broken.dir() / "bauhoehen.txt").string() +
                         ":3: factor of \"W2\" (columns 19-23) is not a number: \"0.8x \"\n" +
                         (broken.dir() / "konvektoren.txt").string() + ": missing or unreadable\n");
    EXPECT_EQ(r.err, "tepa check-data: " + broken.dir().string() + ": 2 problems in the installation data\n");
}

} // namespace
} // namespace tepa::cli
