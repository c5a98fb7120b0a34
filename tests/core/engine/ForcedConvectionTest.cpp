#include "core/engine/ForcedConvection.h"

#include "ProductLines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace tepa::engine {
namespace {

using test::fanLine;

// The coefficients of each series are in the engine's golden file; here what depends on the
// call before.
const std::string data = test::typicalDataLine('9');
const std::string genericFan = fanLine("0.0200000", "0.6000000", "1.2000000", '9'); // c1, c2, nF

ConvectorCoefficients wf1(double L)
{
    return Zwangskennwerte({.typeName = "WF1", .lengthMm = L, .speedRpm = 1000, .dataLine = data, .fanLine = genericFan});
}

TEST(EngineZwangskennwerte, FanCountOfWfFollowsLengthAlone)
{
    // "WF1" at 1000 rpm: K = 18.467 · z/3. Off-table lengths take the nearest tabulated one,
    // ties the shorter. Each length is computed after two different predecessors.
    struct Case
    {
        double Le, z, zc;
    } cases[] = {{1000, 2, 1}, {1001, 3, 0}, {2951, 7, 0}, {3600, 7, 0}, {100, 2, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Le);
        for (double before : {850.0, 2950.0}) {
            wf1(before + 400);
            const ConvectorCoefficients r = wf1(c.Le + 400);
            EXPECT_NEAR(r.characteristic.K, 18.467 * c.z / 3, 1e-9);
            EXPECT_NEAR(r.soundLevelDb, 32 + 10 * std::log10(c.z / 3) + c.zc, 1e-9);
        }
    }
}

} // namespace
} // namespace tepa::engine
