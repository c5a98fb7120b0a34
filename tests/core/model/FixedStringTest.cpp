#include "core/model/FixedString.h"

#include "core/model/ByteCursor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tepa {
namespace {

// The bytes a text is stored as, tails behind a shortened text included, are those of
// tests/data/every-field.kon (ProjectCodecTest.cpp); a cleared text keeps its characters as in
// cleared-entries.kon (ProjectResetTest.cpp). A length byte above the maximum reads as it.
TEST(FixedString, ALengthByteAboveTheMaximumReadsAsTheMaximum)
{
    FixedString<4> hostile;
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
