#include "pictures/MakePictures.h"

#include "pictures/ConvectorPictures.h"
#include "pictures/PictureNames.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QImageReader>

#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>

namespace tepa::pictures {
namespace {
namespace fs = std::filesystem;

// A fresh folder below the system's temporary folder, removed with the object.
struct TempDir
{
    fs::path dir = fs::temp_directory_path() / ("tepa-pictures-" + std::to_string(std::random_device()()));
    TempDir() { fs::create_directories(dir); }
    ~TempDir() { fs::remove_all(dir); }
    const fs::path& path() const { return dir; }
};

void writeBytes(const fs::path& file, const std::string& bytes)
{
    std::ofstream(file, std::ios::binary) << bytes;
}

// A type index as the installation holds it: Windows-1252, CR LF. "\xC4" is Ä.
const std::string SmallIndex = "Konvektortypen\r\n"
                               "Spalte 1: Art\r\n"
                               "Spalten 2-10: Kennungen\r\n"
                               "Spalten 11-16: angezeigter Name\r\n"
                               "--------------------------------\r\n"
                               "F          W1\r\n"
                               "F          WM\r\n"
                               "Z          WFs\r\n"
                               "ZHW        WFW-4L Vierleiter\r\n"
                               "ZHW        WNF2\r\n"
                               "ZHW        DWF Deckengeraet\r\n"
                               "F          W\xC4\r\n"
                               "O          WZ\r\n";
const std::set<std::string> SmallIndexPictures = {"W1.bmp",   "WM.bmp",  "WFs.bmp", "WFW-4L.bmp",
                                                  "WNF2.bmp", "DWF.bmp", "WÄ.bmp",  "WZ.bmp"};

struct RunResult
{
    int code = 0;
    std::string out, err;
};

RunResult runTool(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int code = run(args, out, err);
    return {code, out.str(), err.str()};
}

std::set<std::string> filesIn(const fs::path& folder)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

QImage readImage(const fs::path& file, const QByteArray& expectedFormat)
{
    QImageReader reader(QString::fromStdU16String(file.u16string()));
    EXPECT_EQ(reader.format().toStdString(), expectedFormat.toStdString()) << file;
    return reader.read();
}

// A 24-bit BMP of the given size (bits per pixel at offset 28 of the info header).
void expectBmp(const fs::path& file, int width, int height)
{
    SCOPED_TRACE(file.string());
    EXPECT_EQ(readImage(file, "bmp").size(), QSize(width, height));
    std::ifstream in(file, std::ios::binary);
    char header[30] = {};
    in.read(header, sizeof header);
    EXPECT_EQ(std::string(header, 2), "BM");
    EXPECT_EQ(header[28], 24);
    EXPECT_EQ(header[29], 0);
}

TEST(MakePictures, WritesAPictureForEveryNameTheIndexShowsAndKeepsOldOnes)
{
    TempDir dir;
    writeBytes(dir.path() / "konvektoren.txt", SmallIndex);
    fs::create_directories(dir.path() / "Tepa_Bilder");
    writeBytes(dir.path() / "Tepa_Bilder" / "OLD.bmp", "BM");

    const RunResult r = runTool({dir.path().string()});
    ASSERT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_NE(r.out.find("not in the type list, left in place: OLD.bmp\n"), std::string::npos) << r.out;
    std::set<std::string> expected = SmallIndexPictures;
    expected.insert("OLD.bmp");
    EXPECT_EQ(filesIn(dir.path() / "Tepa_Bilder"), expected);
    for (const std::string& file : SmallIndexPictures)
        expectBmp(dir.path() / "Tepa_Bilder" / fs::path(file), TypePictureWidth, TypePictureHeight);
    expectBmp(dir.path() / "Image4.bmp", TypePictureWidth, TypePictureHeight);
    expectBmp(dir.path() / "image4.bmp", LogoWidth, LogoHeight);
    EXPECT_EQ(readImage(dir.path() / "background.jpg", "jpeg").size(), QSize(800, 600));
}

TEST(MakePictures, FailsWithoutWritingAnything)
{
    struct Case
    {
        const char* what;
        std::vector<std::string> extraArgs; // after the data folder
        std::string index;                  // written as konvektoren.txt when not empty
        int code;
        std::string errStart;
    };
    const Case cases[] = {
        {"named index missing", {"--index", "/nonexistent/konvektoren.txt"}, "", 1, "Datei "},
        {"index without type lines", {}, "a\r\nb\r\nc\r\nd\r\ne\r\n", 1, ""},
        {"type name with a slash", {}, "1\r\n2\r\n3\r\n4\r\n5\r\nF          W/1\r\n", 1, "type name \"W/1\""},
        {"unknown option", {"--size", "3"}, "", 2, "unexpected argument --size"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        if (!c.index.empty())
            writeBytes(dir.path() / "konvektoren.txt", c.index);
        std::vector<std::string> args = {dir.path().string()};
        args.insert(args.end(), c.extraArgs.begin(), c.extraArgs.end());

        const RunResult r = runTool(args);
        EXPECT_EQ(r.code, c.code);
        EXPECT_EQ(r.err.substr(0, c.errStart.size()), c.errStart);
        EXPECT_FALSE(r.err.empty());
        EXPECT_EQ(r.out, "");
        EXPECT_FALSE(fs::exists(dir.path() / "Tepa_Bilder"));
        EXPECT_FALSE(fs::exists(dir.path() / "Image4.bmp"));
    }
}

// The section is everything below the title band (name and caption, 46 px high).
constexpr int TitleBandHeight = 46;

QImage section(const QImage& picture)
{
    return picture.copy(0, TitleBandHeight, picture.width(), picture.height() - TitleBandHeight);
}
QImage titleBand(const QImage& picture)
{
    return picture.copy(0, 0, picture.width(), TitleBandHeight);
}

TEST(ConvectorPictures, EachSeriesHasItsOwnSection)
{
    const char* names[] = {"W", "WM", "WF", "WFs", "WFW-2", "WFW-4", "WFWL", "WNF", "DWF", "XY"};
    for (std::size_t i = 0; i < std::size(names); ++i)
        for (std::size_t j = i + 1; j < std::size(names); ++j) {
            SCOPED_TRACE(std::string(names[i]) + " / " + names[j]);
            EXPECT_NE(section(drawTypePicture(names[i])), section(drawTypePicture(names[j])));
        }
}

TEST(ConvectorPictures, NameIsWrittenOnThePictureAndTheDefaultIsNoTypePicture)
{
    // "W" and "WZ" share the drawing; only the written name tells them apart.
    const QImage wz = drawTypePicture("WZ");
    EXPECT_EQ(section(drawTypePicture("W")), section(wz));
    EXPECT_NE(titleBand(drawTypePicture("W")), titleBand(wz));
    EXPECT_NE(section(drawDefaultPicture()), section(drawTypePicture("XY")));
    EXPECT_NE(titleBand(drawDefaultPicture()), titleBand(drawTypePicture("XY")));
}

} // namespace
} // namespace tepa::pictures
