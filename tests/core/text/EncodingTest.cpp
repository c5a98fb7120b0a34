#include "core/text/Encoding.h"
#include "core/text/InterfaceTexts.h"
#include "core/text/TextFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace tepa {
namespace {

TEST(Cp1252, ConvertsGermanTextAndTheEuroSign)
{
    EXPECT_EQ(cp1252ToUtf8("Gr\xF6\xDF" "e \x80"), "Größe €");
    EXPECT_EQ(utf8ToCp1252("Größe €"), "Gr\xF6\xDF" "e \x80");
    EXPECT_EQ(cp1252ToUtf8("\xB0" "C"), "°C");
}

TEST(Cp1252, EveryByteSurvivesTheRoundTrip)
{
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
}

TEST(Cp1252, UnrepresentableAndMalformedTextBecomesTheReplacement)
{
    EXPECT_EQ(utf8ToCp1252("a\xE2\x88\x9E" "b"), "a?b");     // U+221E infinity
    EXPECT_EQ(utf8ToCp1252("x\xC3"), "x?");                  // truncated sequence
    EXPECT_EQ(utf8ToCp1252("\xFF" "z", '_'), "_z");
}

TEST(Utf8Columns, CountCharactersNotBytes)
{
    const std::string text = "Größe 12";
    EXPECT_EQ(utf8Length(text), 8u);
    EXPECT_EQ(utf8Mid(text, 7, 2), "12");
    EXPECT_EQ(utf8Mid(text, 3, 2), "öß");
    EXPECT_EQ(utf8Mid(text, 8, 5), "2");   // cut at the end
    EXPECT_EQ(utf8Mid(text, 20, 3), "");   // past the end
    EXPECT_EQ(utf8Left(text, 4), "Größ");
    EXPECT_EQ(utf8Left(text, 100), text);
}

TEST(TextFile, SplitsAtCrLfAndCrLf)
{
    EXPECT_EQ(splitLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(splitLines("a\n\nb\n"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(splitLines("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_TRUE(splitLines("").empty());
}

class TextFileOnDisk : public testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = std::filesystem::temp_directory_path() /
                ("tepa-text-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(m_dir);
    }
    void TearDown() override { std::filesystem::remove_all(m_dir); }
    void write(const std::string& name, const std::string& bytes)
    {
        std::ofstream(m_dir / name, std::ios::binary) << bytes;
    }
    std::filesystem::path m_dir;
};

TEST_F(TextFileOnDisk, ReadsWindows1252IntoUtf8Lines)
{
    write("t.txt", "H\xF6he\r\n180\r\n");
    auto lines = readTextLines(m_dir / "t.txt");
    ASSERT_TRUE(lines.ok());
    EXPECT_EQ(*lines, (std::vector<std::string>{"Höhe", "180"}));
}

TEST_F(TextFileOnDisk, MissingFileOrFolderGivesTheOpenMessage)
{
    auto missing = readTextLines(m_dir / "nope.txt");
    ASSERT_FALSE(missing.ok());
    EXPECT_EQ(missing.error(), "Datei " + (m_dir / "nope.txt").string() + " kann nicht geöffnet werden");
    EXPECT_FALSE(readTextLines(m_dir).ok());
}

TEST_F(TextFileOnDisk, InterfaceTextsLoadStripped)
{
    write("tepatext.txt", "000ORVA TEPA\r\n001Projekt\r\n002Neu\xE4\r\n");
    auto texts = InterfaceTexts::load(m_dir);
    ASSERT_TRUE(texts.ok());
    EXPECT_EQ(texts->line(0), "ORVA TEPA");
    EXPECT_EQ(texts->line(2), "Neuä");
    EXPECT_EQ(texts->line(3), ""); // beyond the file: empty, no crash
    EXPECT_FALSE(InterfaceTexts::load(m_dir / "missing").ok());
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

TEST(InterfaceTexts, StripsUpToLine300AndKeepsPrefixesBeyond)
{
    auto texts = InterfaceTexts::fromRawLines(numberedLines(400));
    EXPECT_EQ(texts.line(0), "text 0");
    EXPECT_EQ(texts.line(300), "text 300");
    EXPECT_EQ(texts.line(301), "301text 301");
    EXPECT_EQ(texts.line(399), "399text 399");
}

TEST(InterfaceTexts, StopsAtTheFirstEmptyLine)
{
    auto raw = numberedLines(5);
    raw[1] = "";
    auto texts = InterfaceTexts::fromRawLines(raw);
    EXPECT_EQ(texts.line(0), "text 0");
    EXPECT_EQ(texts.line(1), "");
    EXPECT_EQ(texts.line(2), "002text 2");
}

TEST(InterfaceTexts, ShortFilesEndAtTheirLastLine)
{
    auto texts = InterfaceTexts::fromRawLines(numberedLines(3));
    EXPECT_EQ(texts.size(), 3u);
    EXPECT_EQ(texts.line(2), "text 2");
    EXPECT_EQ(InterfaceTexts::fromRawLines({"ab"}).line(0), ""); // shorter than the prefix
    EXPECT_EQ(InterfaceTexts::fromRawLines({}).size(), 0u);
    // The prefix is three characters, not three bytes.
    EXPECT_EQ(InterfaceTexts::fromRawLines({"äöüText"}).line(0), "Text");
}

} // namespace
} // namespace tepa
