#include "core/reports/TechnicalData.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

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

TEST(TechnicalDataBytes, EntryWithoutTypeWritesWhatItHolds)
{
    ProjectRecord p = roomOnly();
    p.HeatingEntryCount = 2;
    setHeatingEntry(p, 0, "WF2");
    // The second entry has been opened but no type chosen: everything zero, and no fan series,
    // so the fan speed reads 0 %.
    const std::string bytes = TechnicalDataBytes(p);
    EXPECT_NE(bytes.find("Anzahl Konv.-Typen:\t2\t \r\n"), std::string::npos);
    EXPECT_NE(bytes.find("\r\nKonvektor-Typ::\t\t \r\nH\xF6he:\t  0\t mm\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("Wassermassenstrom:\t  0\t kg/h\r\nGebl\xE4sedrehzahl:\t   0\t %\r\n"),
              std::string::npos);
    const std::string tail = "K\xFChlleistung:\t    0\t W\r\n\r\n";
    EXPECT_EQ(bytes.substr(bytes.size() - tail.size()), tail);
}

TEST(TechnicalDataBytes, NamesFromADamagedFileCannotBreakTheLinesOrFields)
{
    // A project file can hold any bytes in its names; the reader splits lines at CR LF and
    // fields at TAB, so those characters are written as blanks.
    ProjectRecord p = roomOnly();
    p.RoomName.setText("A\r\nB\tC\rD\n");
    setHeatingEntry(p, 0, "WF\t2\r\n");
    setCoolingEntry(p, 0, "W\nFW\r");
    const std::string bytes = TechnicalDataBytes(p);
    EXPECT_NE(bytes.find("\r\nRaumbezeichnung:   A  B C D \r\n"), std::string::npos);
    EXPECT_NE(bytes.find("\r\nKonvektor-Typ::\tWF 2  \t \r\n"), std::string::npos);
    EXPECT_NE(bytes.find("\r\nKonvektor-Typ:\tW FW \t \r\n"), std::string::npos);
}

TEST(TechnicalDataBytes, PrimaryAirTypesWriteTheAirFlowInsteadOfWaterAndFan)
{
    ProjectRecord p = roomOnly();
    setHeatingEntry(p, 0, "WNF2");
    setCoolingEntry(p, 0, "WNF1");
    const std::string bytes = TechnicalDataBytes(p);
    EXPECT_NE(bytes.find("Anzahl:\t2\t \r\nVolumenstrom:\t120\t \r\nWasserseitiger Druckverlust:\t  413"),
              std::string::npos);
    EXPECT_NE(bytes.find("Anzahl:\t1\t \r\nVolumenstrom:\t 95\tkg/h\r\nWasserseitiger Druckverlust\t 3100"),
              std::string::npos);
    EXPECT_EQ(bytes.find("Gebl\xE4sedrehzahl:\t"), std::string::npos); // no fan speed anywhere
}

TEST(TechnicalDataBytes, FanSpeedIsAPercentageOfTheSeriesTopSpeed)
{
    struct Case
    {
        const char* type;
        double fanSpeed;
        const char* percent;
    };
    // clang-format off
    const Case cases[] = {
        {"WFW-4L", 1600, " 100"}, // 16
        {"WFWL-2", 1150, " 100"}, // 11.5: "WFWL" comes after "WFW"
        {"DWF3",   1400, " 100"}, // 14: "DWF" comes last
        {"WF2",     707, "  51"}, // 50.5 rounded away from zero
        {"W1",     1400, "   0"}, // no fan series: 0, never the mass flow again
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        ProjectRecord p = roomOnly();
        setHeatingEntry(p, 0, c.type);
        p.HeatingEntries[0].FanSpeed = c.fanSpeed;
        const std::string expected = "\r\nWassermassenstrom:\t 69\t kg/h\r\nGebl\xE4sedrehzahl:\t" +
                                     std::string(c.percent) + "\t %\r\nWasserseitiger";
        EXPECT_NE(TechnicalDataBytes(p).find(expected), std::string::npos);
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

class TechnicalDataWriting : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::random_device seed;
        folder = fs::temp_directory_path() / ("tepa-techdata-" + std::to_string(seed()));
        fs::create_directories(folder);
    }
    void TearDown() override
    {
        std::error_code ec;
        fs::remove_all(folder, ec);
    }

    static std::string readAll(const fs::path& file)
    {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::size_t filesInFolder() const
    {
        return static_cast<std::size_t>(
            std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
    }

    fs::path folder;
};

TEST_F(TechnicalDataWriting, ReplacesAnExistingFileWithTheWholeText)
{
    const fs::path file = folder / "techdaten.kon";
    std::ofstream(file) << std::string(5000, 'x');
    ProjectRecord p = roomOnly();
    setHeatingEntry(p, 0, "WF2");

    const Status written = WriteTechnicalData(file, p);
    ASSERT_TRUE(written.ok()) << written.error();
    EXPECT_EQ(readAll(file), TechnicalDataBytes(p));
    EXPECT_EQ(filesInFolder(), 1u); // no temporary file left behind
}

TEST_F(TechnicalDataWriting, FailureNamesTheFileAndLeavesNothingBehind)
{
    std::ofstream(folder / "kein Ordner") << "a file";
    // A folder standing where the file should go cannot be replaced by it.
    fs::create_directory(folder / "techdaten.kon");
    const fs::path cases[] = {folder / "kein Ordner" / "techdaten.kon", folder / "techdaten.kon"};
    for (const fs::path& file : cases) {
        SCOPED_TRACE(file.string());
        const Status written = WriteTechnicalData(file, roomOnly());
        ASSERT_FALSE(written.ok());
        EXPECT_EQ(written.error().rfind(file.string() + ": ", 0), 0u) << written.error();
    }
    EXPECT_TRUE(fs::is_directory(folder / "techdaten.kon"));
    EXPECT_EQ(filesInFolder(), 2u);
}

} // namespace
} // namespace tepa
