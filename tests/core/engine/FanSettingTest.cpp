#include "core/engine/AirSide.h"

#include <gtest/gtest.h>

namespace tepa::engine {
namespace {

// The fan speeds are in the engine's golden file.
TEST(EngineFanSetting, DewPointLimitLiesFifteenPercentTowardsTheRoom)
{
    EXPECT_DOUBLE_EQ(dewPointFlowLimit(26, 16), 17.5); // 16 + 0.15 * 10
    EXPECT_DOUBLE_EQ(dewPointFlowLimit(20, 20), 20);
}

} // namespace
} // namespace tepa::engine
