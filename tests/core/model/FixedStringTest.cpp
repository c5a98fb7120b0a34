#include "core/model/FixedString.h"

#include "core/model/ByteCursor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tepa {
namespace {

std::string repeat(std::string_view piece, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i)
        text += piece;
    return text;
}

TEST(FixedString, CutsToItsMaximumCountingCharacters)
{
    struct Case
    {
        const char* name;
        std::string input;
        std::size_t expectedLength;
        std::string expectedText;
    };
    const Case cases[] = {
        {"empty", "", 0, ""},
        {"15 characters fit", "Besprechung 2.1", 15, "Besprechung 2.1"},
        {"16 characters lose the last", "Besprechung 2.1a", 15, "Besprechung 2.1"},
        // "ä" is two bytes in UTF-8 and one in the file: 15 of them fit, not 7.
        {"umlauts count once", repeat("ä", 16), 15, repeat("ä", 15)},
        {"euro sign is 0x80", "5 €", 3, "5 €"},
        {"outside the code page", "x\xE2\x86\x92y", 3, "x?y"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FixedString<15> field;
        field.setText(c.input);
        EXPECT_EQ(field.length(), c.expectedLength);
        EXPECT_EQ(field.text(), c.expectedText);
    }
}

TEST(FixedString, StoresWindows1252AndKeepsTailBytes)
{
    FixedString<10> field;
    field.setText("Größe 12");
    field.setText("Gr");
    // Length 2, then "Gr", then what the longer text left: 0xF6 ('ö' in Windows-1252), 0xDF ('ß').
    const std::vector<std::uint8_t> expected = {2, 'G', 'r', 0xF6, 0xDF, 'e', ' ', '1', '2', 0, 0};
    EXPECT_EQ(std::vector<std::uint8_t>(field.raw().begin(), field.raw().end()), expected);
    field.clear();
    EXPECT_EQ(field.raw()[0], 0);
    EXPECT_EQ(field.raw()[1], 'G');
    EXPECT_EQ(field.text(), "");
}

TEST(FixedString, LengthByteAboveMaximumReadsAsMaximum)
{
    FixedString<4> field;
    field.raw() = {200, 'a', 'b', 'c', 'd'};
    EXPECT_EQ(field.length(), 4u);
    EXPECT_EQ(field.text(), "abcd");
}

TEST(ByteCursor, ReadsLittleEndian)
{
    const std::vector<std::byte> data = {std::byte{0xFE}, std::byte{0xFF}, std::byte{0x04}, std::byte{0x03},
                                         std::byte{0x02}, std::byte{0x01}, std::byte{0x00}, std::byte{0x00},
                                         std::byte{0x00}, std::byte{0x00}, std::byte{0x00}, std::byte{0x4A},
                                         std::byte{0x93}, std::byte{0x40}};
    ByteReader reader(data);
    EXPECT_EQ(reader.i16(), -2);
    EXPECT_EQ(reader.i32(), 0x01020304);
    EXPECT_EQ(reader.f64(), 1234.5); // 0x40934A0000000000
    EXPECT_FALSE(reader.failed());
    EXPECT_EQ(reader.position(), 14u);
}

TEST(ByteCursor, ReadPastTheEndFailsAndStaysFailed)
{
    const std::vector<std::byte> data(6, std::byte{0x11});
    ByteReader reader(data);
    reader.seek(3);
    EXPECT_EQ(reader.i32(), 0);
    EXPECT_TRUE(reader.failed());
    EXPECT_EQ(reader.failedAt(), 3u);
    reader.seek(0);
    EXPECT_EQ(reader.u8(), 0); // the byte is there, but a failed cursor reads nothing more
    EXPECT_EQ(reader.failedAt(), 3u);

    ByteReader beyond(data);
    beyond.seek(100);
    std::uint8_t out[1] = {7};
    beyond.bytes(out);
    EXPECT_TRUE(beyond.failed());
    EXPECT_EQ(out[0], 7);
}

TEST(ByteCursor, WritesLittleEndianAndNeverPastTheEnd)
{
    std::vector<std::byte> data(7);
    ByteWriter writer(data);
    writer.i16(-2);
    writer.i32(0x01020304);
    EXPECT_FALSE(writer.failed());
    writer.i16(0x7777); // one byte left
    EXPECT_TRUE(writer.failed());
    EXPECT_EQ(writer.failedAt(), 6u);
    const std::vector<std::byte> expected = {std::byte{0xFE}, std::byte{0xFF}, std::byte{0x04},
                                             std::byte{0x03}, std::byte{0x02}, std::byte{0x01},
                                             std::byte{0x00}};
    EXPECT_EQ(data, expected);
}

} // namespace
} // namespace tepa
