// Timings of the thermal routines and of the recalculation a planner's input triggers in a full
// room. Product lines are typical of the range: the columns are those of the data files.
#include "core/engine/AirSide.h"
#include "core/engine/ForcedConvection.h"
#include "core/engine/NominalRating.h"
#include "core/engine/PressureDrop.h"
#include "core/engine/Rating.h"
#include "core/engine/WaterSide.h"

#include <benchmark/benchmark.h>
#include <string>
#include <vector>

namespace {

using namespace tepa::engine;

// Km 10 W/K^1.3 per metre; nD 1.3; heating tubes 12 mm, 10 runs, 1 circuit; La −50 dB, Lb 30 dB
// per decade; cooling tubes 15 mm, 8 runs, 2 circuits.
const std::string dataLine = "10.000 1.3000 12.0     10   1           -50.00 30.00    15.0      8   2";
const std::string fanLine = " 0.0200000  0.6000000  1.2000000";
const std::string wfsFanLine = " 0.8850000  0.5000000  1.1000000";

void BM_Heizleistung(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(Heizleistung({10, 1.3}, {75, 65, 20}));
}
BENCHMARK(BM_Heizleistung);

void BM_Kuehlleistung(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(Kuehlleistung({36.4, 1}, {16, 18, 26}, 0));
}
BENCHMARK(BM_Kuehlleistung);

void BM_RuecklaufAusMassenstrom_Typical(benchmark::State& state)
{
    int steps = 0;
    for (auto _ : state) {
        const ReturnFromFlowResult r = Ruecklauf_aus_Massenstrom({10, 1.3}, {75, 20, 100});
        steps = r.iterations;
        benchmark::DoNotOptimize(r);
    }
    state.counters["steps"] = steps;
}
BENCHMARK(BM_RuecklaufAusMassenstrom_Typical);

// The slowest case that still converges: at low mass flows the iteration stops contracting, so
// the mass flow just above that border needs the most steps. Found by bisection on the status.
double slowestConvergingMassFlow(const Characteristic& c, double Tv, double Ti)
{
    double swinging = 1, converging = 750;
    for (int i = 0; i < 200 && converging - swinging > 1e-12 * converging; ++i) {
        const double mid = (swinging + converging) / 2;
        (Ruecklauf_aus_Massenstrom(c, {Tv, Ti, mid}).status == 0 ? converging : swinging) = mid;
    }
    return converging;
}

void BM_RuecklaufAusMassenstrom_WorstConverging(benchmark::State& state)
{
    const Characteristic c{10, 1.3};
    const double m = slowestConvergingMassFlow(c, 75, 20);
    int steps = 0;
    for (auto _ : state) {
        const ReturnFromFlowResult r = Ruecklauf_aus_Massenstrom(c, {75, 20, m});
        steps = r.iterations;
        benchmark::DoNotOptimize(r);
    }
    state.counters["steps"] = steps;
    state.counters["massFlow"] = m;
}
BENCHMARK(BM_RuecklaufAusMassenstrom_WorstConverging)->Unit(benchmark::kMicrosecond);

// The slowest case a planner meets: the lowest admissible mass flow (return temperature 15 K
// above the room) of a steep characteristic at a high flow temperature.
void BM_RuecklaufAusMassenstrom_WindowLowerEnd(benchmark::State& state)
{
    const Characteristic c{1, 1.45};
    const double m = Ruecklaufgrenzen(c, {90, 15}).massFlowStart;
    int steps = 0;
    for (auto _ : state) {
        const ReturnFromFlowResult r = Ruecklauf_aus_Massenstrom(c, {90, 15, m});
        steps = r.iterations;
        benchmark::DoNotOptimize(r);
    }
    state.counters["steps"] = steps;
    state.counters["massFlow"] = m;
}
BENCHMARK(BM_RuecklaufAusMassenstrom_WindowLowerEnd)->Unit(benchmark::kMicrosecond);

void BM_RuecklaufAusMassenstrom_NoConvergence(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(Ruecklauf_aus_Massenstrom({10, 1.3}, {75, 20, 5}));
}
BENCHMARK(BM_RuecklaufAusMassenstrom_NoConvergence)->Unit(benchmark::kMicrosecond);

void BM_RuecklaufAusLeistung(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(Ruecklauf_aus_Leistung({10, 1.3}, {75, 20, 1200}));
}
BENCHMARK(BM_RuecklaufAusLeistung);

void BM_Ruecklaufgrenzen(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(Ruecklaufgrenzen({10, 1.3}, {75, 20}));
}
BENCHMARK(BM_Ruecklaufgrenzen);

void BM_Druckverlust_Tubes(benchmark::State& state)
{
    const PressureDropInput in{.massFlowKgPerH = 100,
                               .lengthMm = 2000,
                               .Tv = 75,
                               .Tr = 65,
                               .typeName = "WFW-4L",
                               .dataLine = dataLine,
                               .mode = Mode::Heating};
    for (auto _ : state)
        benchmark::DoNotOptimize(Druckverlust(in));
}
BENCHMARK(BM_Druckverlust_Tubes);

void BM_Druckverlust_Dwf(benchmark::State& state)
{
    const PressureDropInput in{.massFlowKgPerH = 100,
                               .lengthMm = 1800,
                               .Tv = 75,
                               .Tr = 65,
                               .typeName = "DWF 18",
                               .dataLine = dataLine,
                               .mode = Mode::Heating};
    for (auto _ : state)
        benchmark::DoNotOptimize(Druckverlust(in));
}
BENCHMARK(BM_Druckverlust_Dwf);

void BM_Luftleistung(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(Luftleistung({16, 26, 180}));
}
BENCHMARK(BM_Luftleistung);

void BM_Taupunkt(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(Taupunkt(26, 50));
}
BENCHMARK(BM_Taupunkt);

struct SeriesCase
{
    const char* name;
    double lengthMm, speedRpm;
    DwfStage stage;
    const std::string* fan;
};
// clang-format off
const SeriesCase seriesCases[] = {
    {"W2 18", 1300, 0, DwfStage::Off, &fanLine},      {"WF1", 1250, 1000, DwfStage::Off, &fanLine},
    {"WFs", 1850, 1000, DwfStage::Off, &wfsFanLine},  {"WFW-4L", 2000, 1120, DwfStage::Off, &fanLine},
    {"WFWL", 2000, 805, DwfStage::Off, &fanLine},     {"WNF2", 1800, 100, DwfStage::Off, &fanLine},
    {"DWF 18", 1800, 1400, DwfStage::Rpm1400, &fanLine},
};
// clang-format on

void BM_Zwangskennwerte(benchmark::State& state)
{
    const SeriesCase& s = seriesCases[state.range(0)];
    const ConvectorSetting in{.typeName = s.name,
                              .lengthMm = s.lengthMm,
                              .speedRpm = s.speedRpm,
                              .dataLine = dataLine,
                              .fanLine = *s.fan,
                              .stage = s.stage};
    for (auto _ : state)
        benchmark::DoNotOptimize(Zwangskennwerte(in));
    state.SetLabel(s.name);
}
BENCHMARK(BM_Zwangskennwerte)->DenseRange(0, std::size(seriesCases) - 1);

void BM_ZwangHeizen(benchmark::State& state)
{
    const NominalInput in{.typeName = "WFW",
                          .lengthMm = 1250,
                          .dataLine = dataLine,
                          .fanLine = fanLine,
                          .Tv = 75,
                          .Tr = 65,
                          .Ti = 20};
    for (auto _ : state)
        benchmark::DoNotOptimize(Zwang_heizen(in));
}
BENCHMARK(BM_ZwangHeizen);

void BM_ZwangKuehlen(benchmark::State& state)
{
    const NominalInput in{.typeName = "WFW",
                          .lengthMm = 1250,
                          .dataLine = dataLine,
                          .fanLine = fanLine,
                          .Tv = 16,
                          .Tr = 18,
                          .Ti = 26};
    for (auto _ : state)
        benchmark::DoNotOptimize(Zwang_kuehlen(in));
}
BENCHMARK(BM_ZwangKuehlen);

void BM_Kuehltyp(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(Kuehltyp("WFWL-4L 20"));
}
BENCHMARK(BM_Kuehltyp);

void BM_OtherModeRating(benchmark::State& state)
{
    const OtherModeRatingInput in{.typeName = "WFW-4L",
                                  .lengthMm = 2000,
                                  .dataLine = dataLine,
                                  .fanLine = fanLine,
                                  .currentMode = Mode::Heating};
    for (auto _ : state) {
        const OtherModeRating r = otherModeRating(in);
        benchmark::DoNotOptimize(ratingDisplay(r));
    }
}
BENCHMARK(BM_OtherModeRating);

void BM_RateConvector(benchmark::State& state)
{
    const OperatingPointInput in{.type = {"WFW", dataLine, fanLine},
                                 .lengthMm = 1250,
                                 .speedRpm = 1120,
                                 .Tv = 75,
                                 .Ti = 20,
                                 .given = Given::MassFlow,
                                 .givenValue = 150};
    for (auto _ : state)
        benchmark::DoNotOptimize(rateConvector(in));
}
BENCHMARK(BM_RateConvector);

// A full heating list of 12 entries of mixed series, half held at a return temperature and half
// at a mass flow, recalculated as after one input of the planner: for every entry the
// coefficients, the return-temperature window, the operating point and the pressure drop.
struct RoomEntry
{
    const char* name;
    double lengthMm, speedRpm;
    DwfStage stage;
    bool freeConvection;
    const std::string* fan;
    bool returnTempHeld;
    double held; // Tr [°C] or m [kg/h]
};
// clang-format off
const RoomEntry room[12] = {
    {"W2 18",   1300, 0,    DwfStage::Off,     true,  &fanLine,    true,  60},
    {"W3 22",   2000, 0,    DwfStage::Off,     true,  &fanLine,    false, 40},
    {"WF1",     1250, 1000, DwfStage::Off,     false, &fanLine,    true,  62},
    {"WF2",     1550, 1200, DwfStage::Off,     false, &fanLine,    false, 90},
    {"WF3",     2450, 900,  DwfStage::Off,     false, &fanLine,    true,  58},
    {"WFs",     1850, 1300, DwfStage::Off,     false, &wfsFanLine, false, 120},
    {"WFW",     1250, 1120, DwfStage::Off,     false, &fanLine,    true,  65},
    {"WFW-4L",  2000, 1400, DwfStage::Off,     false, &fanLine,    false, 200},
    {"WFWL-2L", 2750, 805,  DwfStage::Off,     false, &fanLine,    true,  66},
    {"WNF2",    1800, 120,  DwfStage::Off,     false, &fanLine,    false, 60},
    {"DWF 11",  1100, 1000, DwfStage::Rpm1000, false, &fanLine,    true,  64},
    {"DWF 18",  1800, 1400, DwfStage::Rpm1400, false, &fanLine,    false, 150},
};
// clang-format on

void BM_RoomRecalculation12(benchmark::State& state)
{
    constexpr double Tv = 75, Ti = 20;
    for (auto _ : state) {
        double total = 0;
        for (const RoomEntry& e : room) {
            const ConvectorCoefficients k = Zwangskennwerte({.typeName = e.name,
                                                             .lengthMm = e.lengthMm,
                                                             .speedRpm = e.speedRpm,
                                                             .dataLine = dataLine,
                                                             .fanLine = *e.fan,
                                                             .freeConvection = e.freeConvection,
                                                             .stage = e.stage});
            const ReturnLimits limits = Ruecklaufgrenzen(k.characteristic, {Tv, Ti});
            double Tr = e.held, m = e.held, Q = 0;
            if (e.returnTempHeld) {
                const OutputResult r = Heizleistung(k.characteristic, {Tv, Tr, Ti});
                m = r.massFlowKgPerH, Q = r.outputW;
            } else {
                const ReturnFromFlowResult r = Ruecklauf_aus_Massenstrom(k.characteristic, {Tv, Ti, m});
                Tr = r.returnTempC, Q = r.outputW;
            }
            const PressureDropResult dp = Druckverlust({.massFlowKgPerH = m,
                                                        .lengthMm = k.effectiveLengthMm,
                                                        .Tv = Tv,
                                                        .Tr = Tr,
                                                        .typeName = e.name,
                                                        .dataLine = dataLine});
            benchmark::DoNotOptimize(limits);
            benchmark::DoNotOptimize(dp);
            total += Q;
        }
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(BM_RoomRecalculation12)->Unit(benchmark::kMicrosecond);

} // namespace
