#include "core/calculation/RoomRun.h"

#include "core/text/Numbers.h"

#include <algorithm>

namespace tepa::calculation {
namespace {

constexpr double MinRoomTemp = 0, MaxRoomTemp = 40;
constexpr double MinHeatingFlow = 40, MaxHeatingFlow = 110;
constexpr double MinCoolingFlow = 5, MaxCoolingFlow = 25;
// A cooling flow above the room temperature is replaced by this much below it as a proposal.
constexpr double ProposedCoolingFlowBelowRoom = 4;

bool outside(double value, double minimum, double maximum)
{
    return value > maximum || value < minimum;
}

} // namespace

std::size_t stopText(RunStop stop)
{
    switch (stop) {
    case RunStop::RoomTemp:
        return RoomTempRangeText;
    case RunStop::FlowTemp:
        return FlowTempRangeText;
    case RunStop::CoolingFlowAboveRoom:
        return CoolingFlowAboveRoomText;
    case RunStop::None:
        break;
    }
    return 0;
}

RunStop heatingChecks(const ProjectRecord& p)
{
    if (outside(p.HeatingRoomTemp, MinRoomTemp, MaxRoomTemp))
        return RunStop::RoomTemp;
    if (outside(p.HeatingFlowTemp, MinHeatingFlow, MaxHeatingFlow))
        return RunStop::FlowTemp;
    return RunStop::None;
}

RunStop coolingFlowCheck(const ProjectRecord& p)
{
    return p.CoolingFlowTemp > p.CoolingRoomTemp ? RunStop::CoolingFlowAboveRoom : RunStop::None;
}

RunStop coolingChecks(const ProjectRecord& p)
{
    if (outside(p.CoolingRoomTemp, MinRoomTemp, MaxRoomTemp))
        return RunStop::RoomTemp;
    if (outside(p.CoolingFlowTemp, MinCoolingFlow, MaxCoolingFlow))
        return RunStop::FlowTemp;
    return RunStop::None;
}

std::string proposedCoolingFlow(const ProjectRecord& p)
{
    return fixedDigits(p.CoolingRoomTemp - ProposedCoolingFlowBelowRoom, 3, 1);
}

RoomValues heatingRoomValues(const ProjectRecord& p)
{
    return {p.HeatingDemand, p.HeatingFlowTemp, p.HeatingRoomTemp};
}

bool asksChangedRoomData(const Session& s)
{
    return s.Project.HeatingEntries[0].InUse && (s.DemandChanged || s.FlowTempChanged || s.RoomTempChanged);
}

void rejectRoomDataChange(Session& s, const std::optional<RoomValues>& before)
{
    ProjectRecord& p = s.Project;
    if (before) {
        if (s.RoomTempChanged)
            p.HeatingRoomTemp = before->roomTemp;
        if (s.FlowTempChanged)
            p.HeatingFlowTemp = before->flowTemp;
        if (s.DemandChanged)
            p.HeatingDemand = before->demand;
    }
    s.ResetChangeFlags();
}

std::vector<int> acceptRoomDataChange(Session& s, CalculationPort& port)
{
    std::vector<int> lowered;
    ProjectRecord& p = s.Project;
    if (s.RoomTempChanged || s.FlowTempChanged) {
        const int count = std::clamp<int>(p.HeatingEntryCount, 0, static_cast<int>(MaxEntries));
        for (int i = 1; i <= count; ++i) {
            HeatingEntry& entry = p.HeatingEntries[static_cast<std::size_t>(i - 1)];
            port.updateLimits(i);
            if (entry.ReturnTempEnd < entry.ReturnTemp) {
                lowered.push_back(i);
                entry.ReturnTemp = entry.ReturnTempEnd;
            }
            port.recalculate(i);
        }
    }
    s.ResetChangeFlags();
    return lowered;
}

std::string loweredReturnTempMessage(int number, const std::string& text118)
{
    return "Konvektor Nr " + std::to_string(number) + "   " + text118;
}

} // namespace tepa::calculation
