#include "core/calculation/ListEditing.h"

#include "core/model/ProjectReset.h"
#include "core/series/Series.h"
#include "core/text/Numbers.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tepa::calculation {
namespace {

// The list holds at most this many entries per mode: the project record has no room for more.
constexpr std::int32_t ListCapacity = static_cast<std::int32_t>(MaxEntries);

int whole(double x)
{
    return static_cast<int>(roundHalfEven(x));
}

// The stage a stored speed stands for, by its place among `stages`; a stored 999.95 is the
// 1000 stage: the speed is nudged before rounding.
template <std::size_t N> std::optional<int> stageIndex(double fanSpeed, const int (&stages)[N])
{
    const int rpm = whole(fanSpeed + 0.1);
    for (std::size_t i = 0; i < N; ++i)
        if (stages[i] == rpm)
            return static_cast<int>(i);
    return std::nullopt;
}

constexpr int HeatingStages[] = {0, 700, 1000, 1400};
constexpr int CoolingStages[] = {700, 1000, 1400};

std::size_t slotOf(int index)
{
    return static_cast<std::size_t>(std::clamp<int>(index, 1, ListCapacity) - 1);
}

template <class Entry, std::size_t N> void removeEntry(std::array<Entry, N>& entries, int k, int count)
{
    for (int i = k; i < count; ++i)
        entries[slotOf(i)] = entries[slotOf(i + 1)];
    // The freed last place keeps a copy of the entry moved out of it; it is no longer counted,
    // and a new entry there is filled by the type choice.
}

std::string coolingSettingText(const CoolingEntry& entry)
{
    const double percent =
        series::coolingPercentFromSpeed(series::seriesOf(entry.TypeName.text()), entry.FanSpeed);
    return std::to_string(static_cast<int>(std::trunc(percent)));
}

} // namespace

std::string heatingSettingText(const HeatingEntry& entry)
{
    const series::Series s = series::seriesOf(entry.TypeName.text());
    if (s == series::Series::Wnf)
        return strFixed(entry.FanSetting, 4, 0);
    // The slow fans run at whole percentages of their steps.
    return strFixed(entry.FanSpeed / (series::heatingSpeedRange(s).maximum / 100), 1,
                    s == series::Series::Wfwl ? 0 : 1);
}

AppendView appendEntry(Session& s, std::optional<int> typedCount)
{
    ProjectRecord& p = s.Project;
    AppendView view;
    const std::int32_t count = s.HeatingMode ? p.HeatingEntryCount : p.CoolingEntryCount;
    if (count >= ListCapacity) {
        view.notes.push_back({NoteKind::Message, ListFullText});
        return view;
    }
    s.ProjectLoaded = false;
    if (s.HeatingMode) {
        HeatingEntry& current = s.currentHeatingEntry();
        current.Count = typedCount.value_or(current.Count);
        p.HeatingEntryCount += 1;
        s.HeatingEntryIndex = p.HeatingEntryCount;
    } else {
        CoolingEntry& current = s.currentCoolingEntry();
        current.Count = typedCount.value_or(current.Count);
        p.CoolingEntryCount += 1;
        s.CoolingEntryIndex = p.CoolingEntryCount;
        // Cleared first so that the count of one survives the reset.
        clearCoolingEntry(s.currentCoolingEntry());
        s.currentCoolingEntry().Count = 1;
        view.countFieldReset = true;
    }
    s.EntryBeingAdded = true;
    view.appended = true;
    return view;
}

DeleteCheck checkDelete(Session& s, int row)
{
    const std::int32_t count = s.HeatingMode ? s.Project.HeatingEntryCount : s.Project.CoolingEntryCount;
    if (row < 0)
        return {Note{NoteKind::Information, NoRowSelectedText}, false};
    if (count < 1)
        return {Note{NoteKind::Information, NoEntriesText}, false};
    return {std::nullopt, true};
}

DeleteView deleteEntry(Session& s, int row)
{
    ProjectRecord& p = s.Project;
    DeleteView view;
    const int k = row + 1;
    s.EntryDeleted = true;
    std::int32_t& count = s.HeatingMode ? p.HeatingEntryCount : p.CoolingEntryCount;
    if (s.HeatingMode) {
        clearHeatingEntry(p.HeatingEntries[slotOf(k)]);
        removeEntry(p.HeatingEntries, k, count);
    } else {
        clearCoolingEntry(p.CoolingEntries[slotOf(k)]);
        removeEntry(p.CoolingEntries, k, count);
    }
    count = std::max<std::int32_t>(count - 1, 0);
    (s.HeatingMode ? s.HeatingEntryIndex : s.CoolingEntryIndex) = 1;

    if (count == 0) {
        view.listEmptied = true;
        p.CalculationDone = false;
        if (s.HeatingMode) {
            p.HeatingEntries[0].InUse = false;
            p.HeatingEntries[0].Count = 1;
        } else {
            p.CoolingEntries[0].InUse = false;
            p.CoolingEntries[0].Count = 1;
        }
        return view;
    }
    // The controls are those of the entry now shown, not of the one deleted.
    if (s.HeatingMode) {
        const HeatingEntry& first = p.HeatingEntries[0];
        if (first.FreeConvection) {
            view.settingText = "0";
            return view;
        }
        view.heatingFan = series::isStaged(first.TypeName.text()) ? FanPanel::Stages : FanPanel::Bar;
        view.fanBarPosition = static_cast<int>(std::trunc(first.FanSpeed));
        // The field holds a setting, not a speed: a speed in it would be read back as a
        // percentage the moment the field is entered or left.
        view.settingText = heatingSettingText(first);
    } else {
        const CoolingEntry& first = p.CoolingEntries[0];
        view.coolingStaged = series::isStaged(first.TypeName.text());
        view.fanBarPosition = static_cast<int>(std::trunc(first.FanSpeed));
        view.settingText = coolingSettingText(first);
    }
    return view;
}

