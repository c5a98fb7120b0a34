#include "core/reports/TechnicalData.h"

#include "core/model/ProjectCodec.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <span>
#include <string>
#include <vector>

// Expected bytes are Windows-1252: \xE4 = "ä", \xF6 = "ö", \xFC = "ü", \xB0 = "°".

namespace tepa {
namespace {

namespace fs = std::filesystem;

// tests/data/reports/techdaten-room.kon: room "Büro 1" with a WF2 heating entry (50 % of the
// series' 1400 rpm) and a WFW-2L cooling entry (75 % of 1600 rpm), both in use.
// techdaten-both-lists.txt is its whole file, written out from the format's table by hand.
ProjectRecord room()
{
    std::ifstream in(TEPA_TEST_DATA_DIR "/reports/techdaten-room.kon", std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    return ProjectCodec::decode(std::as_bytes(std::span(bytes))).value();
}

std::string goldenFile()
{
    std::ifstream in(TEPA_TEST_DATA_DIR "/techdaten-both-lists.txt", std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
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
        bool heatingEntry, coolingEntry, coolingFlag;
        std::string expected;
    };
    const Case cases[] = {
        {"neither list in use", false, false, false, head},
        // The heating section ends with an empty line, the cooling section without one.
        {"heating only", true, false, false, golden.substr(0, cooling)},
        {"both, heating first", true, true, false, golden},
        // The list's flag writes the section also when its first entry is not in use.
        {"cooling flag only", false, false, true, head + golden.substr(cooling)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ProjectRecord p = room();
        p.HeatingEntries[0].InUse = c.heatingEntry;
        p.CoolingEntries[0].InUse = c.coolingEntry;
        p.CoolingInUse = c.coolingFlag;
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
                        p.HeatingEntries[0].TypeName.setText(type);
                        p.HeatingEntries[0].FanSpeed = rpm;
                    },
                    {"\r\nWassermassenstrom:\t 69\t kg/h\r\nGebl\xE4sedrehzahl:\t" + std::string(percent) +
                     "\t %\r\nWasserseitiger"}};
    };
    const Case cases[] = {
        // An entry opened without a type: everything zero, and no fan series, so 0 %.
        {"entry without type",
         [](ProjectRecord& p) { p.HeatingEntryCount = 2; },
         {"Anzahl Konv.-Typen:\t2\t \r\n", "\r\nKonvektor-Typ::\t\t \r\nH\xF6he:\t  0\t mm\r\n",
          "Wassermassenstrom:\t  0\t kg/h\r\nGebl\xE4sedrehzahl:\t   0\t %\r\n",
          "K\xFChlleistung:\t    0\t W\r\n\r\n"}},
        // A project file can hold any bytes in its names; the reader splits lines at CR LF and
        // fields at TAB, so those characters are written as blanks.
        {"names from a damaged file",
         [](ProjectRecord& p) {
             p.RoomName.setText("A\r\nB\tC\rD\n");
             p.HeatingEntries[0].TypeName.setText("WF\t2\r\n");
             p.CoolingEntries[0].TypeName.setText("W\nFW\r");
         },
         {"\r\nRaumbezeichnung:   A  B C D \r\n", "\r\nKonvektor-Typ::\tWF 2  \t \r\n",
          "\r\nKonvektor-Typ:\tW FW \t \r\n"}},
        // Primary-air types write the air flow instead of water and fan.
        {"primary air",
         [](ProjectRecord& p) {
             p.HeatingEntries[0].TypeName.setText("WNF2");
             p.CoolingEntries[0].TypeName.setText("WNF1");
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
        ProjectRecord p = room();
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

// A written file replaces the old one whole and leaves no temporary file behind; a folder is
// not replaced, and the failure names the file (other failures through the command line).
TEST(TechnicalDataWriting, ReplacesTheFileOrNamesItInTheFailure)
{
    const fs::path folder = fs::temp_directory_path() / ("tepa-techdata-" + std::to_string(std::random_device()()));
    fs::create_directories(folder / "ordner.kon");
    const fs::path file = folder / "techdaten.kon";
    std::ofstream(file) << std::string(5000, 'x');
    const ProjectRecord p = room();
    const Status written = WriteTechnicalData(file, p);
    ASSERT_TRUE(written.ok()) << written.error();
    std::ifstream in(file, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), TechnicalDataBytes(p));
    const Status failed = WriteTechnicalData(folder / "ordner.kon", p);
    ASSERT_FALSE(failed.ok());
    EXPECT_EQ(failed.error().rfind((folder / "ordner.kon").string() + ": ", 0), 0u) << failed.error();
    EXPECT_TRUE(fs::is_directory(folder / "ordner.kon"));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);
    fs::remove_all(folder);
}

} // namespace
} // namespace tepa
