#pragma once

#include "core/GoldenCalls.h"
#include "core/model/Session.h"
#include "core/productdata/ProductData.h"
#include "core/text/InterfaceTexts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace tepa::calculation::test {

inline const std::filesystem::path FixtureInstall = TEPA_TEST_DATA_DIR "/install";

// A session as the calculation window finds it: the fixture installation's texts and heights,
// a room heated 75/20 °C for 2000 W and cooled 16/26 °C at 40 % for 1500 W.
inline Session designSession()
{
    Session s;
    s.ProgramDir = FixtureInstall;
    auto texts = InterfaceTexts::load(FixtureInstall);
    EXPECT_TRUE(texts.ok());
    if (texts.ok())
        s.InterfaceTexts = std::move(texts.value());
    auto heights = loadHeights(FixtureInstall);
    EXPECT_TRUE(heights.ok());
    if (heights.ok())
        s.HeightList = heights.value();
    ProjectRecord& p = s.Project;
    p.HeatingFlowTemp = 75, p.HeatingRoomTemp = 20, p.HeatingDemand = 2000;
    p.CoolingFlowTemp = 16, p.CoolingRoomTemp = 26, p.CoolingSecondTemp = 16;
    p.CoolingHumidity = 40, p.CoolingDemand = 1500;
    p.HeatingEntryCount = p.CoolingEntryCount = 1;
    return s;
}

// The step lines of tests/data/<file> (neither empty nor "#" comments) as words; quotes hold blanks.
inline std::vector<std::vector<std::string>> stepLines(const std::string& file)
{
    std::ifstream in(std::filesystem::path(TEPA_TEST_DATA_DIR) / file, std::ios::binary);
    EXPECT_TRUE(in) << file;
    std::vector<std::vector<std::string>> steps;
    for (std::string line; std::getline(in, line);)
        if (!line.empty() && !line.starts_with("#"))
            steps.push_back(tepa::test::callWords(line));
    return steps;
}

// Entry `e` of either list described as the type `name` of the fixture installation.
template <class Entry>
void describe(Entry& e, const std::string& name, bool forced, double length, double speed = 0)
{
    auto types = readAllTypes(FixtureInstall, forced);
    ASSERT_TRUE(types.ok());
    const auto type = std::find_if(types->begin(), types->end(),
                                   [&](const TypeRecord& t) { return t.name.starts_with(name); });
    ASSERT_NE(type, types->end()) << "no fixture type " << name;
    e.TypeName.setText(name);
    e.TypeText1.setText(type->dataLine);
    e.TypeText2.setText(type->fanLine);
    e.Length = length, e.Height = 140, e.HeightFactor = 1, e.FanSpeed = speed, e.Count = 1;
}

using tepa::test::Golden;

} // namespace tepa::calculation::test
