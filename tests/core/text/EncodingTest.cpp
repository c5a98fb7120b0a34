#include "core/text/Encoding.h"

#include "core/text/InterfaceTexts.h"
#include "core/text/TextFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace tepa {
namespace {

TEST(Cp1252, ConvertsBothWaysAndReplacesWhatItCannotHold)
{
    EXPECT_EQ(cp1252ToUtf8("Gr\xF6\xDF"
                           "e \x80 \xB0"
                           "C"),
              "Größe € °C");
    EXPECT_EQ(utf8ToCp1252("Größe €"), "Gr\xF6\xDF"
                                       "e \x80");
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);

    EXPECT_EQ(utf8ToCp1252("a\xE2\x88\x9E"
                           "b"),
              "a?b");                       // U+221E infinity
    EXPECT_EQ(utf8ToCp1252("x\xC3"), "x?"); // truncated sequence
    EXPECT_EQ(utf8ToCp1252("\xFF"
                           "z",
                           '_'),
              "_z");
}

TEST(Utf8Columns, CountCharactersNotBytes)
{
    const std::string text = "Größe 12";
    EXPECT_EQ(utf8Length(text), 8u);
    EXPECT_EQ(utf8Mid(text, 3, 2), "öß");
    EXPECT_EQ(utf8Mid(text, 8, 5), "2"); // cut at the end
    EXPECT_EQ(utf8Left(text, 4), "Größ");
}

TEST(TextFile, SplitsAtCrLfAndCrLf)
{
    EXPECT_EQ(splitLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(splitLines("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_TRUE(splitLines("").empty());
}

TEST(TextFile, ReadsWindows1252FilesAndNamesAFileItCannotOpen)
{
    const auto dir = std::filesystem::temp_directory_path() /
                     ("tepa-text-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "tepatext.txt", std::ios::binary) << "000ORVA TEPA\r\n001Neu\xE4\r\n";

    const auto lines = readTextLines(dir / "tepatext.txt");
    ASSERT_TRUE(lines.ok());
    EXPECT_EQ(*lines, (std::vector<std::string>{"000ORVA TEPA", "001Neuä"}));
    const auto texts = InterfaceTexts::load(dir);
    ASSERT_TRUE(texts.ok());
    EXPECT_EQ(texts->line(1), "Neuä");

    const auto missing = readTextLines(dir / "nope.txt");
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error(), "Datei " + (dir / "nope.txt").string() + " kann nicht geöffnet werden");
    EXPECT_FALSE(readTextLines(dir).ok());
    std::filesystem::remove_all(dir);
}

std::vector<std::string> numberedLines(std::size_t count)
{
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < count; ++i) {
        char prefix[8];
        std::snprintf(prefix, sizeof prefix, "%03zu", i % 1000);
        lines.push_back(std::string(prefix) + "text " + std::to_string(i));
    }
    return lines;
}

TEST(InterfaceTexts, StripsPrefixesUpToLine300AndTheFirstEmptyLine)
{
    const auto texts = InterfaceTexts::fromRawLines(numberedLines(400));
    EXPECT_EQ(texts.line(0), "text 0");
    EXPECT_EQ(texts.line(300), "text 300");
    EXPECT_EQ(texts.line(301), "301text 301");
    EXPECT_EQ(texts.line(400), ""); // beyond the file: empty, no crash

    auto raw = numberedLines(5);
    raw[1] = "";
    const auto gap = InterfaceTexts::fromRawLines(raw);
    EXPECT_EQ(gap.line(0), "text 0");
    EXPECT_EQ(gap.line(2), "002text 2");

    EXPECT_EQ(InterfaceTexts::fromRawLines({"ab"}).line(0), ""); // shorter than the prefix
    // The prefix is three characters, not three bytes.
    EXPECT_EQ(InterfaceTexts::fromRawLines({"äöüText"}).line(0), "Text");
}

} // namespace
} // namespace tepa
