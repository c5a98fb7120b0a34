// The sizing assistant's whole-range search for one room on the shipped installation: every
// type, length, height, fan setting and count, on one core. Target: under 50 ms per search.
// Reading the product data is measured apart, as the window and `tepa size` read it per search.
#include "core/sizing/Sizing.h"

#include <benchmark/benchmark.h>

namespace {

using tepa::sizing::Request;

Request heatingRoom()
{
    Request r;
    r.demandW = 1800;
    r.flowTempC = 70;
    r.roomTempC = 20;
    r.returnTempC = 55;
    return r;
}

Request coolingRoom()
{
    Request r;
    r.mode = tepa::engine::Mode::Cooling;
    r.demandW = 1500;
    r.flowTempC = 16;
    r.roomTempC = 26;
    r.humidityPercent = 50;
    r.returnTempC = 18;
    return r;
}

void BM_SizeRoom(benchmark::State& state, Request request)
{
    const auto catalog = tepa::sizing::loadCatalog(TEPA_SOURCE_DATA_DIR, '.');
    if (!catalog) {
        state.SkipWithError(catalog.error().c_str());
        return;
    }
    std::size_t found = 0;
    for (auto _ : state) {
        const auto outcome = tepa::sizing::size(*catalog, request);
        found = outcome.candidates.size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["candidates"] = static_cast<double>(found);
}

void BM_LoadCatalog(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(tepa::sizing::loadCatalog(TEPA_SOURCE_DATA_DIR, '.'));
}

Request byMassFlow()
{
    Request r = heatingRoom();
    r.returnTempC.reset();
    r.maxMassFlowKgPerH = 80;
    return r;
}

} // namespace

BENCHMARK_CAPTURE(BM_SizeRoom, heating, heatingRoom())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SizeRoom, heatingByMassFlow, byMassFlow())->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SizeRoom, cooling, coolingRoom())->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadCatalog)->Unit(benchmark::kMillisecond);
