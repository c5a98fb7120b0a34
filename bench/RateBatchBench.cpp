// Ratings per second of `tepa rate --batch` on the shipped installation: the whole command as a
// script runs it (reading the CSV, resolving each point against the product data, rating it and
// writing its CSV or JSON line), on one core. Target: at least 100,000 ratings per second.
#include "cli/Cli.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Counts the output away, so that writing costs what formatting it costs.
class NullBuffer : public std::streambuf
{
protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

// A batch of `count` points cycling through heating and cooling, free and fan convectors.
fs::path writeBatch(std::size_t count)
{
    const fs::path file = fs::temp_directory_path() / "tepa-rate-batch-bench.csv";
    const char* const points[] = {
        "W1,,1000,,,75,20,65,,",          "W2,,1500,,,70,20,,120,",       "WF2,,,,50,70,20,,,900",
        "WFs,,,1200,,55,20,45,,",         "WFW-2L,cooling,,,80,16,26,18,,", "W3,,2000,,,60,20,48,,",
        "WFWL-4L,,,,60,55,22,45,,",       "W4,,800,,,90,20,,,400",
    };
    std::ofstream out(file, std::ios::binary);
    out << "type,mode,length,speed,percent,tv,ti,tr,massflow,output\n";
    for (std::size_t i = 0; i < count; ++i)
        out << points[i % std::size(points)] << '\n';
    return file;
}

void BM_RateBatch(benchmark::State& state, bool json)
{
    constexpr std::size_t points = 20000;
    const fs::path file = writeBatch(points);
    std::vector<std::string> args = {"rate", "--batch", file.string(), "--data", TEPA_SOURCE_DATA_DIR};
    if (json)
        args.push_back("--json");
    NullBuffer sink;
    std::ostream out(&sink);
    std::ostringstream err;
    for (auto _ : state) {
        if (tepa::cli::run(args, out, err, {}) != 0)
            state.SkipWithError(err.str().c_str());
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * points));
    fs::remove(file);
}
BENCHMARK_CAPTURE(BM_RateBatch, csv, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RateBatch, json_lines, true)->Unit(benchmark::kMillisecond);

} // namespace
