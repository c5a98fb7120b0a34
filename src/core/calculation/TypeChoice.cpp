#include "core/calculation/TypeChoice.h"

#include "core/calculation/UpdateCycle.h"
#include "core/engine/AirSide.h"
#include "core/productdata/ProductData.h"
#include "core/series/Series.h"
#include "core/text/Encoding.h"
#include "core/text/Numbers.h"

#include <algorithm>
#include <cmath>

namespace tepa::calculation {

namespace {

// The table entry k (1-based) when the table has it.
const TypeTableEntry* tableEntry(const TypeTable& table, std::size_t k)
{
    if (k < 1 || k > TypeTable::Size)
        return nullptr;
    return &table.at(k);
}

// Length and description of the current entry of the active mode.
std::string setLength(Session& session, double length)
{
    if (session.HeatingMode) {
        HeatingEntry& e = session.currentHeatingEntry();
        e.Length = length;
        return entryDescription(session.InterfaceTexts, e.TypeName.text(), e.Height, e.Length);
    }
    CoolingEntry& e = session.currentCoolingEntry();
    e.Length = length;
    return entryDescription(session.InterfaceTexts, e.TypeName.text(), e.Height, e.Length);
}

} // namespace

TypeListView loadTypeList(Session& session, bool forced)
{
    TypeListView v;
    v.captionLine = forced ? ForcedListText : FreeListText;
    const TypeSelection selection{session.FreeTypeChosen, session.ForcedTypeChosen, session.ChosenTypeRow,
                                  session.HeatingMode};
    auto load = forced ? loadForcedTypes(session.ProgramDir, selection, session.ForcedTypeTable)
                       : loadFreeTypes(session.ProgramDir, selection, session.FreeTypeTable);
    if (!load) {
        v.error = load.error();
        return v;
    }
    v.types = load.value().names;
    if (load.value().cut)
        v.messages.push_back(TypeListCutTextLine);
    HeatingEntry& heating = session.currentHeatingEntry();
    heating.FreeConvection = heating.FreeConvectionB = !forced;
    if (forced)
        v.coolingNoteShown = !session.HeatingMode;
    return v;
}

TypeChosenView chooseType(Session& session, int row, const std::string& item)
{
    TypeChosenView v;
    if (row < 0)
        return v;
    const std::size_t k = static_cast<std::size_t>(row) + 1;
    HeatingEntry& heating = session.currentHeatingEntry();
    CoolingEntry& cooling = session.currentCoolingEntry();
    const bool heatingMode = session.HeatingMode;
    const bool free = heating.FreeConvectionB;
    const TypeTable& table = free ? session.FreeTypeTable : session.ForcedTypeTable;

    // The table holds the names, then the length lines, the data lines and the fan lines.
    const TypeTableEntry* nameEntry = tableEntry(table, k);
    if (!nameEntry) {
        v.error = listIndexMessage(k - 1);
        return v;
    }
    const std::size_t c = static_cast<std::size_t>(std::max(nameEntry->TypeCount, 0));
    const TypeTableEntry* lengthEntry = tableEntry(table, c + k);
    const TypeTableEntry* dataEntry = tableEntry(table, 2 * c + k);
    const TypeTableEntry* fanEntry = free ? dataEntry : tableEntry(table, 3 * c + k);
    if (!lengthEntry || !dataEntry || !fanEntry) {
        v.error = listIndexMessage((free ? 2 : 3) * c + k - 1);
        return v;
    }
    if (free) {
        heating.TypeText1.setText(dataEntry->Text);
    } else if (heatingMode) {
        heating.TypeText1.setText(dataEntry->Text);
        heating.TypeText2.setText(fanEntry->Text);
    } else {
        cooling.TypeText1.setText(dataEntry->Text);
        cooling.TypeText2.setText(fanEntry->Text);
    }
    v.lengths = lengthFields(lengthEntry->Text);

    if (heatingMode) {
        heating.TypeName.setText(item);
        const std::string name = heating.TypeName.text();
        if (session.HeatingDualUseOn && !series::isPrimaryAir(name) && !series::isWfwFamily(name) &&
            !series::isStaged(name))
            v.messages.push_back(CannotCoolText);
        v.otherModeRatingHidden = true;
    } else {
        // The cooling list shows a description after the name: the name ends at the first blank.
        const std::string head = std::string(utf8Left(item, 20));
        cooling.TypeName.setText(head.substr(0, head.find(' ')));
    }

    auto offered = offeredHeights(item, session.HeightList);
    if (!offered) {
        v.error = offered.error();
        return v;
    }
    v.heights = offered.value().lines;
    v.heightRow = static_cast<int>(offered.value().preselected);
    const std::string heightLine = offered.value().preselected < v.heights->size()
                                       ? (*v.heights)[offered.value().preselected]
                                       : std::string();
    if (heatingMode) {
        heating.Height = heightOfLine(heightLine);
        auto factor = heightFactor(heating.TypeName.text(), heightLine, localeDecimalSeparator());
        if (!factor) {
            v.error = factor.error();
            return v;
        }
        heating.HeightFactor = factor.value();
    } else {
        cooling.Height = heightOfLine(heightLine);
        cooling.HeightFactor = 1;
    }

    // The ceiling units are built in one height only.
    if (series::isStaged(heating.TypeName.text()) || series::isStaged(cooling.TypeName.text())) {
        v.heights = std::vector<std::string>{"500"};
        v.heightRow = 0;
        heating.Height = cooling.Height = 500;
        heating.HeightFactor = cooling.HeightFactor = 1;
    }

    if (v.lengths.size() == 1) {
        v.weiterEnabled = true;
        v.description = setLength(session, decimalValue(v.lengths.front()));
    }
    return v;
}

std::string chooseLength(Session& session, const std::string& lengthText)
{
    return setLength(session, decimalValue(lengthText));
}

std::optional<std::string> chooseHeight(Session& session, const std::string& heightLine)
{
    HeatingEntry& heating = session.currentHeatingEntry();
    heating.Height = heightOfLine(heightLine);
    // The factor column belongs to the series, whatever place the type has in the list.
    auto factor = heightFactor(heating.TypeName.text(), heightLine, localeDecimalSeparator());
    if (!factor)
        return factor.error();
    if (session.HeatingMode)
        heating.HeightFactor = factor.value();
    else
        session.currentCoolingEntry().HeightFactor = factor.value();
    return std::nullopt;
}

TypePanelLeft leaveTypePanel(const Session& session)
{
    return {session.HeatingPanelReady};
}

// ---- "weiter" ----

HeatingFanStart heatingFanStart(const std::string& typeName)
{
    HeatingFanStart start;
    const series::Series kind = series::seriesOf(typeName);
    const std::string lowest = strFixed(series::minimumPercent(kind), 0, 0);
    if (kind == series::Series::Wfwl || kind == series::Series::Wfw) {
        start.fanSpeed = series::minimumSpeed(kind);
        start.settingText = lowest;
        start.settingFixed = kind == series::Series::Wfwl;
        start.keepsPreviousSpeed = kind == series::Series::Wfwl;
    } else {
        start.settingText = "0";
    }
    return start;
}

CoolingFanStart coolingFanStart(const std::string& typeName)
{
    CoolingFanStart start;
    const series::Series kind = series::seriesOf(typeName);
    const series::SpeedRange range = series::coolingSpeedRange(kind);
    if (kind == series::Series::Wfwl) {
        start.fanSpeed = range.minimum;
        start.keepsPreviousSpeed = true;
        start.fixedText = strFixed(series::minimumPercent(kind), 0, 0);
    } else if (kind == series::Series::Wfw) {
        start.fanSpeed = range.minimum;
    } else if (!series::isStaged(typeName)) {
        start.fanSpeed = 0;
        start.settingText = "0";
    }
    return start;
}

CoolingReturnStart coolingReturnStart(const Session& session)
{
    CoolingReturnStart start;
    const int flow = static_cast<int>(roundHalfEven(session.Project.CoolingFlowTemp));
    start.minimum = flow;
    start.maximum = flow + 12;
    start.value = flow + 2;
    start.text = strInt(flow + 2, 0);
    start.shown = !series::isPrimaryAir(session.currentCoolingEntry().TypeName.text());
    return start;
}

std::optional<DewPointWarning> dewPointWarning(const ProjectRecord& project)
{
    const double Td = engine::Taupunkt(project.CoolingRoomTemp, project.CoolingHumidity).dewPointC;
    const double lowestFlow = engine::dewPointFlowLimit(project.CoolingRoomTemp, Td);
    if (!(lowestFlow > project.CoolingFlowTemp))
        return std::nullopt;
    return DewPointWarning{strFixed(Td, 0, 1), strFixed(lowestFlow, 0, 1)};
}

HeatingEntryStart startHeatingEntry(Session& session, const std::function<bool(std::size_t)>& confirm)
{
    HeatingEntryStart start;
    ProjectRecord& project = session.Project;
    const int index = session.HeatingEntryIndex;
    if (session.EntryDeleted && index == 1) {
        session.CentreReturnTemp = true;
        project.HeatingEntryCount = 1;
        start.speedChangeEnded = true;
        session.EntryDeleted = false;
    }
    if (session.CentreReturnTemp) {
        HeatingEntry& first = project.HeatingEntries[0];
        first.ReturnTemp = (first.ReturnTempEnd + first.ReturnTempStart) / 2;
        session.CentreReturnTemp = false;
    }
    HeatingEntry& e = session.currentHeatingEntry();
    e.InUse = true;
    if (e.ReturnTemp > project.HeatingFlowTemp) {
        if (!confirm(ReturnAboveFlowText)) {
            start.confirmed = false;
            return start;
        }
        e.ReturnTemp = project.HeatingFlowTemp - 1;
    }
    if (session.EntryBeingAdded) {
        if (index > 1) {
            const HeatingEntry& before = project.HeatingEntries[static_cast<std::size_t>(index - 2)];
            if (project.ReturnTempFixed == 1)
                e.ReturnTemp = before.ReturnTemp;
            else
                e.MassFlow = before.MassFlow;
        }
        e.FanSpeed = 0;
    }
    return start;
}

WeiterEnd weiterEnd(const Session& session)
{
    WeiterEnd end;
    end.heatingStagesShown = series::isStaged(session.currentHeatingEntry().TypeName.text());
    end.coolingStagesShown = series::isStaged(session.currentCoolingEntry().TypeName.text());
    const bool primaryAir = series::isPrimaryAir(session.currentCoolingEntry().TypeName.text());
    end.thirdValueLine = primaryAir ? 208 : 190;
    end.thirdValueShown = !primaryAir;
    return end;
}

} // namespace tepa::calculation
