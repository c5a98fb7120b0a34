#include "core/text/Encoding.h"
#include "core/text/InterfaceTexts.h"
#include "core/text/Numbers.h"
#include "core/text/TextFile.h"

#include "core/GoldenCalls.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

// Numbers read and written for the calls in tests/data/text/numbers.txt (the file's head lists
// the calls; GoldenCalls.h says how the file is checked and written, here by bin/test_text), the
// code page, the text files and the interface texts.

namespace tepa {
namespace {

// The call's name, then its text argument in quotes or its number arguments.
std::string result(const std::vector<std::string>& w)
{
    const std::string& name = w.at(0);
    const std::string& text = w.at(1);
    const auto n = [&](std::size_t k) { return std::stod(w.at(k)); };
    const auto i = [&](std::size_t k) { return static_cast<int>(n(k)); };
    if (name == "decimal") {
        const DecimalReading r = readDecimal(text);
        return test::numberText(r.value, 17) + " stop " + std::to_string(r.stopPosition);
    }
    if (name == "integer") {
        const auto r = readInteger(text);
        return r ? std::to_string(*r) : "none";
    }
    if (name == "float" || name == "commafloat") {
        const auto r = localeFloat(text, name == "float" ? '.' : ',');
        return r ? test::numberText(*r, 17) : "error " + r.error();
    }
    if (name == "fixed")
        return "\"" + strFixed(n(1), i(2), i(3)) + "\"";
    if (name == "digits")
        return "\"" + fixedDigits(n(1), i(2), i(3)) + "\"";
    if (name == "int")
        return "\"" + strInt(static_cast<long long>(n(1)), i(2)) + "\"";
    if (name == "point")
        return "\"" + commaToPoint(text) + "\"";
    if (name == "halfeven")
        return std::to_string(roundHalfEven(n(1)));
    ADD_FAILURE() << "unknown call " << name;
    return "";
}

TEST(Numbers, ReadAndWrittenAsTheGoldenFileSays)
{
    test::checkGoldenCalls(TEPA_TEST_DATA_DIR "/text/numbers.txt",
                           [](const std::string& line) { return result(test::callWords(line)); });
}

// Windows-1252 bytes in octal: \366 "ö", \337 "ß", \200 "€", \260 "°", \344 "ä".
TEST(Cp1252, ConvertsBothWaysAndUtf8ColumnsCountCharacters)
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
    // Columns count characters, not bytes.
    const std::string text = "Größe 12";
    EXPECT_EQ(utf8Length(text), 8u);
    EXPECT_EQ(utf8Mid(text, 3, 2), "öß");
    EXPECT_EQ(utf8Mid(text, 8, 5), "2"); // cut at the end
    EXPECT_EQ(utf8Left(text, 4), "Größ");
}

TEST(TextFile, SplitsLinesAndInterfaceTextsLoseTheirPrefixes)
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
    // Interface texts lose their prefixes up to line 300 and the first empty line.
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
