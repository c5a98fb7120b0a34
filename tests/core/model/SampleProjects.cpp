#include "SampleProjects.h"

#include "core/model/ProjectCodec.h"
#include "core/model/ProjectReset.h"

#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>

namespace tepa {

void PrintTo(const ProjectRecord& record, std::ostream* out)
{
    std::uint32_t checksum = 2166136261u; // FNV-1a
    for (std::byte b : ProjectCodec::encode(record))
        checksum = (checksum ^ static_cast<std::uint8_t>(b)) * 16777619u;
    *out << "{Title \"" << record.Title.text() << "\", RoomName \"" << record.RoomName.text()
         << "\", HeatingEntryCount " << record.HeatingEntryCount << ", CoolingEntryCount "
         << record.CoolingEntryCount << ", RoomCount " << record.RoomCount << ", image checksum " << std::hex
         << checksum << std::dec << "}";
}

} // namespace tepa

namespace tepa::test {

ProjectRecord newProject()
{
    ProjectRecord record;
    resetForNewProject(record, FixtureDate);
    return record;
}

ProjectRecord sampleProject()
{
    ProjectRecord r = newProject();
    r.Title.setText("Bürogebäude Nordring 12");
    r.Number.setText("P-2025-117");
    r.DataLines[0].setText("Bauherr: Stadtwerke Lindenau");
    r.DataLines[1].setText("Planer: Ingenieurbüro Kessler");
    r.DataLines[6].setText("Stand: Entwurf");
    r.RemarkLines[0].setText("Konvektoren unter den Fensterbänken.");
    r.RemarkLines[2].setText("Vorlauf 70 °C laut Heizungsplanung.");
    r.Attachments[0].setText("C:\\ORVA\\Projekte\\Nordring\\Grundriss 2.OG.pdf");
    r.Attachments[1].setText("C:\\ORVA\\Projekte\\Nordring\\Heizlast.xls");

    r.RoomName.setText("Besprechung 2.1");
    r.HeatingDemand = 2400;
    r.CoolingDemand = 1800;
    r.HeatingFlowTemp = 70;
    r.CoolingHumidity = 50;
    r.HeatingEntryCount = 2;
    r.CoolingEntryCount = 1;
    r.ReturnTempFixed = 1;
    r.MassFlowFixed = 0;

    // Mass flows from m = Q / (c * (Tv - Tr)) with c = 1.163 Wh/(kg K).
    HeatingEntry& free = r.HeatingEntries[0];
    free.TypeName.setText("W2");
    free.Length = 1200;
    free.Height = 500;
    free.HeightFactor = 1;
    free.EffectiveLength = 1100;
    free.Count = 2;
    free.TypeText1.setText("W2   0.0685 1.32 500");
    free.CoeffK = 6.85;
    free.ExponentN = 1.32;
    free.ReturnTemp = 55;
    free.Output = 1200;
    free.MassFlow = 68.8;
    free.PressureDrop = 35.2;
    free.FreeConvection = true;
    free.FreeConvectionB = true;
    free.ReturnTempStart = 30;
    free.ReturnTempEnd = 69;
    free.InUse = true;

    HeatingEntry& fan = r.HeatingEntries[1];
    fan.TypeName.setText("WFW");
    fan.Length = 1000;
    fan.Height = 200;
    fan.HeightFactor = 1;
    fan.EffectiveLength = 800;
    fan.FanSpeed = 900;
    fan.FanSetting = 56.25;
    fan.Count = 1;
    fan.TypeText1.setText("WFW  ZK 1000");
    fan.TypeText2.setText("700 1600 38.5");
    fan.CoeffK = 21.4;
    fan.ExponentN = 1.05;
    fan.ReturnTemp = 60;
    fan.Output = 1250;
    fan.MassFlow = 107.5;
    fan.PressureDrop = 1480;
    fan.SoundLevel = 31.5;
    fan.FreeConvection = false;
    fan.FreeConvectionB = false;
    fan.CoolingNominalOutput = 640;
    fan.InUse = true;

    CoolingEntry& cool = r.CoolingEntries[0];
    cool.TypeName.setText("WFW");
    cool.Length = 1000;
    cool.Height = 200;
    cool.HeightFactor = 1;
    cool.EffectiveLength = 800;
    cool.FanSpeed = 1200;
    cool.FanSetting = 75;
    cool.Count = 3;
    cool.ReturnTemp = 18;
    cool.Output = 600;
    cool.MassFlow = 258.0;
    cool.PressureDrop = 5210;
    cool.SoundLevel = 36;
    cool.HeatingNominalOutput = 1730;
    cool.InUse = true;

    r.CalculationDone = true;
    r.HeatingInUse = true;
    r.CoolingInUse = true;
    return r;
}

std::filesystem::path testDataDir()
{
    return TEPA_TEST_DATA_DIR;
}

std::vector<std::byte> readFileBytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot open " + file.string());
    std::vector<char> chars((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const auto bytes = std::as_bytes(std::span(chars));
    return {bytes.begin(), bytes.end()};
}

void writeFileBytes(const std::filesystem::path& file, std::span<const std::byte> bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + file.string());
}

std::vector<std::byte> bytesOf(std::initializer_list<int> values)
{
    std::vector<std::byte> bytes;
    for (int v : values)
        bytes.push_back(static_cast<std::byte>(v));
    return bytes;
}

std::vector<std::byte> slice(std::span<const std::byte> image, std::size_t offset, std::size_t size)
{
    const auto part = image.subspan(offset, size);
    return {part.begin(), part.end()};
}

void put(std::vector<std::byte>& image, std::size_t offset, std::span<const std::byte> bytes)
{
    std::copy(bytes.begin(), bytes.end(), image.begin() + static_cast<std::ptrdiff_t>(offset));
}

TempDir::TempDir()
{
    std::random_device seed;
    m_path = std::filesystem::temp_directory_path() /
             ("tepa-model-" + std::to_string(seed()) + std::to_string(seed()));
    std::filesystem::create_directories(m_path);
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(m_path, ec);
}

} // namespace tepa::test
