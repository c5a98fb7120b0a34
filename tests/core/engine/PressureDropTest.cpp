#include "core/engine/PressureDrop.h"

#include "ProductLines.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tepa::engine {
namespace {

// The values are in the engine's golden file; here the warnings' bounds and the water
// properties' seam at 4 °C.
TEST(EngineDruckverlust, WarningBoundsAndColdWaterStayContinuous)
{
    EXPECT_FALSE(isLaminar(2320));
    EXPECT_TRUE(isLaminar(std::nextafter(2320.0, 0)));
    EXPECT_FALSE(isHighPressureDrop(100000));
    EXPECT_TRUE(isHighPressureDrop(std::nextafter(100000.0, 1e6)));
    // Below 4 °C the density is that at 4 °C; the pressure drop passes 4 °C without a step.
    const std::string line = test::typicalDataLine();
    PressureDropInput cold{.massFlowKgPerH = 100, .lengthMm = 1000, .typeName = "W2", .dataLine = line};
    cold.Tv = cold.Tr = 4 - 1e-7;
    const double below = Druckverlust(cold).pressureDropPa;
    EXPECT_GT(below, 0);
    cold.Tv = cold.Tr = 4 + 1e-7;
    EXPECT_NEAR(Druckverlust(cold).pressureDropPa, below, below * 1e-6);
}

} // namespace
} // namespace tepa::engine
