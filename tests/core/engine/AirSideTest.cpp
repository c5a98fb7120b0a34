#include "core/engine/AirSide.h"

#include <gtest/gtest.h>

namespace tepa::engine {
namespace {

// Its values are in the engine's golden file; here the law's shape: at 100 % the vapour pressure
// is the saturation pressure and the inverse law returns T; more humidity, higher dew point.
TEST(EngineTaupunkt, SaturatedAirIsAtItsDewPoint)
{
    for (double T : {0.0, 12.0, 26.0, 40.0}) {
        SCOPED_TRACE(T);
        EXPECT_NEAR(Taupunkt(T, 100).dewPointC, T, 1e-9);
        EXPECT_LT(Taupunkt(T, 40).dewPointC, Taupunkt(T, 60).dewPointC);
    }
}

} // namespace
} // namespace tepa::engine
