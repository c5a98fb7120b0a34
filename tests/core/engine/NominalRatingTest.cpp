#include "core/engine/NominalRating.h"

#include <gtest/gtest.h>

namespace tepa::engine {
namespace {

// The ratings are in the engine's golden file; here the pressure drop's digits: 12345.6 Pa do not
// fit the 4 significant digits of a heating rating (exponent form), they fit a cooling rating's 5.
TEST(EngineOtherModeRating, PressureDropDigitsDependOnRatedMode)
{
    OtherModeRating r;
    r.pressureDropPa = 12345.6;
    r.kind = RatingKind::Heating;
    EXPECT_EQ(ratingDisplay(r).Label88, "1.235E4");
    r.kind = RatingKind::Cooling;
    EXPECT_EQ(ratingDisplay(r).Label88, "12346");
}

} // namespace
} // namespace tepa::engine
