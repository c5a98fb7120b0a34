#pragma once

#include "core/model/ProjectCodec.h"
#include "core/model/ProjectRecord.h"
#include "core/productdata/TypeTable.h"
#include "core/reports/ConvectorList.h"
#include "core/text/InterfaceTexts.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tepa {

// Everything the windows share for the whole run: the project record and the state around it
// that is not stored in the file. The application owns one Session and hands it to the windows
// by reference; tests make their own. Values are those at start.
struct Session
{
    ProjectRecord Project;

    // 1-based numbers of the entries the calculation window works on.
    std::int32_t HeatingEntryIndex = 1;
    std::int32_t CoolingEntryIndex = 1;

    // Room data and calculation mode; never both true once a mode has been chosen.
    bool HeatingMode = true;
    bool CoolingMode = false;

    bool ProjectTouched = false;   // project or room data were opened for editing
    bool ProjectLoaded = false;    // the project came from a file (room data open locked)
    bool CentreReturnTemp = false; // set by New; the calculation window uses it once

    // Room data changed since the last calculation run; any of them blocks saving.
    bool DemandChanged = false;
    bool FlowTempChanged = false;
    bool RoomTempChanged = false;

    bool HeatingDualUseOn = false;
    bool CoolingDualUseOn = false;
    bool EntryBeingAdded = false; // a new entry is open in the calculation window
    bool HeatingPanelReady = false;
    bool CoolingPanelReady = false;
    bool EntryDeleted = false;
    bool RoomDataShown = false;
    bool ProjectDataShown = false;
    bool CoolingRoomTempLoaded = false; // cooling shows the stored room temperature, not 26
    bool FreeTypeChosen = false;        // the picked type index row is a free-convection type
    bool ForcedTypeChosen = false;      // ... a forced-convection type
    std::string ChosenTypeRow;          // picked type index row from its 12th character

    std::filesystem::path ProgramDir;
    std::filesystem::path WorkDir;
    std::filesystem::path ProjectDir;
    std::filesystem::path TmpDir;

    tepa::InterfaceTexts InterfaceTexts;
    TypeTable FreeTypeTable;
    TypeTable ForcedTypeTable;
    std::vector<std::string> HeightList;
    std::vector<std::string> ConvectorTypeIndex;

    // The lines of the last convector list build; every reader builds it afresh first.
    ConvectorListSlots ConvectorList = emptyConvectorList();
    // The convector list has been shown once: closing the project data panel brings it back.
    bool ListShown = false;

    // The file image of the project as it was last loaded, saved or started new. The project is
    // modified exactly while its record differs from it, whichever window changed it.
    std::vector<std::byte> CleanImage = ProjectCodec::encode(ProjectRecord{});
    void markProjectClean() { CleanImage = ProjectCodec::encode(Project); }
    bool projectModified() const { return ProjectCodec::encode(Project) != CleanImage; }

    void ResetChangeFlags()
    {
        DemandChanged = false;
        FlowTempChanged = false;
        RoomTempChanged = false;
    }

    // Gives up the entry that "Erweitern" appended to the list of the current mode and "weiter"
    // has not completed: the list is as it was before, its last entry current. The main window
    // calls it before it switches the mode, as the calculation window does when it is closed, so
    // that the entry is taken from the list it was added to.
    void dropEntryBeingAdded()
    {
        if (!EntryBeingAdded)
            return;
        std::int32_t& count = HeatingMode ? Project.HeatingEntryCount : Project.CoolingEntryCount;
        std::int32_t& index = HeatingMode ? HeatingEntryIndex : CoolingEntryIndex;
        count = std::max<std::int32_t>(count - 1, 0);
        index = std::max<std::int32_t>(count, 1);
        EntryBeingAdded = false;
    }

    // The current entries. An index outside 1..MaxEntries addresses the nearest entry, so a
    // stray index can never reach past the lists.
    HeatingEntry& currentHeatingEntry() { return Project.HeatingEntries[slot(HeatingEntryIndex)]; }
    const HeatingEntry& currentHeatingEntry() const
    {
        return Project.HeatingEntries[slot(HeatingEntryIndex)];
    }
    CoolingEntry& currentCoolingEntry() { return Project.CoolingEntries[slot(CoolingEntryIndex)]; }
    const CoolingEntry& currentCoolingEntry() const
    {
        return Project.CoolingEntries[slot(CoolingEntryIndex)];
    }

private:
    static std::size_t slot(std::int32_t index)
    {
        return static_cast<std::size_t>(
            std::clamp<std::int32_t>(index, 1, static_cast<std::int32_t>(MaxEntries)) - 1);
    }
};

} // namespace tepa
