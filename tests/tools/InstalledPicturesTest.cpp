#include "pictures/ConvectorPictures.h"
#include "pictures/PictureNames.h"

#include "core/productdata/ProductData.h"
#include "core/text/TextFile.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QImageReader>

#include <filesystem>

namespace tepa::pictures {
namespace {
namespace fs = std::filesystem;

// The installation folder of the repository, beside tests/.
fs::path installedDataDir()
{
    return fs::path(TEPA_TEST_DATA_DIR).parent_path().parent_path() / "data";
}

QImage readImage(const fs::path& file, const QByteArray& format)
{
    QImageReader reader(QString::fromStdU16String(file.u16string()), format);
    return reader.read();
}

TEST(InstalledPictures, EveryShownTypeHasAPicture)
{
    const fs::path data = installedDataDir();
    const fs::path index = data / TypeIndexFileName;
    std::vector<std::string> names = plannedTypeNames();
    if (fs::exists(index)) {
        auto lines = readTextLines(index);
        ASSERT_TRUE(lines) << lines.error();
        names = pictureNamesOfIndex(*lines);
        ASSERT_FALSE(names.empty());
    }
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const fs::path file = data / TypePictureFolder / (name + TypePictureExtension);
        EXPECT_FALSE(readImage(file, "bmp").isNull()) << file << " (make-pictures " << data << ")";
    }
}

TEST(InstalledPictures, DefaultPictureLogoAndBackgroundAreReadable)
{
    const fs::path data = installedDataDir();
    EXPECT_EQ(readImage(data / DefaultPictureFileName, "bmp").size(),
              QSize(TypePictureWidth, TypePictureHeight));
    EXPECT_EQ(readImage(data / LogoFileName, "bmp").size(), QSize(LogoWidth, LogoHeight));
    EXPECT_EQ(readImage(data / BackgroundFileName, "jpeg").size(), QSize(BackgroundWidth, BackgroundHeight));
}

} // namespace
} // namespace tepa::pictures
