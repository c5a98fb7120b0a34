#pragma once

#include "core/model/Session.h"
#include "core/productdata/ProductData.h"
#include "core/text/InterfaceTexts.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <type_traits>
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

// The type of the fixture installation whose line starts with `name`.
inline TypeRecord fixtureType(const std::string& name, bool forced)
{
    auto types = readAllTypes(FixtureInstall, forced);
    EXPECT_TRUE(types.ok());
    if (types.ok())
        for (const TypeRecord& type : types.value())
            if (type.name.rfind(name, 0) == 0)
                return type;
    ADD_FAILURE() << "no fixture type " << name;
    return {};
}

// Entry `e` of either list described as the type `name` of the fixture installation.
template <class Entry>
void describe(Entry& e, const std::string& name, bool forced, double length, double speed = 0)
{
    const TypeRecord type = fixtureType(name, forced);
    e.TypeName.setText(name);
    e.TypeText1.setText(type.dataLine);
    e.TypeText2.setText(type.fanLine);
    e.Length = length;
    e.Height = 140;
    e.HeightFactor = 1;
    e.FanSpeed = speed;
    e.Count = 1;
}

inline std::string line(const Session& s, std::size_t n)
{
    return s.InterfaceTexts.line(n);
}

// The view states a test walks through, one line per step, compared byte for byte with
// tests/data/calculation/<Suite>.<Test>.txt. Run the test with TEPA_WRITE_GOLDEN=1 to write the
// file anew, then review the change with git diff.
class Golden
{
public:
    // A line of `label` and the values shown: texts quoted, a missing value as "-".
    template <class... T> void operator()(const std::string& label, const T&... values)
    {
        m_out << label << ':';
        (put(values), ...);
        m_out << '\n';
    }

    ~Golden()
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::filesystem::path file =
            std::filesystem::path(TEPA_TEST_DATA_DIR) / "calculation" /
            (std::string(info->test_suite_name()) + "." + info->name() + ".txt");
        if (std::getenv("TEPA_WRITE_GOLDEN"))
            std::ofstream(file, std::ios::binary) << m_out.str();
        std::ifstream in(file, std::ios::binary);
        const std::string expected{std::istreambuf_iterator<char>(in), {}};
        EXPECT_EQ(m_out.str(), expected) << file;
    }

private:
    template <class T> void put(const T& v)
    {
        if constexpr (std::is_same_v<T, std::string>)
            m_out << " '" << v << "'";
        else if constexpr (requires { v.minimum + v.maximum; }) // a bar's range
            m_out << ' ' << v.minimum << ".." << v.maximum;
        else if constexpr (requires { v.laminarFlow + v.highPressureDrop; }) // the water side's warnings
            m_out << " warn " << v.laminarFlow << v.highPressureDrop;
        else if constexpr (std::is_enum_v<T>)
            m_out << ' ' << static_cast<int>(v);
        else if constexpr (requires { v.has_value(); }) {
            if (v)
                put(*v);
            else
                m_out << " -";
        } else if constexpr (requires { v.begin(); }) {
            m_out << " [";
            for (const auto& x : v)
                put(x);
            m_out << " ]";
        } else
            m_out << ' ' << v;
    }
    std::ostringstream m_out;
};

} // namespace tepa::calculation::test
