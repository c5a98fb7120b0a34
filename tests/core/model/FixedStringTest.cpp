#include "core/model/FixedString.h"

#include "core/model/ByteCursor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tepa {
namespace {

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

    FixedString<4> hostile; // a length byte above the maximum reads as the maximum
    hostile.raw() = {200, 'a', 'b', 'c', 'd'};
    EXPECT_EQ(hostile.text(), "abcd");
}

TEST(ByteCursor, NeverReadsOrWritesPastTheEnd)
{
    const std::vector<std::byte> data(6, std::byte{0x11});
    ByteReader reader(data);
    reader.seek(3);
    EXPECT_EQ(reader.i32(), 0);
    EXPECT_TRUE(reader.failed());
    EXPECT_EQ(reader.failedAt(), 3u);
    reader.seek(0);
    EXPECT_EQ(reader.u8(), 0); // the byte is there, but a failed cursor reads nothing more

    std::vector<std::byte> target(3);
    ByteWriter writer(target);
    writer.i16(-2);
    writer.i16(0x7777); // one byte left
    EXPECT_TRUE(writer.failed());
    EXPECT_EQ(target, (std::vector<std::byte>{std::byte{0xFE}, std::byte{0xFF}, std::byte{0x00}}));
}

} // namespace
} // namespace tepa
