#pragma once

#include "core/model/FixedString.h"

#include <array>
#include <cstddef>
#include <cstdint>

// The byte layout of the project file: one packed, little-endian record of 15858 bytes with no
// header. Doubles stand at odd offsets because nothing is aligned. Every field is listed with the
// C++ type that holds it in memory, so the codec cannot read a field into a member of another
// size; the static_asserts below check that the fields follow each other without gap or overlap.

namespace tepa {

struct HeatingEntry;
struct CoolingEntry;

inline constexpr std::size_t MaxEntries = 12;
inline constexpr std::size_t HeatingEntrySize = 368;
inline constexpr std::size_t CoolingEntrySize = 318;
inline constexpr std::size_t ProjectRecordSize = 15858;

namespace layout {

// clang-format off

// Bytes a value of type T takes in the file. Only the types the file knows are defined.
template <class T> inline constexpr std::size_t EncodedSize = 0;
template <> inline constexpr std::size_t EncodedSize<double> = 8;
template <> inline constexpr std::size_t EncodedSize<std::int32_t> = 4;
template <> inline constexpr std::size_t EncodedSize<std::int16_t> = 2;
template <> inline constexpr std::size_t EncodedSize<bool> = 1;
template <> inline constexpr std::size_t EncodedSize<std::uint8_t> = 1;
template <std::size_t N> inline constexpr std::size_t EncodedSize<FixedString<N>> = N + 1;
template <class T, std::size_t K>
inline constexpr std::size_t EncodedSize<std::array<T, K>> = K * EncodedSize<T>;
template <> inline constexpr std::size_t EncodedSize<HeatingEntry> = HeatingEntrySize;
template <> inline constexpr std::size_t EncodedSize<CoolingEntry> = CoolingEntrySize;

// clang-format on

template <class T> struct Field
{
    using Type = T;
    static constexpr std::size_t size = EncodedSize<T>;
    static_assert(size > 0, "type without a file encoding");

    std::size_t offset;
    constexpr std::size_t end() const { return offset + size; }
};

// True when the fields lie one after the other, each starting where the one before ends. Call it
// qualified: argument-dependent lookup would need the entry types complete.
template <class First, class... Rest> constexpr bool contiguous(const First& first, const Rest&... rest)
{
    std::size_t end = first.end();
    bool ok = true;
    ((ok = ok && rest.offset == end, end = rest.end()), ...);
    return ok;
}

// clang-format off

// Fields of a convector entry; offsets from the start of the entry. Offsets 0 to 248 are the same
// in heating and cooling entries.
namespace entry {
inline constexpr Field<FixedString<10>> TypeName{0};
inline constexpr Field<double>          Length{11};
inline constexpr Field<double>          Height{19};
inline constexpr Field<double>          HeightFactor{27};
inline constexpr Field<double>          EffectiveLength{35};
inline constexpr Field<double>          FanSpeed{43};
inline constexpr Field<double>          MassFlow{51};
inline constexpr Field<double>          FanSetting{59};
inline constexpr Field<std::int32_t>    Count{67};
inline constexpr Field<FixedString<80>> TypeText1{71};
inline constexpr Field<FixedString<80>> TypeText2{152};
inline constexpr Field<double>          CoeffK{233};
inline constexpr Field<double>          ExponentN{241};
inline constexpr Field<double>          ReturnTemp{249};
inline constexpr Field<double>          Output{257};
} // namespace entry

namespace heating {
using namespace entry;
inline constexpr Field<bool>                     FreeConvection{265};
inline constexpr Field<double>                   PressureDrop{266};
inline constexpr Field<double>                   SoundLevel{274};
inline constexpr Field<double>                   ReturnTempEnd{282};
inline constexpr Field<double>                   ReturnTempStart{290};
inline constexpr Field<double>                   MassFlowEnd{298};
inline constexpr Field<double>                   MassFlowStart{306};
inline constexpr Field<double>                   OutputEnd{314};
inline constexpr Field<double>                   OutputStart{322};
inline constexpr Field<double>                   CoolingNominalOutput{330};
inline constexpr Field<double>                   CoolingNominalSound{338};
inline constexpr Field<double>                   CoolingNominalPressureDrop{346};
inline constexpr Field<double>                   CoolingNominalMassFlow{354};
inline constexpr Field<bool>                     FreeConvectionB{362};
inline constexpr Field<bool>                     InUse{363};
inline constexpr Field<std::array<std::uint8_t, 4>> Unassigned{364};
} // namespace heating

namespace cooling {
using namespace entry;
inline constexpr Field<double>                   PressureDrop{265};
inline constexpr Field<double>                   SoundLevel{273};
inline constexpr Field<double>                   HeatingNominalOutput{281};
inline constexpr Field<double>                   HeatingNominalSound{289};
inline constexpr Field<double>                   HeatingNominalPressureDrop{297};
inline constexpr Field<double>                   HeatingNominalMassFlow{305};
inline constexpr Field<bool>                     InUse{313};
inline constexpr Field<std::array<std::uint8_t, 4>> Unassigned{314};
} // namespace cooling

// Fields of the record; offsets from the start of the file.
namespace record {
inline constexpr std::size_t RemarkLineCount = 25;
inline constexpr std::size_t DataLineCount = 7;
inline constexpr std::size_t AttachmentCount = 20;

inline constexpr Field<FixedString<50>>                                 Title{0};
inline constexpr Field<FixedString<16>>                                 Number{51};
inline constexpr Field<FixedString<10>>                                 Date{68};
inline constexpr Field<std::array<std::uint8_t, 124>>                   UnassignedAfterDate{79};
inline constexpr Field<std::array<FixedString<72>, RemarkLineCount>>    RemarkLines{203};
inline constexpr Field<std::array<FixedString<40>, DataLineCount>>      DataLines{2028};
inline constexpr Field<std::array<std::uint8_t, 82>>                    UnassignedAfterDataLines{2315};
inline constexpr Field<std::array<FixedString<255>, AttachmentCount>>   Attachments{2397};
inline constexpr Field<FixedString<15>>                                 RoomName{7517};
inline constexpr Field<double>                                          HeatingDemand{7533};
inline constexpr Field<double>                                          CoolingDemand{7541};
inline constexpr Field<double>                                          HeatingRoomTemp{7549};
inline constexpr Field<double>                                          CoolingRoomTemp{7557};
inline constexpr Field<double>                                          HeatingFlowTemp{7565};
inline constexpr Field<double>                                          CoolingFlowTemp{7573};
inline constexpr Field<double>                                          HeatingSecondTemp{7581};
inline constexpr Field<double>                                          CoolingSecondTemp{7589};
inline constexpr Field<double>                                          CoolingHumidity{7597};
inline constexpr Field<std::int32_t>                                    HeatingEntryCount{7605};
inline constexpr Field<std::int32_t>                                    CoolingEntryCount{7609};
inline constexpr Field<std::int16_t>                                    ReturnTempFixed{7613};
inline constexpr Field<std::int16_t>                                    MassFlowFixed{7615};
inline constexpr Field<std::array<HeatingEntry, MaxEntries>>            HeatingEntries{7617};
inline constexpr Field<std::array<CoolingEntry, MaxEntries>>            CoolingEntries{12033};
inline constexpr Field<bool>                                            CalculationDone{15849};
inline constexpr Field<bool>                                            HeatingInUse{15850};
inline constexpr Field<bool>                                            CoolingInUse{15851};
inline constexpr Field<bool>                                            CoolingDualUse{15852};
inline constexpr Field<bool>                                            HeatingDualUse{15853};
inline constexpr Field<std::int32_t>                                    RoomCount{15854};
} // namespace record

// clang-format on

static_assert(layout::contiguous(entry::TypeName,
                                 entry::Length,
                                 entry::Height,
                                 entry::HeightFactor,
                                 entry::EffectiveLength,
                                 entry::FanSpeed,
                                 entry::MassFlow,
                                 entry::FanSetting,
                                 entry::Count,
                                 entry::TypeText1,
                                 entry::TypeText2,
                                 entry::CoeffK,
                                 entry::ExponentN,
                                 entry::ReturnTemp,
                                 entry::Output));
static_assert(layout::contiguous(entry::Output,
                                 heating::FreeConvection,
                                 heating::PressureDrop,
                                 heating::SoundLevel,
                                 heating::ReturnTempEnd,
                                 heating::ReturnTempStart,
                                 heating::MassFlowEnd,
                                 heating::MassFlowStart,
                                 heating::OutputEnd,
                                 heating::OutputStart,
                                 heating::CoolingNominalOutput,
                                 heating::CoolingNominalSound,
                                 heating::CoolingNominalPressureDrop,
                                 heating::CoolingNominalMassFlow,
                                 heating::FreeConvectionB,
                                 heating::InUse,
                                 heating::Unassigned));
static_assert(heating::Unassigned.end() == HeatingEntrySize);
static_assert(layout::contiguous(entry::Output,
                                 cooling::PressureDrop,
                                 cooling::SoundLevel,
                                 cooling::HeatingNominalOutput,
                                 cooling::HeatingNominalSound,
                                 cooling::HeatingNominalPressureDrop,
                                 cooling::HeatingNominalMassFlow,
                                 cooling::InUse,
                                 cooling::Unassigned));
static_assert(cooling::Unassigned.end() == CoolingEntrySize);

static_assert(layout::contiguous(record::Title,
                                 record::Number,
                                 record::Date,
                                 record::UnassignedAfterDate,
                                 record::RemarkLines,
                                 record::DataLines,
                                 record::UnassignedAfterDataLines,
                                 record::Attachments,
                                 record::RoomName,
                                 record::HeatingDemand,
                                 record::CoolingDemand,
                                 record::HeatingRoomTemp,
                                 record::CoolingRoomTemp,
                                 record::HeatingFlowTemp,
                                 record::CoolingFlowTemp,
                                 record::HeatingSecondTemp,
                                 record::CoolingSecondTemp,
                                 record::CoolingHumidity,
                                 record::HeatingEntryCount,
                                 record::CoolingEntryCount,
                                 record::ReturnTempFixed,
                                 record::MassFlowFixed,
                                 record::HeatingEntries,
                                 record::CoolingEntries,
                                 record::CalculationDone,
                                 record::HeatingInUse,
                                 record::CoolingInUse,
                                 record::CoolingDualUse,
                                 record::HeatingDualUse,
                                 record::RoomCount));
static_assert(record::RoomCount.end() == ProjectRecordSize);
static_assert(record::HeatingEntries.size == 4416 && record::CoolingEntries.size == 3816);
static_assert(record::RemarkLines.size == 1825 && record::DataLines.size == 287 &&
              record::Attachments.size == 5120);

} // namespace layout
} // namespace tepa
