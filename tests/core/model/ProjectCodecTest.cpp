#include "core/model/ProjectCodec.h"

#include "SampleProjects.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <variant>

namespace tepa {
namespace {

using test::bytesOf;
using test::put;
using test::slice;

constexpr std::size_t NoDifference = SIZE_MAX;

std::size_t firstDifference(std::span<const std::byte> a, std::span<const std::byte> b)
{
    if (a.size() != b.size())
        return std::min(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i])
            return i;
    return NoDifference;
}

// Hand-encoded values written into the fields below.
// 1234.5 = 1.00110100101b * 2^10: exponent 1023 + 10 = 0x409, fraction 0x34A0000000000.
const auto DoubleBytes = bytesOf({0x00, 0x00, 0x00, 0x00, 0x00, 0x4A, 0x93, 0x40});
constexpr double DoubleValue = 1234.5;
const auto Int32Bytes = bytesOf({0x04, 0x03, 0x02, 0x01});
constexpr std::int32_t Int32Value = 0x01020304;
// "Aé" in Windows-1252 after its length byte.
const auto TextBytes = bytesOf({0x02, 0x41, 0xE9});
constexpr const char* TextValue = "A\xC3\xA9";
const auto TrueBytes = bytesOf({0x01});

struct FieldCase
{
    std::string name;
    std::size_t offset; // from the file format's table
    std::function<void(ProjectRecord&)> set;
    std::vector<std::byte> bytes;
    bool decodesAsWritten = true;
};

template <class Entry>
using EntryMember = std::variant<double Entry::*,
                                 std::int32_t Entry::*,
                                 bool Entry::*,
                                 FixedString<10> Entry::*,
                                 FixedString<80> Entry::*>;

template <class Entry> struct EntryField
{
    const char* name;
    std::size_t offset; // from the start of the entry
    EntryMember<Entry> member;
};

// clang-format off
const EntryField<HeatingEntry> HeatingFields[] = {
    {"TypeName", 0, &HeatingEntry::TypeName},         {"Length", 11, &HeatingEntry::Length},
    {"Height", 19, &HeatingEntry::Height},            {"HeightFactor", 27, &HeatingEntry::HeightFactor},
    {"EffectiveLength", 35, &HeatingEntry::EffectiveLength}, {"FanSpeed", 43, &HeatingEntry::FanSpeed},
    {"MassFlow", 51, &HeatingEntry::MassFlow},        {"FanSetting", 59, &HeatingEntry::FanSetting},
    {"Count", 67, &HeatingEntry::Count},              {"TypeText1", 71, &HeatingEntry::TypeText1},
    {"TypeText2", 152, &HeatingEntry::TypeText2},     {"CoeffK", 233, &HeatingEntry::CoeffK},
    {"ExponentN", 241, &HeatingEntry::ExponentN},     {"ReturnTemp", 249, &HeatingEntry::ReturnTemp},
    {"Output", 257, &HeatingEntry::Output},           {"FreeConvection", 265, &HeatingEntry::FreeConvection},
    {"PressureDrop", 266, &HeatingEntry::PressureDrop}, {"SoundLevel", 274, &HeatingEntry::SoundLevel},
    {"ReturnTempEnd", 282, &HeatingEntry::ReturnTempEnd}, {"ReturnTempStart", 290, &HeatingEntry::ReturnTempStart},
    {"MassFlowEnd", 298, &HeatingEntry::MassFlowEnd}, {"MassFlowStart", 306, &HeatingEntry::MassFlowStart},
    {"OutputEnd", 314, &HeatingEntry::OutputEnd},     {"OutputStart", 322, &HeatingEntry::OutputStart},
    {"CoolingNominalOutput", 330, &HeatingEntry::CoolingNominalOutput},
    {"CoolingNominalSound", 338, &HeatingEntry::CoolingNominalSound},
    {"CoolingNominalPressureDrop", 346, &HeatingEntry::CoolingNominalPressureDrop},
    {"CoolingNominalMassFlow", 354, &HeatingEntry::CoolingNominalMassFlow},
    {"FreeConvectionB", 362, &HeatingEntry::FreeConvectionB}, {"InUse", 363, &HeatingEntry::InUse},
};
const EntryField<CoolingEntry> CoolingFields[] = {
    {"TypeName", 0, &CoolingEntry::TypeName},         {"Length", 11, &CoolingEntry::Length},
    {"Height", 19, &CoolingEntry::Height},            {"HeightFactor", 27, &CoolingEntry::HeightFactor},
    {"EffectiveLength", 35, &CoolingEntry::EffectiveLength}, {"FanSpeed", 43, &CoolingEntry::FanSpeed},
    {"MassFlow", 51, &CoolingEntry::MassFlow},        {"FanSetting", 59, &CoolingEntry::FanSetting},
    {"Count", 67, &CoolingEntry::Count},              {"TypeText1", 71, &CoolingEntry::TypeText1},
    {"TypeText2", 152, &CoolingEntry::TypeText2},     {"CoeffK", 233, &CoolingEntry::CoeffK},
    {"ExponentN", 241, &CoolingEntry::ExponentN},     {"ReturnTemp", 249, &CoolingEntry::ReturnTemp},
    {"Output", 257, &CoolingEntry::Output},           {"PressureDrop", 265, &CoolingEntry::PressureDrop},
    {"SoundLevel", 273, &CoolingEntry::SoundLevel},
    {"HeatingNominalOutput", 281, &CoolingEntry::HeatingNominalOutput},
    {"HeatingNominalSound", 289, &CoolingEntry::HeatingNominalSound},
    {"HeatingNominalPressureDrop", 297, &CoolingEntry::HeatingNominalPressureDrop},
    {"HeatingNominalMassFlow", 305, &CoolingEntry::HeatingNominalMassFlow},
    {"InUse", 313, &CoolingEntry::InUse},
};
// clang-format on

template <class Entry, std::size_t K>
void addEntryCases(std::vector<FieldCase>& cases,
                   const char* list,
                   const EntryField<Entry> (&fields)[K],
                   std::array<Entry, MaxEntries> ProjectRecord::*entries,
                   std::size_t number,
                   std::size_t start)
{
    for (const auto& field : fields) {
        FieldCase c;
        c.name = std::string(list) + "[" + std::to_string(number) + "]." + field.name;
        c.offset = start + field.offset;
        std::visit(
            [&](auto member) {
                using T = std::remove_reference_t<decltype(std::declval<Entry>().*member)>;
                c.set = [=](ProjectRecord& r) {
                    Entry& e = (r.*entries)[number - 1];
                    if constexpr (std::is_same_v<T, double>)
                        e.*member = DoubleValue;
                    else if constexpr (std::is_same_v<T, std::int32_t>)
                        e.*member = Int32Value;
                    else if constexpr (std::is_same_v<T, bool>)
                        e.*member = true;
                    else
                        (e.*member).setText(TextValue);
                };
                if constexpr (std::is_same_v<T, double>)
                    c.bytes = DoubleBytes;
                else if constexpr (std::is_same_v<T, std::int32_t>)
                    c.bytes = Int32Bytes;
                else if constexpr (std::is_same_v<T, bool>)
                    c.bytes = TrueBytes;
                else
                    c.bytes = TextBytes;
            },
            field.member);
        cases.push_back(std::move(c));
    }
}

std::vector<FieldCase> fieldCases()
{
    auto text = [](auto member) { return [=](ProjectRecord& r) { (r.*member).setText(TextValue); }; };
    auto number = [](auto member) { return [=](ProjectRecord& r) { r.*member = DoubleValue; }; };
    auto flag = [](auto member) { return [=](ProjectRecord& r) { r.*member = true; }; };
    using R = ProjectRecord;
    std::vector<FieldCase> cases = {
        {"Title", 0, text(&R::Title), TextBytes},
        {"Number", 51, text(&R::Number), TextBytes},
        {"Date", 68, text(&R::Date), TextBytes},
        {"RemarkLines[1]", 203, [](R& r) { r.RemarkLines[0].setText(TextValue); }, TextBytes},
        {"RemarkLines[25]", 203 + 24 * 73, [](R& r) { r.RemarkLines[24].setText(TextValue); }, TextBytes},
        {"DataLines[1]", 2028, [](R& r) { r.DataLines[0].setText(TextValue); }, TextBytes},
        {"DataLines[7]", 2028 + 6 * 41, [](R& r) { r.DataLines[6].setText(TextValue); }, TextBytes},
        {"Attachments[1]", 2397, [](R& r) { r.Attachments[0].setText(TextValue); }, TextBytes},
        {"Attachments[20]", 2397 + 19 * 256, [](R& r) { r.Attachments[19].setText(TextValue); }, TextBytes},
        {"RoomName", 7517, text(&R::RoomName), TextBytes},
        {"HeatingDemand", 7533, number(&R::HeatingDemand), DoubleBytes},
        {"CoolingDemand", 7541, number(&R::CoolingDemand), DoubleBytes},
        {"HeatingRoomTemp", 7549, number(&R::HeatingRoomTemp), DoubleBytes},
        {"CoolingRoomTemp", 7557, number(&R::CoolingRoomTemp), DoubleBytes},
        {"HeatingFlowTemp", 7565, number(&R::HeatingFlowTemp), DoubleBytes},
        {"CoolingFlowTemp", 7573, number(&R::CoolingFlowTemp), DoubleBytes},
        {"HeatingSecondTemp", 7581, number(&R::HeatingSecondTemp), DoubleBytes},
        {"CoolingSecondTemp", 7589, number(&R::CoolingSecondTemp), DoubleBytes},
        {"CoolingHumidity", 7597, number(&R::CoolingHumidity), DoubleBytes},
        {"HeatingEntryCount", 7605, [](R& r) { r.HeatingEntryCount = 7; }, bytesOf({7, 0, 0, 0})},
        {"CoolingEntryCount", 7609, [](R& r) { r.CoolingEntryCount = 12; }, bytesOf({12, 0, 0, 0})},
        {"ReturnTempFixed", 7613, [](R& r) { r.ReturnTempFixed = 0x0102; }, bytesOf({0x02, 0x01})},
        {"MassFlowFixed", 7615, [](R& r) { r.MassFlowFixed = -2; }, bytesOf({0xFE, 0xFF})},
        {"CalculationDone", 15849, flag(&R::CalculationDone), TrueBytes},
        {"HeatingInUse", 15850, flag(&R::HeatingInUse), TrueBytes},
        {"CoolingInUse", 15851, flag(&R::CoolingInUse), TrueBytes},
        {"CoolingDualUse", 15852, flag(&R::CoolingDualUse), TrueBytes},
        {"HeatingDualUse", 15853, flag(&R::HeatingDualUse), TrueBytes},
        // A loaded record always has one room, so this value only travels outwards.
        {"RoomCount", 15854, [](R& r) { r.RoomCount = 0x0A0B0C0D; }, bytesOf({0x0D, 0x0C, 0x0B, 0x0A}),
         false},
    };
    // First and last entry of each list: 7617 + 11 * 368 = 11665, 12033 + 11 * 318 = 15531.
    addEntryCases(cases, "HeatingEntries", HeatingFields, &R::HeatingEntries, 1, 7617);
    addEntryCases(cases, "HeatingEntries", HeatingFields, &R::HeatingEntries, 12, 11665);
    addEntryCases(cases, "CoolingEntries", CoolingFields, &R::CoolingEntries, 1, 12033);
    addEntryCases(cases, "CoolingEntries", CoolingFields, &R::CoolingEntries, 12, 15531);
    return cases;
}

// What a record holds after loading an all-zero image: the counts are lifted to their minimum.
ProjectRecord loadedZeroRecord()
{
    ProjectRecord r;
    r.HeatingEntryCount = 1;
    r.CoolingEntryCount = 1;
    r.RoomCount = 1;
    return r;
}

TEST(ProjectCodec, WritesEachFieldAtItsOffsetAndNothingElse)
{
    for (const auto& c : fieldCases()) {
        SCOPED_TRACE(c.name);
        ProjectRecord record;
        c.set(record);
        const auto image = ProjectCodec::encode(record);
        std::vector<std::byte> expected(15858);
        put(expected, c.offset, c.bytes);
        EXPECT_EQ(firstDifference(image, expected), NoDifference);
    }
}

TEST(ProjectCodec, ReadsEachFieldFromItsOffset)
{
    for (const auto& c : fieldCases()) {
        if (!c.decodesAsWritten)
            continue;
        SCOPED_TRACE(c.name);
        std::vector<std::byte> image(15858);
        put(image, 7605, bytesOf({1}));  // HeatingEntryCount
        put(image, 7609, bytesOf({1}));  // CoolingEntryCount
        put(image, 15854, bytesOf({1})); // RoomCount
        put(image, c.offset, c.bytes);
        const auto decoded = ProjectCodec::decode(image);
        ASSERT_TRUE(decoded.ok()) << decoded.error();
        ProjectRecord expected = loadedZeroRecord();
        c.set(expected);
        EXPECT_EQ(*decoded, expected);
    }
}

TEST(ProjectCodec, ValidImageRoundTripsWithUnassignedBytesAndStringTails)
{
    ProjectRecord record = test::sampleProject();
    for (std::size_t i = 0; i < record.UnassignedAfterDate.size(); ++i)
        record.UnassignedAfterDate[i] = static_cast<std::uint8_t>(100 + i);
    for (std::size_t i = 0; i < record.UnassignedAfterDataLines.size(); ++i)
        record.UnassignedAfterDataLines[i] = static_cast<std::uint8_t>(i + 1);
    record.HeatingEntries[11].Unassigned = {1, 2, 3, 4};
    record.CoolingEntries[0].Unassigned = {9, 8, 7, 6};
    // Shortening a text leaves the old characters behind its new length.
    record.Title.setText("Nordring");
    record.Title.setText("Nord");

    const auto image = ProjectCodec::encode(record);
    EXPECT_EQ(image[79], std::byte{100});
    EXPECT_EQ(image[202], std::byte{223});
    EXPECT_EQ(image[2315], std::byte{1});
    EXPECT_EQ(image[2396], std::byte{82});
    EXPECT_EQ(slice(image, 11665 + 364, 4), bytesOf({1, 2, 3, 4}));
    EXPECT_EQ(slice(image, 12033 + 314, 4), bytesOf({9, 8, 7, 6}));
    EXPECT_EQ(slice(image, 0, 9), bytesOf({4, 'N', 'o', 'r', 'd', 'r', 'i', 'n', 'g'}));

    const auto decoded = ProjectCodec::decode(image);
    ASSERT_TRUE(decoded.ok()) << decoded.error();
    EXPECT_EQ(decoded->Title.text(), "Nord");
    EXPECT_EQ(*decoded, record);
    EXPECT_EQ(firstDifference(ProjectCodec::encode(*decoded), image), NoDifference);
}

TEST(ProjectCodec, ShortImageFailsWithTheLoadingMessage)
{
    const auto full = ProjectCodec::encode(test::sampleProject());
    for (std::size_t size : {0u, 1u, 7617u, 15857u}) {
        SCOPED_TRACE(size);
        const auto decoded = ProjectCodec::decode(std::span(full).first(size));
        ASSERT_FALSE(decoded.ok());
        EXPECT_EQ(decoded.error(), "Loading - Error");
    }
}

TEST(ProjectCodec, HostileValuesAreMadeSafe)
{
    // IEEE 754 patterns: quiet NaN 0x7FF8..., +infinity 0x7FF0..., -infinity 0xFFF0...
    const auto nan = bytesOf({0, 0, 0, 0, 0, 0, 0xF8, 0x7F});
    const auto plusInf = bytesOf({0, 0, 0, 0, 0, 0, 0xF0, 0x7F});
    const auto minusInf = bytesOf({0, 0, 0, 0, 0, 0, 0xF0, 0xFF});
    struct Case
    {
        const char* name;
        std::size_t offset;
        std::vector<std::byte> bytes;
        std::function<void(const ProjectRecord&)> check;
    };
    const Case cases[] = {
        {"Title length 255", 0, bytesOf({255}), [](auto& r) { EXPECT_EQ(r.Title.length(), 50u); }},
        {"RoomName length 255", 7517, bytesOf({255}), [](auto& r) { EXPECT_EQ(r.RoomName.length(), 15u); }},
        {"Date length 11", 68, bytesOf({11}), [](auto& r) { EXPECT_EQ(r.Date.length(), 10u); }},
        {"last cooling TypeName length 200", 15531, bytesOf({200}),
         [](auto& r) { EXPECT_EQ(r.CoolingEntries[11].TypeName.length(), 10u); }},
        {"HeatingEntryCount 2^31-1", 7605, bytesOf({0xFF, 0xFF, 0xFF, 0x7F}),
         [](auto& r) { EXPECT_EQ(r.HeatingEntryCount, 12); }},
        {"HeatingEntryCount -5", 7605, bytesOf({0xFB, 0xFF, 0xFF, 0xFF}),
         [](auto& r) { EXPECT_EQ(r.HeatingEntryCount, 1); }},
        {"CoolingEntryCount 13", 7609, bytesOf({13, 0, 0, 0}),
         [](auto& r) { EXPECT_EQ(r.CoolingEntryCount, 12); }},
        {"CoolingEntryCount 0", 7609, bytesOf({0, 0, 0, 0}),
         [](auto& r) { EXPECT_EQ(r.CoolingEntryCount, 1); }},
        {"RoomCount 1000", 15854, bytesOf({0xE8, 0x03, 0, 0}), [](auto& r) { EXPECT_EQ(r.RoomCount, 1); }},
        {"RoomCount 0", 15854, bytesOf({0, 0, 0, 0}), [](auto& r) { EXPECT_EQ(r.RoomCount, 1); }},
        {"HeatingDemand NaN", 7533, nan, [](auto& r) { EXPECT_EQ(r.HeatingDemand, 0.0); }},
        {"CoolingHumidity +inf", 7597, plusInf, [](auto& r) { EXPECT_EQ(r.CoolingHumidity, 0.0); }},
        {"cooling entry 1 Output -inf", 12033 + 257, minusInf,
         [](auto& r) { EXPECT_EQ(r.CoolingEntries[0].Output, 0.0); }},
        {"heating entry 12 OutputStart NaN", 11665 + 322, nan,
         [](auto& r) { EXPECT_EQ(r.HeatingEntries[11].OutputStart, 0.0); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto image = ProjectCodec::encode(test::sampleProject());
        put(image, c.offset, c.bytes);
        const auto decoded = ProjectCodec::decode(image);
        ASSERT_TRUE(decoded.ok()) << decoded.error();
        c.check(*decoded);
    }
}

TEST(ProjectCodec, RandomImagesLoadWithinLimitsAndEncodeStably)
{
    std::mt19937 random(20250314);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        std::vector<std::byte> image(15858);
        for (auto& b : image)
            b = static_cast<std::byte>(byte(random));
        // Make some doubles certainly non-finite: an exponent of all ones.
        image[7533 + 6] = std::byte{0xF0};
        image[7533 + 7] = std::byte{0x7F};

        const auto decoded = ProjectCodec::decode(image);
        ASSERT_TRUE(decoded.ok()) << decoded.error();
        const ProjectRecord& r = *decoded;
        EXPECT_GE(r.HeatingEntryCount, 1);
        EXPECT_LE(r.HeatingEntryCount, 12);
        EXPECT_GE(r.CoolingEntryCount, 1);
        EXPECT_LE(r.CoolingEntryCount, 12);
        EXPECT_EQ(r.RoomCount, 1);
        EXPECT_EQ(r.HeatingDemand, 0.0);
        EXPECT_LE(r.Title.raw()[0], 50);
        for (const auto& e : r.HeatingEntries) {
            EXPECT_TRUE(std::isfinite(e.Output) && std::isfinite(e.CoeffK) && std::isfinite(e.OutputStart));
            EXPECT_LE(e.TypeText1.raw()[0], 80);
        }
        for (const auto& e : r.CoolingEntries)
            EXPECT_LE(e.TypeName.raw()[0], 10);
        // Once made safe, the record is a valid image and stays the same through a round trip.
        const auto once = ProjectCodec::encode(r);
        const auto again = ProjectCodec::decode(once);
        ASSERT_TRUE(again.ok());
        EXPECT_EQ(firstDifference(ProjectCodec::encode(*again), once), NoDifference);
    }
}

} // namespace
} // namespace tepa
