#pragma once

#include "core/model/FixedString.h"
#include "core/model/ProjectLayout.h"

#include <array>
#include <cstdint>

namespace tepa {

// The project held in memory. Field names and meanings are those of the project file; the byte
// layout lives in ProjectLayout.h and only the codec knows it. A default-constructed record is
// all zero, as the program's record is before the first New or Load.

// One heating convector of the room's list.
struct HeatingEntry
{
    FixedString<10> TypeName;   // convector type designation from the type table
    double Length = 0;          // construction length, mm
    double Height = 0;          // construction height, mm
    double HeightFactor = 0;    // output correction of the chosen height, 1 when the series has none
    double EffectiveLength = 0; // finned length, mm; what the pressure drop is computed with
    double FanSpeed = 0;        // rpm; 0 means free convection
    double MassFlow = 0;        // water mass flow, kg/h
    double FanSetting = 0;      // fan step or percentage the speed follows from; 0 when set directly
    std::int32_t Count = 0;     // convectors of this kind in the room, 1..15
    FixedString<80> TypeText1;  // copy of the type's data line
    FixedString<80> TypeText2;  // copy of the type's fan line (forced convection)
    double CoeffK = 0;          // K of the output characteristic Q = K * dT^n
    double ExponentN = 0;       // n of that characteristic
    double ReturnTemp = 0;      // water return temperature, °C
    double Output = 0;          // heat output, W
    bool FreeConvection = false;
    double PressureDrop = 0; // water side, Pa
    double SoundLevel = 0;   // sound pressure level LpA, dB(A)
    // Ends of the three sliders of the calculation window: return temperature (°C), mass flow
    // (kg/h) and output (W) at 100 % (End) and 0 % (Start).
    double ReturnTempEnd = 0;
    double ReturnTempStart = 0;
    double MassFlowEnd = 0;
    double MassFlowStart = 0;
    double OutputEnd = 0;
    double OutputStart = 0;
    // The same convectors rated at the nominal cooling point (flow 16 °C, return 18 °C, room 26 °C),
    // for the dual-use option: W, dB(A), Pa, kg/h.
    double CoolingNominalOutput = 0;
    double CoolingNominalSound = 0;
    double CoolingNominalPressureDrop = 0;
    double CoolingNominalMassFlow = 0;
    bool FreeConvectionB = false; // the flag the type performance routine reads
    bool InUse = false;           // the entry holds a chosen convector
    std::array<std::uint8_t, 4> Unassigned{};

    friend bool operator==(const HeatingEntry&, const HeatingEntry&) = default;
};

// One cooling convector of the room's list; cooling always runs with a fan.
struct CoolingEntry
{
    FixedString<10> TypeName;
    double Length = 0; // mm
    double Height = 0; // mm
    double HeightFactor = 0;
    double EffectiveLength = 0; // mm
    double FanSpeed = 0;        // rpm
    double MassFlow = 0;        // kg/h
    double FanSetting = 0;      // step, percentage, or for primary-air types the air flow in m³/h
    std::int32_t Count = 0;
    FixedString<80> TypeText1;
    FixedString<80> TypeText2;
    double CoeffK = 0;
    double ExponentN = 0;
    double ReturnTemp = 0;   // °C
    double Output = 0;       // cooling output, W
    double PressureDrop = 0; // Pa
    double SoundLevel = 0;   // dB(A)
    // The same convectors rated at the nominal heating point (flow 75 °C, return 65 °C, room
    // 20 °C), for the dual-use option: W, dB(A), Pa, kg/h.
    double HeatingNominalOutput = 0;
    double HeatingNominalSound = 0;
    double HeatingNominalPressureDrop = 0;
    double HeatingNominalMassFlow = 0;
    bool InUse = false;
    std::array<std::uint8_t, 4> Unassigned{};

    friend bool operator==(const CoolingEntry&, const CoolingEntry&) = default;
};

struct ProjectRecord
{
    FixedString<50> Title;
    FixedString<16> Number;
    FixedString<10> Date;
    // Never used by the program; kept so that a loaded file saves back unchanged.
    std::array<std::uint8_t, 124> UnassignedAfterDate{};
    std::array<FixedString<72>, layout::record::RemarkLineCount> RemarkLines{};
    std::array<FixedString<40>, layout::record::DataLineCount> DataLines{};
    std::array<std::uint8_t, 82> UnassignedAfterDataLines{};
    // Paths of attached documents; the first empty element ends the list.
    std::array<FixedString<255>, layout::record::AttachmentCount> Attachments{};

    FixedString<15> RoomName;
    double HeatingDemand = 0;     // W
    double CoolingDemand = 0;     // W
    double HeatingRoomTemp = 0;   // °C
    double CoolingRoomTemp = 0;   // °C
    double HeatingFlowTemp = 0;   // °C
    double CoolingFlowTemp = 0;   // °C
    double HeatingSecondTemp = 0; // air temperature for primary-air types, °C (shown only)
    double CoolingSecondTemp = 0; // air temperature for primary-air types, °C
    double CoolingHumidity = 0;   // relative humidity of the room air, %
    // Number of the last entry in use in each list, the entry being edited included.
    std::int32_t HeatingEntryCount = 0;
    std::int32_t CoolingEntryCount = 0;
    // Which quantity the calculation window last held fixed; always complements of each other.
    std::int16_t ReturnTempFixed = 0;
    std::int16_t MassFlowFixed = 0;

    // Entry number k (1-based in the program's terms) is element k - 1.
    std::array<HeatingEntry, MaxEntries> HeatingEntries{};
    std::array<CoolingEntry, MaxEntries> CoolingEntries{};

    bool CalculationDone = false;
    bool HeatingInUse = false;
    bool CoolingInUse = false;
    bool CoolingDualUse = false;
    bool HeatingDualUse = false;
    std::int32_t RoomCount = 0; // always 1 once New has run

    friend bool operator==(const ProjectRecord&, const ProjectRecord&) = default;
};

} // namespace tepa
