#include "core/engine/NearbyPower.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tepa::engine {
namespace {

TEST(EngineNearbyPower, MatchesStdPowAlongCreepingAndJumpingArguments)
{
    // Arguments creeping by 0.1 % (series from an anchor), stepping by 3 % and jumping by 50 %
    // (both too far for the series) and alternating between two sides, as in the
    // return-temperature iteration. Relative error
    // within 4e-15: a few roundings of the series on top of std::pow's own.
    for (double n : {0.7, 0.9621, 1.0, 1.3, 1.473, 2.0, 3.5, 12.0}) {
        SCOPED_TRACE(n);
        NearbyPower power(n);
        double x = 0.5;
        for (int i = 0; i < 3000; ++i) {
            x *= i % 100 == 99 ? 1.5 : i % 7 == 0 ? 1.03 : 1.001;
            const double arg = i % 2 ? x : x * 1.002;
            const double expected = std::pow(arg, n);
            ASSERT_NEAR(power(arg), expected, 4e-15 * expected) << arg;
        }
    }
}

} // namespace
} // namespace tepa::engine
