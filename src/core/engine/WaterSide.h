#pragma once

#include "core/engine/EngineCommon.h"

namespace tepa::engine {

// Water temperatures of an operating point [°C]: flow Tv, return Tr, room air Ti.
struct WaterPoint
{
    double Tv = 0;
    double Tr = 0;
    double Ti = 0;
};

struct OutputResult
{
    double outputW = 0;        // Q [W]
    double massFlowKgPerH = 0; // m [kg/h]
    int status = 0;            // 0 valid, 1 no result
};

// Heizleistung: heating output and water mass flow from flow and return temperature.
//   Q = K · ((Tv + Tr)/2 − Ti)^n [W], m = Q / ((Tv − Tr) · cw) [kg/h].
// Status 1 with Q = m = 0 when the water does not cool down (Tv − Tr ≤ 1e-9 K), when the mean
// water temperature is not above the room (no heat flows that way), or for non-finite input.
OutputResult Heizleistung(const Characteristic& c, const WaterPoint& p);

// Kuehlleistung: cooling output and water mass flow; in cooling the water warms up (Tr > Tv).
//   Q = K · (Ti − (Tv + Tr)/2)^n [W], m = |Q / ((Tv − Tr) · cw)| [kg/h].
// Status 1 with Q = m = 0 when the mean water temperature is not below the room (within
// 1e-9 K) or for non-finite input. When |Tv − Tr| < 0.1 K the output is returned but the mass
// flow would be meaningless: status 1, and m is `previousMassFlowKgPerH`, the value the caller
// held before.
OutputResult Kuehlleistung(const Characteristic& c, const WaterPoint& p, double previousMassFlowKgPerH);

struct MassFlowPoint
{
    double Tv = 0;             // flow temperature [°C]
    double Ti = 0;             // room temperature [°C]
    double massFlowKgPerH = 0; // m [kg/h]
};

struct ReturnFromFlowResult
{
    double outputW = 0;     // Q [W]
    double returnTempC = 0; // Tr [°C]
    int status = 0;         // 0 valid, 1 no result
    int iterations = 0;     // fixed-point steps taken
};

// Ruecklauf_aus_Massenstrom: heating output and return temperature for a given mass flow.
// Fixed-point iteration on the water temperature drop x = Tv − Tr, starting from x = 0:
//   x ← K · (Tv − x/2 − Ti)^n / (cw · m), until one step changes x by less than 0.01 K.
// A step whose mean water temperature is not above the room gives x = 0 (no heat).
// Returns Tr = Tv − x and Q = cw · m · x, status 0.
// Status 1: m < 1e-9 kg/h (Q = Tr = 0); no convergence within 1000 steps (Tr = Tv, Q = 0);
// non-finite input (zeros).
ReturnFromFlowResult Ruecklauf_aus_Massenstrom(const Characteristic& c, const MassFlowPoint& p);

struct OutputPoint
{
    double Tv = 0;      // flow temperature [°C]
    double Ti = 0;      // room temperature [°C]
    double outputW = 0; // wanted heating output Q [W]
};

struct ReturnFromOutputResult
{
    double massFlowKgPerH = 0; // m [kg/h]
    double returnTempC = 0;    // Tr [°C]
    int status = 0;            // 0 valid, 1 no result
};

// Ruecklauf_aus_Leistung: return temperature and mass flow for a wanted heating output, closed
// form: ΔT = (Q/K)^(1/n), Tr = 2 · (Ti + ΔT) − Tv, m = Q / ((Tv − Tr) · cw).
// A Tr above Tv yields a negative m (status 0); the caller's limits keep that out of use.
// Status 1: |Tv − Tr| < 1e-9 K (m = 0, Tr returned); K ≤ 0 or Q/K < 0, where the law has no
// solution (m = 0, Tr = Tv); non-finite input (zeros).
ReturnFromOutputResult Ruecklauf_aus_Leistung(const Characteristic& c, const OutputPoint& p);

struct SupplyPoint
{
    double Tv = 0; // flow temperature [°C]
    double Ti = 0; // room temperature [°C]
};

// Admissible return-temperature window of a heating convector, named as the entry fields that
// hold it: the lower end (Start) and the upper end (End), each with its mass flow and output.
struct ReturnLimits
{
    double returnTempStart = 0; // TrMin [°C]
    double massFlowStart = 0;   // m at TrMin [kg/h]
    double outputStart = 0;     // Q at TrMin [W]
    double returnTempEnd = 0;   // TrMax [°C]
    double massFlowEnd = 0;     // m at TrMax [kg/h]
    double outputEnd = 0;       // Q at TrMax [W]
    int status = 0;             // 0 valid, 1 no admissible window
};

// Mass-flow window within which a convector is operated: below 5 kg/h the flow through the
// tubes is too weak to distribute, above 750 kg/h the valves and tubes are overloaded.
inline constexpr double minimumMassFlowKgPerH = 5;
inline constexpr double maximumMassFlowKgPerH = 750;

// Ruecklaufgrenzen: return-temperature window in whole-kelvin steps in which the mass flow of
// Heizleistung stays within 5 … 750 kg/h.
//   Lower end: from Tr = Ti + 15 upward until m ≥ 5 kg/h.
//   Upper end: from Tr = Tv − 1 downward until m ≤ 750 kg/h.
// Status 1 when one 1 K step jumped across the whole window (the lower end already has
// m ≥ 750 after stepping, or the upper end m ≤ 5 after stepping); when the upward search
// reaches Tv (the lower end is then Tv with m = Q = 0) or the downward search falls to Ti (the
// upper end is then the last Tr tried with its m and Q); for non-finite input (zeros).
ReturnLimits Ruecklaufgrenzen(const Characteristic& c, const SupplyPoint& p);

} // namespace tepa::engine
