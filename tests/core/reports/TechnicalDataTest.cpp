#include "core/reports/TechnicalData.h"

#include "core/GoldenCalls.h"
#include "core/model/ProjectCodec.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <span>
#include <string>

namespace tepa {
namespace {

namespace fs = std::filesystem;

std::string fileText(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// tests/data/reports/techdaten-room.kon: room "Büro 1" with a WF2 heating entry (50 % of the
// series' 1400 rpm) and a WFW-2L cooling entry (75 % of 1600 rpm), both in use.
// techdaten-both-lists.txt is its whole file, written out from the format's table by hand.
ProjectRecord room()
{
    const std::string bytes = fileText(TEPA_TEST_DATA_DIR "/reports/techdaten-room.kon");
    return ProjectCodec::decode(std::as_bytes(std::span(bytes))).value();
}

// The files of rooms that differ from the hand-written one in one respect each, in
// tests/data/reports/TechnicalDataBytes.OfRoomVariantsAreTheGoldenOnes.txt (Windows-1252, CR LF;
// GoldenCalls.h says how it is written anew).
TEST(TechnicalDataBytes, OfRoomVariantsAreTheGoldenOnes)
{
    EXPECT_EQ(TechnicalDataBytes(room()), fileText(TEPA_TEST_DATA_DIR "/techdaten-both-lists.txt"));
    const std::pair<const char*, std::function<void(ProjectRecord&)>> variants[] = {
        {"neither list in use",
         [](ProjectRecord& p) { p.HeatingEntries[0].InUse = p.CoolingEntries[0].InUse = p.CoolingInUse = false; }},
        // The heating section ends with an empty line, the cooling section without one.
        {"heating only", [](ProjectRecord& p) { p.CoolingEntries[0].InUse = p.CoolingInUse = false; }},
        // The list's flag writes the section also when its first entry is not in use.
        {"cooling flag only",
         [](ProjectRecord& p) {
             p.HeatingEntries[0].InUse = p.CoolingEntries[0].InUse = false;
             p.CoolingInUse = true;
         }},
        // An entry opened without a type: everything zero, and no fan series, so 0 %.
        {"entry without type", [](ProjectRecord& p) { p.HeatingEntryCount = 2; }},
        // A project file can hold any bytes in its names; the reader splits lines at CR LF and
        // fields at TAB, so those characters are written as blanks.
        {"names from a damaged file",
         [](ProjectRecord& p) {
             p.RoomName.setText("A\r\nB\tC\rD\n");
             p.HeatingEntries[0].TypeName.setText("WF\t2\r\n");
             p.CoolingEntries[0].TypeName.setText("W\nFW\r");
         }},
        // Primary-air types write the air flow instead of water and fan.
        {"primary air",
         [](ProjectRecord& p) {
             p.HeatingEntries[0].TypeName.setText("WNF2");
             p.CoolingEntries[0].TypeName.setText("WNF1");
         }},
        // The fan speed is a percentage of the series' top speed: "WFWL" comes after "WFW",
        // "DWF" last, 50.5 rounds away from zero, and a type without fan gives 0.
        {"fan speeds",
         [](ProjectRecord& p) {
             const std::pair<const char*, double> speeds[] = {
                 {"WFW-4L", 1600}, {"WFWL-2", 1150}, {"DWF3", 1400}, {"WF2", 707}, {"W1", 1400}};
             p.HeatingEntryCount = 5;
             for (int i = 0; i < 5; ++i) {
                 p.HeatingEntries[i] = p.HeatingEntries[0];
                 p.HeatingEntries[i].TypeName.setText(speeds[i].first);
                 p.HeatingEntries[i].FanSpeed = speeds[i].second;
             }
         }},
    };
    test::Golden golden("reports");
    for (const auto& [what, change] : variants) {
        ProjectRecord p = room();
        change(p);
        golden(what, "\r\n" + TechnicalDataBytes(p));
    }
}

// The file goes beside the project file, with its extension (written as a project file is saved).
TEST(TechnicalDataFile, IsNamedAfterTheProjectFilesFolderAndExtension)
{
    EXPECT_EQ(technicalDataFileFor("/p/a.b/Haus").string(), "/p/a.b/techdaten");
    EXPECT_EQ(technicalDataFileFor("/p/Haus.alt.kon").string(), "/p/techdaten.kon");
    EXPECT_EQ(technicalDataFileFor("Haus.kon").string(), "techdaten.kon");
}

} // namespace
} // namespace tepa
