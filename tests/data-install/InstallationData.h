#pragma once

#include "core/engine/ForcedConvection.h"
#include "core/productdata/ProductData.h"
#include "core/text/Encoding.h"
#include "core/text/Numbers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tepa::test {

// The installation folder the program ships with: data/ of the source tree, beside tests/.
inline std::filesystem::path installationDir()
{
    return std::filesystem::path(TEPA_TEST_DATA_DIR).parent_path().parent_path() / "data";
}

// Every type of one type file, read once per test program.
inline const std::vector<TypeRecord>& installedTypes(bool forced)
{
    static const auto read = [](bool f) {
        auto types = readAllTypes(installationDir(), f);
        return types ? std::move(types).value() : std::vector<TypeRecord>{};
    };
    static const std::vector<TypeRecord> freeTypes = read(false);
    static const std::vector<TypeRecord> forcedTypes = read(true);
    return forced ? forcedTypes : freeTypes;
}

inline const std::vector<std::string>& installedHeights()
{
    static const std::vector<std::string> heights = [] {
        auto lines = loadHeights(installationDir());
        return lines ? std::move(lines).value() : std::vector<std::string>{};
    }();
    return heights;
}

// The names the calculation window gives an entry of a picked type: in heating the type line
// cut to the entry's 10 characters, in cooling the code before the first blank of the first 20
// characters.
inline std::string heatingEntryName(std::string_view typeName)
{
    return std::string(utf8Left(typeName, 10));
}
inline std::string coolingEntryName(std::string_view typeName)
{
    const std::string_view head = utf8Left(typeName, 20);
    return std::string(utf8Left(head.substr(0, head.find(' ')), 10));
}

// The stage a ceiling unit runs at for a speed; other series have none.
inline engine::DwfStage stageAt(std::string_view typeName, double rpm)
{
    using engine::DwfStage;
    if (typeName.find("DWF") == std::string_view::npos)
        return DwfStage::Off;
    return rpm >= 1400   ? DwfStage::Rpm1400
           : rpm >= 1000 ? DwfStage::Rpm1000
           : rpm >= 700  ? DwfStage::Rpm700
                         : DwfStage::Off;
}

inline std::vector<double> offeredLengths(const TypeRecord& type)
{
    std::vector<double> lengths;
    for (const std::string& field : lengthFields(type.lengthLine))
        lengths.push_back(decimalValue(field));
    return lengths;
}

} // namespace tepa::test
