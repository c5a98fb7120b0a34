#include "cli/Cli.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace tepa::cli {
namespace {

namespace fs = std::filesystem;

const fs::path goodInstall = TEPA_TEST_DATA_DIR "/install";

// A copy of the fixture installation in a fresh temporary folder, removed at the end of the test.
class InstallCopy
{
public:
    InstallCopy()
    {
        std::random_device random;
        m_dir = fs::temp_directory_path() / ("tepa-check-data-" + std::to_string(random()));
        fs::create_directories(m_dir);
        for (const auto& entry : fs::directory_iterator(goodInstall))
            fs::copy_file(entry.path(), m_dir / entry.path().filename());
    }
    ~InstallCopy()
    {
        std::error_code ec;
        fs::remove_all(m_dir, ec);
    }
    InstallCopy(const InstallCopy&) = delete;
    InstallCopy& operator=(const InstallCopy&) = delete;

    const fs::path& dir() const { return m_dir; }

    // Replaces 0-based line `index` of `file` (ASCII text, CR LF line ends).
    void replaceLine(const std::string& file, std::size_t index, const std::string& text)
    {
        std::ifstream in(m_dir / file, std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        in.close();
        std::vector<std::string> lines;
        std::string content = bytes.str();
        for (std::size_t start = 0; start < content.size();) {
            const std::size_t end = content.find("\r\n", start);
            lines.push_back(content.substr(start, end - start));
            start = end + 2;
        }
        lines.at(index) = text;
        std::ofstream out(m_dir / file, std::ios::binary | std::ios::trunc);
        for (const auto& line : lines)
            out << line << "\r\n";
    }

private:
    fs::path m_dir;
};

struct Outcome
{
    int code;
    std::string out, err;
};

Outcome runTepa(const std::vector<std::string>& args,
                const fs::path& defaultDir = TEPA_TEST_DATA_DIR "/no-such-folder")
{
    std::ostringstream out, err;
    const int code = run(args, out, err, Context{defaultDir});
    return {code, out.str(), err.str()};
}

TEST(CheckDataCommand, GoodInstallationIsValid)
{
    const Outcome r = runTepa({"check-data", goodInstall.string()});
    EXPECT_EQ(r.code, 0) << r.out << r.err;
    EXPECT_EQ(r.out, goodInstall.string() + ": installation data valid\n");
    EXPECT_EQ(r.err, "");
}

TEST(CheckDataCommand, FolderComesFromArgumentThenDataThenDefault)
{
    InstallCopy broken;
    broken.replaceLine("bauhoehen.txt", 2, "110      0.82     0.8x     0.78     0.76");
    struct Case
    {
        const char* what;
        std::vector<std::string> args;
        fs::path defaultDir;
        int code;
    };
    const Case cases[] = {
        {"argument", {"check-data", goodInstall.string()}, broken.dir(), 0},
        {"argument before --data",
         {"check-data", goodInstall.string(), "--data", broken.dir().string()},
         broken.dir(),
         0},
        {"--data", {"check-data", "--data", goodInstall.string()}, broken.dir(), 0},
        {"default", {"check-data"}, goodInstall, 0},
        {"default, broken", {"check-data"}, broken.dir(), 1},
        {"--data, broken", {"--data", broken.dir().string(), "check-data"}, goodInstall, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Outcome r = runTepa(c.args, c.defaultDir);
        EXPECT_EQ(r.code, c.code) << r.out << r.err;
    }
}

TEST(CheckDataCommand, PrintsEachProblemWithFileAndLine)
{
    InstallCopy broken;
    // Data line of "WM" (file line 20) with a left-aligned exponent; height line 3 with a bad factor.
    broken.replaceLine("freikon.txt", 19,
                       "  5.30 1.28   13.0      2   1              0.0   0.0    13.0      2   1");
    broken.replaceLine("bauhoehen.txt", 2, "110      0.82     0.8x     0.78     0.76");
    const Outcome r = runTepa({"check-data", broken.dir().string()});
    EXPECT_EQ(r.code, 1);
    const std::string dir = broken.dir().string();
    EXPECT_EQ(r.out,
              (broken.dir() / "freikon.txt").string() +
                  ":20: data line of \"WM\": nD (columns 8-13) is not a right-aligned number: \"1.28  \"\n" +
                  (broken.dir() / "bauhoehen.txt").string() +
                  ":3: factor of \"W2\" (columns 19-23) is not a number: \"0.8x \"\n");
    EXPECT_EQ(r.err, "tepa check-data: " + dir + ": 2 problems in the installation data\n");
}

TEST(CheckDataCommand, WholeFileProblemHasNoLineNumber)
{
    InstallCopy broken;
    fs::remove(broken.dir() / "konvektoren.txt");
    const Outcome r = runTepa({"check-data", broken.dir().string()});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.out, (broken.dir() / "konvektoren.txt").string() + ": missing or unreadable\n");
    EXPECT_EQ(r.err, "tepa check-data: " + broken.dir().string() + ": 1 problem in the installation data\n");
}

TEST(CheckDataCommand, UsageErrors)
{
    struct Case
    {
        std::vector<std::string> args;
        int code;
        const char* errFragment;
    };
    const Case cases[] = {
        {{"check-data", goodInstall.string(), goodInstall.string()}, 2, "one folder at most"},
        {{"check-data", "--json"}, 2, "unknown option --json"},
        {{"check-data", TEPA_TEST_DATA_DIR "/no-such-folder"}, 1, "is not a folder"},
        {{"check-data", goodInstall.string() + "/freikon.txt"}, 1, "is not a folder"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.back());
        const Outcome r = runTepa(c.args, goodInstall);
        EXPECT_EQ(r.code, c.code);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(c.errFragment), std::string::npos) << r.err;
    }
}

TEST(CheckDataCommand, HelpNamesTheFilesAndExitCodes)
{
    const Outcome r = runTepa({"check-data", "--help"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out.rfind("usage: tepa check-data [DIR]", 0), 0u) << r.out;
    EXPECT_NE(r.out.find("FILE:LINE"), std::string::npos);
    EXPECT_EQ(r.err, "");
}

} // namespace
} // namespace tepa::cli
