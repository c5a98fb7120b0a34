#include "core/reports/TechnicalData.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <string>
#include <vector>

// Expected bytes are Windows-1252: \xE4 = "ä", \xF6 = "ö", \xFC = "ü", \xB0 = "°".

namespace tepa {
namespace {

namespace fs = std::filesystem;

// The whole file of the room below with the WF2 heating entry and the WFW-2L cooling entry,
// written out from the format's table by hand.
std::string goldenFile()
{
    std::ifstream in(TEPA_TEST_DATA_DIR "/techdaten-both-lists.txt", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

ProjectRecord roomOnly()
{
    ProjectRecord p;
    p.RoomCount = 1;
    p.RoomName.setText("Büro 1");
    p.HeatingRoomTemp = 20.4;
    p.HeatingDemand = 1234.5;
    p.HeatingFlowTemp = 75;
    p.CoolingRoomTemp = 26;
    p.CoolingDemand = 812.5;
    p.CoolingFlowTemp = 16.25;
    p.HeatingEntryCount = 1;
    p.CoolingEntryCount = 1;
    return p;
}

void setHeatingEntry(ProjectRecord& p, std::size_t k, const char* type)
{
    HeatingEntry& e = p.HeatingEntries[k];
    e.TypeName.setText(type);
    e.Height = 110;
    e.Length = 1250;
    e.Count = 2;
    e.MassFlow = 68.8;
    e.FanSpeed = 700; // 50 % of 1400 rpm
    e.FanSetting = 120;
    e.PressureDrop = 412.5;
    e.SoundLevel = 30.2;
    e.ReturnTemp = 65;
    e.Output = 1500;
    e.CoolingNominalMassFlow = 100.4;
    e.CoolingNominalPressureDrop = 2000;
    e.CoolingNominalSound = 25;
    e.CoolingNominalOutput = 799.5;
    e.InUse = true;
}

void setCoolingEntry(ProjectRecord& p, std::size_t k, const char* type)
{
    CoolingEntry& e = p.CoolingEntries[k];
    e.TypeName.setText(type);
    e.Height = 180;
    e.Length = 2000;
    e.Count = 1;
    e.MassFlow = 150.5;
    e.FanSpeed = 1200; // 75 % of 1600 rpm
    e.FanSetting = 95;
    e.PressureDrop = 3100;
    e.SoundLevel = 35.5;
    e.ReturnTemp = 18;
    e.Output = 640;
    e.HeatingNominalMassFlow = 80;
    e.HeatingNominalPressureDrop = 950;
    e.HeatingNominalSound = 33;
    e.HeatingNominalOutput = 1820;
    e.InUse = true;
}

// --- The file's bytes -----------------------------------------------------------------------

TEST(TechnicalDataBytes, WritesTheSectionsOfTheListsInUse)
{
    const std::string golden = goldenFile();
    const std::size_t heating = golden.find("Auslegung f\xFCr H");
    const std::size_t cooling = golden.find("Auslegung f\xFCr K");
    ASSERT_TRUE(heating != std::string::npos && cooling != std::string::npos);
    const std::string head = golden.substr(0, heating);
    struct Case
    {
        const char* what;
        bool heatingEntry, coolingEntry, coolingFlagOnly;
        std::string expected;
    };
    const Case cases[] = {
        {"neither list in use", false, false, false, head},
        // The heating section ends with an empty line, the cooling section without one.
        {"heating only", true, false, false, golden.substr(0, cooling)},
        {"both, heating first", true, true, false, golden},
        // The list's flag writes the section also when its first entry is not in use.
        {"cooling flag only", false, true, true, head + golden.substr(cooling)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProjectRecord p = roomOnly();
        if (c.heatingEntry)
            setHeatingEntry(p, 0, "WF2");
        if (c.coolingEntry)
            setCoolingEntry(p, 0, "WFW-2L");
        if (c.coolingFlagOnly) {
            p.CoolingEntries[0].InUse = false;
            p.CoolingInUse = true;
        }
        EXPECT_EQ(TechnicalDataBytes(p), c.expected);
    }
}

// Parts of the file for rooms that differ from the golden one in one respect each.
TEST(TechnicalDataBytes, WritesEachEntryAsItStands)
{
    struct Case
    {
        const char* what;
        std::function<void(ProjectRecord&)> change;
        std::vector<std::string> parts;
        const char* absent = nullptr;
    };
    const auto fanSpeed = [](const char* type, double rpm, const char* percent) {
        return Case{type,
                    [=](ProjectRecord& p) {
                        setHeatingEntry(p, 0, type);
                        p.HeatingEntries[0].FanSpeed = rpm;
                    },
                    {"\r\nWassermassenstrom:\t 69\t kg/h\r\nGebl\xE4sedrehzahl:\t" + std::string(percent) +
                     "\t %\r\nWasserseitiger"}};
    };
    const Case cases[] = {
        // An entry opened without a type: everything zero, and no fan series, so 0 %.
        {"entry without type",
         [](ProjectRecord& p) {
             p.HeatingEntryCount = 2;
             setHeatingEntry(p, 0, "WF2");
         },
         {"Anzahl Konv.-Typen:\t2\t \r\n", "\r\nKonvektor-Typ::\t\t \r\nH\xF6he:\t  0\t mm\r\n",
          "Wassermassenstrom:\t  0\t kg/h\r\nGebl\xE4sedrehzahl:\t   0\t %\r\n",
          "K\xFChlleistung:\t    0\t W\r\n\r\n"}},
        // A project file can hold any bytes in its names; the reader splits lines at CR LF and
        // fields at TAB, so those characters are written as blanks.
        {"names from a damaged file",
         [](ProjectRecord& p) {
             p.RoomName.setText("A\r\nB\tC\rD\n");
             setHeatingEntry(p, 0, "WF\t2\r\n");
             setCoolingEntry(p, 0, "W\nFW\r");
         },
         {"\r\nRaumbezeichnung:   A  B C D \r\n", "\r\nKonvektor-Typ::\tWF 2  \t \r\n",
          "\r\nKonvektor-Typ:\tW FW \t \r\n"}},
        // Primary-air types write the air flow instead of water and fan.
        {"primary air",
         [](ProjectRecord& p) {
             setHeatingEntry(p, 0, "WNF2");
             setCoolingEntry(p, 0, "WNF1");
         },
         {"Anzahl:\t2\t \r\nVolumenstrom:\t120\t \r\nWasserseitiger Druckverlust:\t  413",
          "Anzahl:\t1\t \r\nVolumenstrom:\t 95\tkg/h\r\nWasserseitiger Druckverlust\t 3100"},
         "Gebl\xE4sedrehzahl:\t"},
        // The fan speed is a percentage of the series' top speed.
        fanSpeed("WFW-4L", 1600, " 100"),
        fanSpeed("WFWL-2", 1150, " 100"), // 11.5: "WFWL" comes after "WFW"
        fanSpeed("DWF3", 1400, " 100"),   // 14: "DWF" comes last
        fanSpeed("WF2", 707, "  51"),     // 50.5 rounded away from zero
        fanSpeed("W1", 1400, "   0"),     // no fan series: 0, never the mass flow again
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProjectRecord p = roomOnly();
        c.change(p);
        const std::string bytes = TechnicalDataBytes(p);
        for (const std::string& part : c.parts)
            EXPECT_NE(bytes.find(part), std::string::npos) << part;
        if (c.absent) {
            EXPECT_EQ(bytes.find(c.absent), std::string::npos);
        }
    }
}

// --- Where the file goes --------------------------------------------------------------------

TEST(TechnicalDataFile, NameFollowsTheProjectFilesFolderAndExtension)
{
    struct Case
    {
        const char* project;
        const char* file;
    };
    // clang-format off
    const Case cases[] = {
        {"/p/a.b/Haus",      "/p/a.b/techdaten"},
        {"/p/Haus.alt.kon",  "/p/techdaten.kon"},
        {"Haus.kon",         "techdaten.kon"}, // the current folder, beside the project file
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.project);
        EXPECT_EQ(technicalDataFileFor(c.project).string(), c.file);
    }
}

// --- Writing --------------------------------------------------------------------------------

// A written file replaces the old one whole; a failure names the file. Neither leaves a
// temporary file behind.
TEST(TechnicalDataWriting, ReplacesTheFileOrNamesItInTheFailure)
{
    const fs::path folder = fs::temp_directory_path() / ("tepa-techdata-" + std::to_string(std::random_device()()));
    fs::create_directories(folder);
    const auto filesInFolder = [&] { return std::distance(fs::directory_iterator(folder), fs::directory_iterator()); };
    const fs::path file = folder / "techdaten.kon";
    std::ofstream(file) << std::string(5000, 'x');
    ProjectRecord p = roomOnly();
    setHeatingEntry(p, 0, "WF2");
    const Status written = WriteTechnicalData(file, p);
    ASSERT_TRUE(written.ok()) << written.error();
    std::ifstream in(file, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), TechnicalDataBytes(p));
    EXPECT_EQ(filesInFolder(), 1);

    std::ofstream(folder / "kein Ordner") << "a file";
    fs::create_directory(folder / "ordner.kon"); // a folder cannot be replaced by the file
    for (const fs::path& bad : {folder / "kein Ordner" / "techdaten.kon", folder / "ordner.kon"}) {
        SCOPED_TRACE(bad.string());
        const Status failed = WriteTechnicalData(bad, roomOnly());
        ASSERT_FALSE(failed.ok());
        EXPECT_EQ(failed.error().rfind(bad.string() + ": ", 0), 0u) << failed.error();
    }
    EXPECT_TRUE(fs::is_directory(folder / "ordner.kon"));
    EXPECT_EQ(filesInFolder(), 3);
    fs::remove_all(folder);
}

} // namespace
} // namespace tepa
