#include "pictures/ConvectorPictures.h"
#include "pictures/MakePictures.h"
#include "pictures/PictureNames.h"

#include "core/productdata/ProductData.h"
#include "core/text/TextFile.h"

#include <gtest/gtest.h>

#include <QtGui>

#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <sstream>

namespace tepa::pictures {
namespace {

namespace fs = std::filesystem;

// The section is everything below the title band (name and caption, 46 px high).
constexpr int TitleBandHeight = 46;

QImage section(const QImage& picture)
{
    return picture.copy(0, TitleBandHeight, picture.width(), picture.height() - TitleBandHeight);
}

TEST(ConvectorPictures, EachSeriesHasItsOwnSectionAndTheNameIsWritten)
{
    const char* names[] = {"W", "WM", "WF", "WFs", "WFW-2", "WFW-4", "WFWL", "WNF", "DWF", "XY"};
    for (std::size_t i = 0; i < std::size(names); ++i)
        for (std::size_t j = i + 1; j < std::size(names); ++j)
            EXPECT_NE(section(drawTypePicture(names[i])), section(drawTypePicture(names[j])))
                << names[i] << " / " << names[j];
    // "W" and "WZ" share the drawing, not the name. The default is no type's picture.
    EXPECT_EQ(section(drawTypePicture("W")), section(drawTypePicture("WZ")));
    EXPECT_NE(drawTypePicture("W"), drawTypePicture("WZ"));
    EXPECT_NE(section(drawDefaultPicture()), section(drawTypePicture("XY")));
    EXPECT_NE(drawDefaultPicture().copy(0, 0, TypePictureWidth, TitleBandHeight),
              drawTypePicture("XY").copy(0, 0, TypePictureWidth, TitleBandHeight));
    for (const std::string& name : plannedTypeNames())
        EXPECT_NE(pictureSpecFor(name).drawing, Drawing::Generic) << name;
}

struct TempDir
{
    fs::path path = fs::temp_directory_path() / ("tepa-pictures-" + std::to_string(std::random_device()()));
    TempDir() { fs::create_directories(path); }
    ~TempDir() { fs::remove_all(path); }
};

void writeBytes(const fs::path& file, const std::string& bytes)
{
    std::ofstream(file, std::ios::binary) << bytes;
}

// Each file below `folder`: a picture's format and size, a BMP's byte count (its colour depth).
std::string listing(const fs::path& folder)
{
    std::set<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        files.insert(fs::relative(entry.path(), folder));
    std::string lines;
    for (const fs::path& file : files) {
        QImageReader reader(QString::fromStdU16String((folder / file).u16string()));
        lines += file.string();
        if (const QSize size = reader.size(); size.isValid())
            lines += " " + reader.format().toStdString() + " " + std::to_string(size.width()) + "x" +
                     std::to_string(size.height());
        if (reader.format() == "bmp")
            lines += " " + std::to_string(fs::file_size(folder / file));
        lines += "\n";
    }
    return lines;
}

TEST(MakePictures, WritesAPictureForEveryNameTheIndexShowsAndKeepsOldOnes)
{
    TempDir dir;
    // Windows-1252, CR LF; header lines give no names. The name runs from column 12 to a blank
    // ("\xC4\xD6\xDC" are three columns); a name shown twice is drawn once.
    writeBytes(dir.path / "konvektoren.txt",
               "Konvektortypen\r\nSpalte 1: Art\r\nSpalten 2-10: Kennungen\r\n"
               "Spalten 11-16: angezeigter Name\r\n---------\r\n"
               "F          W1\r\nZ          WFs\r\nZHW        WFW-4L Vierleiter\r\n"
               "ZHW        DWF Deckengeraet\r\n\r\nF\xC4\xD6\xDC       W\xC4\r\nO          WZ\r\n"
               "F         XWM\r\nF           WX\r\nZHW        WFW-4L Vierleiter, andere Laenge\r\n");
    fs::create_directories(dir.path / "Tepa_Bilder");
    writeBytes(dir.path / "Tepa_Bilder" / "OLD.bmp", "BM");
    std::ostringstream out, err;
    ASSERT_EQ(run({dir.path.string()}, out, err), 0) << err.str();
    EXPECT_EQ(err.str(), "");
    EXPECT_EQ(out.str(),
              "wrote 7 type pictures into " + (dir.path / "Tepa_Bilder").string() +
                  ": W1 WFs WFW-4L DWF WÄ WZ WM\nwrote Image4.bmp, image4.bmp, background.jpg into " +
                  dir.path.string() + "\nnot in the type list, left in place: OLD.bmp\n");
    const std::string bmp = ".bmp bmp 240x180 129654\n", types = "Tepa_Bilder/";
    EXPECT_EQ(listing(dir.path),
              "Image4" + bmp + "Tepa_Bilder\n" + types + "DWF" + bmp + types + "OLD.bmp\n" + types + "W1" +
                  bmp + types + "WFW-4L" + bmp + types + "WFs" + bmp + types + "WM" + bmp + types + "WZ" +
                  bmp + types + "WÄ" + bmp +
                  "background.jpg jpeg 800x600\nimage4.bmp bmp 300x100 90054\nkonvektoren.txt\n");
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
            writeBytes(dir.path / "konvektoren.txt", c.index);
        std::vector<std::string> args = {dir.path.string()};
        args.insert(args.end(), c.extraArgs.begin(), c.extraArgs.end());
        std::ostringstream out, err;
        EXPECT_EQ(run(args, out, err), c.code);
        EXPECT_TRUE(err.str().starts_with(c.errStart) && !err.str().empty()) << err.str();
        EXPECT_EQ(out.str(), "");
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()),
                  c.index.empty() ? 0 : 1);
    }
}

// The installation in data/: a picture for every type its index shows, and the fixed pictures.
TEST(InstalledPictures, EveryShownTypeHasAPictureAndTheFixedPicturesAreReadable)
{
    const fs::path data = fs::path(TEPA_TEST_DATA_DIR).parent_path().parent_path() / "data";
    const auto size = [&](const fs::path& file) {
        return QImage(QString::fromStdU16String((data / file).u16string()), "bmp").size();
    };
    auto lines = readTextLines(data / TypeIndexFileName);
    ASSERT_TRUE(lines) << lines.error();
    const std::vector<std::string> names = pictureNamesOfIndex(*lines);
    ASSERT_FALSE(names.empty());
    for (const std::string& name : names)
        EXPECT_EQ(size(fs::path(TypePictureFolder) / (name + TypePictureExtension)),
                  QSize(TypePictureWidth, TypePictureHeight))
            << name << " (make-pictures " << data << ")";
    EXPECT_EQ(size(DefaultPictureFileName), QSize(TypePictureWidth, TypePictureHeight));
    EXPECT_EQ(size(LogoFileName), QSize(LogoWidth, LogoHeight));
    EXPECT_EQ(QImage(QString::fromStdU16String((data / BackgroundFileName).u16string())).size(),
              QSize(BackgroundWidth, BackgroundHeight));
}

} // namespace
} // namespace tepa::pictures
