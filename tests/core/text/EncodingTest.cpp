#include "core/text/Encoding.h"

#include "core/text/InterfaceTexts.h"
#include "core/text/TextFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace tepa {
namespace {

// Windows-1252 bytes in octal: \366 "ö", \337 "ß", \200 "€", \260 "°", \344 "ä".
TEST(Cp1252, ConvertsBothWaysAndReplacesWhatItCannotHold)
{
    EXPECT_EQ(cp1252ToUtf8("Gr\366\337e \200 \260C"), "Größe € °C");
    EXPECT_EQ(utf8ToCp1252("Größe €"), "Gr\366\337e \200");
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(utf8ToCp1252(cp1252ToUtf8(all)), all);
    EXPECT_EQ(utf8ToCp1252("a∞b"), "a?b");
    EXPECT_EQ(utf8ToCp1252("x\303"), "x?"); // a truncated sequence
    EXPECT_EQ(utf8ToCp1252("\377z", '_'), "_z");
}

TEST(Utf8Columns, CountCharactersNotBytes)
{
    const std::string text = "Größe 12";
    EXPECT_EQ(utf8Length(text), 8u);
    EXPECT_EQ(utf8Mid(text, 3, 2), "öß");
    EXPECT_EQ(utf8Mid(text, 8, 5), "2"); // cut at the end
    EXPECT_EQ(utf8Left(text, 4), "Größ");
}

TEST(TextFile, SplitsAtCrLfCrAndLfAndNamesAFileItCannotOpen)
{
    EXPECT_EQ(splitLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(splitLines("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
    EXPECT_TRUE(splitLines("").empty());
    const auto dir = std::filesystem::temp_directory_path() /
                     ("tepa-text-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "tepatext.txt", std::ios::binary) << "000ORVA TEPA\r\n001Neu\344\r\n";
    EXPECT_EQ(InterfaceTexts::load(dir).value().line(1), "Neuä");
    const auto missing = readTextLines(dir / "nope.txt");
    EXPECT_EQ(missing.error(), "Datei " + (dir / "nope.txt").string() + " kann nicht geöffnet werden");
    EXPECT_FALSE(readTextLines(dir).ok());
    std::filesystem::remove_all(dir);
}

TEST(InterfaceTexts, StripsPrefixesUpToLine300AndTheFirstEmptyLine)
{
    std::vector<std::string> raw;
    for (int i = 0; i < 400; ++i)
        raw.push_back(std::to_string(1000 + i % 1000).substr(1) + "text " + std::to_string(i));
    const auto texts = InterfaceTexts::fromRawLines(raw);
    EXPECT_EQ(texts.line(0), "text 0");
    EXPECT_EQ(texts.line(300), "text 300");
    EXPECT_EQ(texts.line(301), "301text 301");
    EXPECT_EQ(texts.line(400), ""); // beyond the file: empty, no crash
    raw.resize(5);
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
