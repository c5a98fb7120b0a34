#include "core/model/Session.h"

#include <gtest/gtest.h>

#include <climits>

namespace tepa {
namespace {

TEST(Session, CurrentEntryIndexIsHeldInsideTheLists)
{
    struct Case
    {
        std::int32_t index;
        std::size_t slot; // 0-based element addressed
    };
    const Case cases[] = {{INT_MIN, 0}, {0, 0}, {7, 6}, {13, 11}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        Session session;
        session.HeatingEntryIndex = c.index;
        session.CoolingEntryIndex = c.index;
        EXPECT_EQ(&session.currentHeatingEntry(), &session.Project.HeatingEntries[c.slot]);
        EXPECT_EQ(&session.currentCoolingEntry(), &session.Project.CoolingEntries[c.slot]);
        const Session& view = session;
        EXPECT_EQ(&view.currentHeatingEntry(), &session.Project.HeatingEntries[c.slot]);
    }
}

} // namespace
} // namespace tepa
