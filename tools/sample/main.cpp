#include "SampleProject.h"

#include "core/model/ProjectFile.h"

#include <iostream>
#include <string>

namespace {

constexpr int ExitOk = 0;
constexpr int ExitFailed = 1;
constexpr int ExitUsage = 2;

template <class Entries> double installedOutput(const Entries& entries, std::int32_t count)
{
    double total = 0;
    for (std::int32_t k = 0; k < count; ++k)
        total += entries[static_cast<std::size_t>(k)].Count * entries[static_cast<std::size_t>(k)].Output;
    return total;
}

} // namespace

// make-sample DATA_DIR OUT.kon: calculates the sample project from the product data in DATA_DIR
// and saves it as OUT.kon. On failure one line goes to stderr and no file is written.
int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: make-sample DATA_DIR OUT.kon\n";
        return ExitUsage;
    }
    const std::filesystem::path dataDir = argv[1];
    const std::filesystem::path outFile = argv[2];

    const auto project = tepa::sample::makeSampleProject(dataDir);
    if (!project) {
        std::cerr << "make-sample: " << dataDir.string() << ": " << project.error() << '\n';
        return ExitFailed;
    }
    const auto saved = tepa::saveProjectFile(outFile, *project);
    if (!saved) {
        std::cerr << "make-sample: " << saved.error() << '\n';
        return ExitFailed;
    }
    const tepa::ProjectRecord& r = *project;
    std::cout << outFile.string() << ": heating " << r.HeatingEntryCount << " entries, "
              << static_cast<long>(installedOutput(r.HeatingEntries, r.HeatingEntryCount) + 0.5) << " W for "
              << r.HeatingDemand << " W; cooling " << r.CoolingEntryCount << " entries, "
              << static_cast<long>(installedOutput(r.CoolingEntries, r.CoolingEntryCount) + 0.5) << " W for "
              << r.CoolingDemand << " W\n";
    return ExitOk;
}
