// The installation check over damaged files with one very long line (a file glued onto one line,
// a text pasted without line breaks): its time has to grow with the input, not with its square,
// so that `tepa check-data` answers at once also on a 10 MB line.
#include "core/productdata/InstallationCheck.h"

#include <benchmark/benchmark.h>
#include <string>

namespace {

void BM_CheckWithOneLongLine(benchmark::State& state)
{
    const tepa::InstallationFiles shipped = tepa::readInstallation(TEPA_SOURCE_DATA_DIR);
    const auto length = static_cast<std::size_t>(state.range(0));
    std::string longLine;
    longLine.reserve(length);
    for (std::size_t i = 0; longLine.size() < length; ++i)
        longLine += (i % 7 == 0) ? " 1.25 " : "x\xc3\xa4";
    tepa::InstallationFiles files = shipped;
    std::optional<std::vector<std::string>>* const all[] = {&files.texts, &files.freeTypes, &files.forcedTypes, &files.heights, &files.typeIndex};
    auto* lines = all[state.range(1)];
    if (*lines && (*lines)->size() > 2)
        (**lines)[2] = longLine;
    for (auto _ : state)
        benchmark::DoNotOptimize(tepa::checkInstallationFiles(files));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}
// One long line in each file in turn: the texts, the free and forced types, the heights, the
// type index.
BENCHMARK(BM_CheckWithOneLongLine)
    ->ArgsProduct({{100'000, 1'000'000, 10'000'000}, {0, 1, 2, 3, 4}})
    ->Unit(benchmark::kMillisecond);

} // namespace
