#include "core/model/ProjectCodec.h"

#include "SampleProjects.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

namespace tepa {
namespace {

using test::bytesOf;
using test::put;

constexpr std::size_t NoDifference = SIZE_MAX;

std::size_t firstDifference(std::span<const std::byte> a, std::span<const std::byte> b)
{
    const auto [ia, ib] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    return ia == a.end() && ib == b.end() ? NoDifference : static_cast<std::size_t>(ia - a.begin());
}

// Hand-encoded values written into the fields below.
// 1234.5 = 1.00110100101b * 2^10: exponent 1023 + 10 = 0x409, fraction 0x34A0000000000.
const auto DoubleBytes = bytesOf({0x00, 0x00, 0x00, 0x00, 0x00, 0x4A, 0x93, 0x40});
const auto Int32Bytes = bytesOf({0x04, 0x03, 0x02, 0x01});
const auto TextBytes = bytesOf({0x02, 0x41, 0xE9}); // "Aé" in Windows-1252 after its length byte
const auto TrueBytes = bytesOf({0x01});

// The hand-encoded value each kind of field is set to.
struct Value
{
    static void set(double& v) { v = 1234.5; }
    static void set(std::int32_t& v) { v = 0x01020304; }
    static void set(bool& v) { v = true; }
    template <std::size_t N> static void set(FixedString<N>& v) { v.setText("A\xC3\xA9"); }
    static std::vector<std::byte> bytes(double) { return DoubleBytes; }
    static std::vector<std::byte> bytes(std::int32_t) { return Int32Bytes; }
    static std::vector<std::byte> bytes(bool) { return TrueBytes; }
    template <std::size_t N> static std::vector<std::byte> bytes(const FixedString<N>&) { return TextBytes; }
};

struct FieldCase
{
    std::string name;
    std::size_t offset; // from the file format's table
    std::function<void(ProjectRecord&)> set;
    std::vector<std::byte> bytes;
    bool decodesAsWritten = true;
};

template <class Entry> struct EntryField
{
    const char* name;
    std::size_t offset; // from the start of the entry
    std::function<void(Entry&)> set;
    std::vector<std::byte> bytes;
};

// clang-format off
#define FIELD(offset, member) {#member, offset, [](ProjectRecord& r) { Value::set(r.member); }, Value::bytes(zero.member)}
#define ENTRY(E, offset, member) {#member, offset, [](E& e) { Value::set(e.member); }, Value::bytes(E{}.member)}
template <class E> std::vector<EntryField<E>> commonEntryFields()
{
    return {ENTRY(E, 0, TypeName),   ENTRY(E, 11, Length),   ENTRY(E, 19, Height),     ENTRY(E, 27, HeightFactor),
            ENTRY(E, 35, EffectiveLength), ENTRY(E, 43, FanSpeed), ENTRY(E, 51, MassFlow), ENTRY(E, 59, FanSetting),
            ENTRY(E, 67, Count),     ENTRY(E, 71, TypeText1), ENTRY(E, 152, TypeText2), ENTRY(E, 233, CoeffK),
            ENTRY(E, 241, ExponentN), ENTRY(E, 249, ReturnTemp), ENTRY(E, 257, Output)};
}

std::vector<EntryField<HeatingEntry>> heatingFields()
{
    using H = HeatingEntry;
    auto fields = commonEntryFields<H>();
    fields.insert(fields.end(), {
        ENTRY(H, 265, FreeConvection), ENTRY(H, 266, PressureDrop), ENTRY(H, 274, SoundLevel),
        ENTRY(H, 282, ReturnTempEnd), ENTRY(H, 290, ReturnTempStart), ENTRY(H, 298, MassFlowEnd),
        ENTRY(H, 306, MassFlowStart), ENTRY(H, 314, OutputEnd), ENTRY(H, 322, OutputStart),
        ENTRY(H, 330, CoolingNominalOutput), ENTRY(H, 338, CoolingNominalSound),
        ENTRY(H, 346, CoolingNominalPressureDrop), ENTRY(H, 354, CoolingNominalMassFlow),
        ENTRY(H, 362, FreeConvectionB), ENTRY(H, 363, InUse)});
    return fields;
}

std::vector<EntryField<CoolingEntry>> coolingFields()
{
    using C = CoolingEntry;
    auto fields = commonEntryFields<C>();
    fields.insert(fields.end(), {
        ENTRY(C, 265, PressureDrop), ENTRY(C, 273, SoundLevel), ENTRY(C, 281, HeatingNominalOutput),
        ENTRY(C, 289, HeatingNominalSound), ENTRY(C, 297, HeatingNominalPressureDrop),
        ENTRY(C, 305, HeatingNominalMassFlow), ENTRY(C, 313, InUse)});
    return fields;
}

template <class Entry>
void addEntry(std::vector<FieldCase>& cases, const std::vector<EntryField<Entry>>& fields,
              std::array<Entry, MaxEntries> ProjectRecord::*list, std::size_t index, std::size_t start)
{
    for (const auto& f : fields)
        cases.push_back({"entry " + std::to_string(index + 1) + " at " + std::to_string(start) + ": " + f.name,
                         start + f.offset, [=](ProjectRecord& r) { f.set((r.*list)[index]); }, f.bytes});
}

std::vector<FieldCase> fieldCases()
{
    static const ProjectRecord zero;
    std::vector<FieldCase> cases = {
        FIELD(0, Title), FIELD(51, Number), FIELD(68, Date),
        FIELD(203, RemarkLines[0]), FIELD(203 + 24 * 73, RemarkLines[24]),
        FIELD(2028, DataLines[0]), FIELD(2028 + 6 * 41, DataLines[6]),
        FIELD(2397, Attachments[0]), FIELD(2397 + 19 * 256, Attachments[19]), FIELD(7517, RoomName),
        FIELD(7533, HeatingDemand), FIELD(7541, CoolingDemand), FIELD(7549, HeatingRoomTemp),
        FIELD(7557, CoolingRoomTemp), FIELD(7565, HeatingFlowTemp), FIELD(7573, CoolingFlowTemp),
        FIELD(7581, HeatingSecondTemp), FIELD(7589, CoolingSecondTemp), FIELD(7597, CoolingHumidity),
        {"HeatingEntryCount", 7605, [](ProjectRecord& r) { r.HeatingEntryCount = 7; }, bytesOf({7, 0, 0, 0})},
        {"CoolingEntryCount", 7609, [](ProjectRecord& r) { r.CoolingEntryCount = 12; }, bytesOf({12, 0, 0, 0})},
        {"ReturnTempFixed", 7613, [](ProjectRecord& r) { r.ReturnTempFixed = 0x0102; }, bytesOf({0x02, 0x01})},
        {"MassFlowFixed", 7615, [](ProjectRecord& r) { r.MassFlowFixed = -2; }, bytesOf({0xFE, 0xFF})},
        FIELD(15849, CalculationDone), FIELD(15850, HeatingInUse), FIELD(15851, CoolingInUse),
        FIELD(15852, CoolingDualUse), FIELD(15853, HeatingDualUse),
        // A loaded record always has one room, so this value only travels outwards.
        {"RoomCount", 15854, [](ProjectRecord& r) { r.RoomCount = 0x0A0B0C0D; }, bytesOf({0x0D, 0x0C, 0x0B, 0x0A}),
         false},
    };
    // First and last entry of each list: 7617 + 11 * 368 = 11665, 12033 + 11 * 318 = 15531.
    addEntry(cases, heatingFields(), &ProjectRecord::HeatingEntries, 0, 7617);
    addEntry(cases, heatingFields(), &ProjectRecord::HeatingEntries, 11, 11665);
    addEntry(cases, coolingFields(), &ProjectRecord::CoolingEntries, 0, 12033);
    addEntry(cases, coolingFields(), &ProjectRecord::CoolingEntries, 11, 15531);
    return cases;
}
// clang-format on

TEST(ProjectCodec, EachFieldIsWrittenAndReadAtItsOffsetAndNowhereElse)
{
    for (const auto& c : fieldCases()) {
        SCOPED_TRACE(c.name);
        ProjectRecord record;
        c.set(record);
        std::vector<std::byte> image(ProjectRecordSize);
        put(image, c.offset, c.bytes);
        EXPECT_EQ(firstDifference(ProjectCodec::encode(record), image), NoDifference);
        if (!c.decodesAsWritten)
            continue;

        // Reading: the counts of the all-zero image are lifted to 1, so the expected record has them.
        ProjectRecord expected;
        expected.HeatingEntryCount = expected.CoolingEntryCount = expected.RoomCount = 1;
        for (std::size_t at : {7605u, 7609u, 15854u})
            put(image, at, bytesOf({1}));
        put(image, c.offset, c.bytes);
        c.set(expected);
        const auto decoded = ProjectCodec::decode(image);
        ASSERT_TRUE(decoded.ok()) << decoded.error();
        EXPECT_EQ(*decoded, expected);
    }
}

TEST(ProjectCodec, ImagesRoundTripWithUnassignedBytesAndStringTails)
{
    const auto file = test::readFileBytes(test::testDataDir() / "sample-project.kon");
    EXPECT_EQ(firstDifference(ProjectCodec::encode(test::sampleProject()), file), NoDifference);

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
    EXPECT_EQ(std::vector(image.begin() + 11665 + 364, image.begin() + 11665 + 368), bytesOf({1, 2, 3, 4}));
    EXPECT_EQ(std::vector(image.begin() + 12033 + 314, image.begin() + 12033 + 318), bytesOf({9, 8, 7, 6}));
    EXPECT_EQ(std::vector(image.begin(), image.begin() + 9),
              bytesOf({4, 'N', 'o', 'r', 'd', 'r', 'i', 'n', 'g'}));

    const auto decoded = ProjectCodec::decode(image);
    ASSERT_TRUE(decoded.ok()) << decoded.error();
    EXPECT_EQ(decoded->Title.text(), "Nord");
    EXPECT_EQ(*decoded, record);
}

TEST(ProjectCodec, HostileValuesAreMadeSafe)
{
    // IEEE 754 patterns: quiet NaN 0x7FF8..., -infinity 0xFFF0...
    const auto nan = bytesOf({0, 0, 0, 0, 0, 0, 0xF8, 0x7F});
    const auto minusInf = bytesOf({0, 0, 0, 0, 0, 0, 0xF0, 0xFF});
    struct Case
    {
        const char* name;
        std::size_t offset;
        std::vector<std::byte> bytes;
        std::function<void(const ProjectRecord&)> check;
    };
    // clang-format off
    const Case cases[] = {
        {"Title length 255", 0, bytesOf({255}), [](auto& r) { EXPECT_EQ(r.Title.raw()[0], 50); }},
        {"last cooling TypeName length 200", 15531, bytesOf({200}),
         [](auto& r) { EXPECT_EQ(r.CoolingEntries[11].TypeName.raw()[0], 10); }},
        {"HeatingEntryCount 2^31-1", 7605, bytesOf({0xFF, 0xFF, 0xFF, 0x7F}),
         [](auto& r) { EXPECT_EQ(r.HeatingEntryCount, 12); }},
        {"HeatingEntryCount -5", 7605, bytesOf({0xFB, 0xFF, 0xFF, 0xFF}),
         [](auto& r) { EXPECT_EQ(r.HeatingEntryCount, 1); }},
        // 0 is kept only with the first entry free (the list after deleting its only entry).
        {"HeatingEntryCount 0, entry 1 in use", 7605, bytesOf({0, 0, 0, 0}),
         [](auto& r) { EXPECT_EQ(r.HeatingEntryCount, 1); }},
        {"RoomCount 1000", 15854, bytesOf({0xE8, 0x03, 0, 0}), [](auto& r) { EXPECT_EQ(r.RoomCount, 1); }},
        {"HeatingDemand NaN", 7533, nan, [](auto& r) { EXPECT_EQ(r.HeatingDemand, 0.0); }},
        {"cooling entry 1 Output -inf", 12033 + 257, minusInf,
         [](auto& r) { EXPECT_EQ(r.CoolingEntries[0].Output, 0.0); }},
        {"heating entry 12 OutputStart NaN", 11665 + 322, nan,
         [](auto& r) { EXPECT_EQ(r.HeatingEntries[11].OutputStart, 0.0); }},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto image = ProjectCodec::encode(test::sampleProject());
        put(image, c.offset, c.bytes);
        const auto decoded = ProjectCodec::decode(image);
        ASSERT_TRUE(decoded.ok()) << decoded.error();
        c.check(*decoded);
    }
}

} // namespace
} // namespace tepa