EditView editEntry(Session& s, int row, double maxAirFlow)
{
    EditView view;
    if (row < 0) {
        view.note = Note{NoteKind::Information, NoRowSelectedText};
        return view;
    }
    view.index = row + 1;
    if (s.HeatingMode) {
        s.HeatingEntryIndex = view.index;
        const HeatingEntry& e = s.currentHeatingEntry();
        const std::string name = e.TypeName.text();
        const series::Series kind = series::seriesOf(name);
        if (e.FreeConvection) {
            view.heatingFan = FanPanel::None;
        } else if (series::isStaged(name)) {
            view.heatingFan = FanPanel::Stages;
            view.heatingStage = stageIndex(e.FanSpeed, HeatingStages);
        } else {
            view.heatingFan = FanPanel::Bar;
            view.barRangeSet = true;
            view.settingText = heatingSettingText(e);
            if (series::isPrimaryAir(name)) {
                const double limit = series::primaryAirPerSize(name) > 0
                                         ? series::coolingAirFlowLimit(name, e.Length)
                                         : maxAirFlow;
                view.barMaximum = whole(limit);
                view.barPosition = whole(e.FanSetting);
            } else if (series::isSlowFan(name)) {
                view.barMinimum = static_cast<int>(series::minimumSpeed(kind));
                view.barMaximum = static_cast<int>(series::fullSpeed(kind));
                view.barPosition = whole(e.FanSpeed - 0.1);
                view.settingInLabel = true;
            } else {
                view.barMinimum = static_cast<int>(series::minimumSpeed(series::Series::Wf));
                view.barMaximum = static_cast<int>(series::heatingSpeedRange(kind).maximum);
                view.barPosition = whole(e.FanSpeed);
            }
            view.runBarHandler = !series::isPrimaryAir(name);
        }
    } else {
        s.CoolingEntryIndex = view.index;
        const CoolingEntry& e = s.currentCoolingEntry();
        const std::string name = e.TypeName.text();
        view.countText = std::to_string(e.Count);
        view.returnTempText = strFixed(e.ReturnTemp, 2, 0);
        view.coolingStaged = series::isStaged(name);
        if (view.coolingStaged)
            view.coolingStage = stageIndex(e.FanSpeed, CoolingStages);
        else
            view.primaryAir = series::isPrimaryAir(name);
    }
    view.flowCaption = series::isPrimaryAir(s.currentCoolingEntry().TypeName.text()) ? PrimaryAirCaptionText
                                                                                     : FlowTempCaptionText;
    return view;
}

WriteBackView writeBack(Session& s, std::optional<int> typedCount, bool listEmpty)
{
    ProjectRecord& p = s.Project;
    WriteBackView view;
    // A given-up new entry leaves the list as it was: the count field then belongs to the
    // dropped entry, not to the one that becomes current.
    const bool droppedNewEntry = s.EntryBeingAdded;
    if (droppedNewEntry) {
        view.typeListDisabled = s.HeatingMode;
        s.dropEntryBeingAdded();
    }
    // The entry keeps the values the calculation left in it: the display texts are rounded, and
    // reading them back would shift the operating point on every close. Only the count is taken
    // from its field, where it is typed.
    auto takeBack = [&](auto& e, bool firstInUse) {
        if (!droppedNewEntry)
            e.Count = typedCount.value_or(e.Count);
        if (e.HeightFactor == 0)
            e.HeightFactor = 1;
        if (firstInUse) {
            p.HeatingInUse = s.HeatingMode;
            view.convectorListEnabled = true;
        }
    };
    if (s.HeatingMode) {
        takeBack(s.currentHeatingEntry(), p.HeatingEntries[0].InUse);
        s.ResetChangeFlags();
        s.HeatingEntryIndex = 1;
    } else {
        takeBack(s.currentCoolingEntry(), p.CoolingEntries[0].InUse);
        s.ResetChangeFlags();
        s.CoolingEntryIndex = 1;
    }
    if (listEmpty)
        p.HeatingInUse = !s.HeatingMode;
    return view;
}

} // namespace tepa::calculation
