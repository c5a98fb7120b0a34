#include "MakePictures.h"

#include "ConvectorPictures.h"
#include "PictureNames.h"

#include "core/productdata/ProductData.h"
#include "core/text/TextFile.h"

#include <QImage>
#include <QString>

#include <algorithm>
#include <optional>
#include <system_error>

namespace tepa::pictures {
namespace fs = std::filesystem;

namespace {

constexpr const char* Usage = "usage: make-pictures DATA_DIR [--index konvektoren.txt]\n";

QString qtPath(const fs::path& path)
{
    return QString::fromStdU16String(path.u16string());
}

Status save(const QImage& image, const fs::path& file, const char* format, int quality = -1)
{
    if (!image.save(qtPath(file), format, quality))
        return Error{file.string() + ": cannot be written"};
    return Done{};
}

// A type name becomes a file name as it stands, so it must not reach outside the folder.
bool usableAsFileName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\") == std::string::npos;
}

// Pictures in the folder that no type of the list uses any more; they stay, the caller is told.
std::vector<std::string> unusedPictures(const fs::path& folder, const std::vector<std::string>& typeNames)
{
    std::vector<std::string> unused;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const fs::path& file = entry.path();
        if (file.extension() != TypePictureExtension)
            continue;
        if (std::find(typeNames.begin(), typeNames.end(), file.stem().string()) == typeNames.end())
            unused.push_back(file.filename().string());
    }
    std::sort(unused.begin(), unused.end());
    return unused;
}

} // namespace

Result<std::vector<fs::path>> writePictures(const fs::path& dataDir,
                                            const std::vector<std::string>& typeNames)
{
    for (const std::string& name : typeNames)
        if (!usableAsFileName(name))
            return Error{"type name \"" + name + "\" cannot be used as a file name"};

    const fs::path folder = dataDir / TypePictureFolder;
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec)
        return Error{folder.string() + ": cannot be created (" + ec.message() + ")"};

    std::vector<fs::path> written;
    auto add = [&](const QImage& image, const fs::path& file, const char* format, int quality = -1) {
        Status saved = save(image, file, format, quality);
        if (saved)
            written.push_back(file);
        return saved;
    };
    for (const std::string& name : typeNames)
        if (Status s = add(drawTypePicture(name), folder / (name + TypePictureExtension), "BMP"); !s)
            return Error{s.error()};
    if (Status s = add(drawDefaultPicture(), dataDir / DefaultPictureFileName, "BMP"); !s)
        return Error{s.error()};
    if (Status s = add(drawLogo(), dataDir / LogoFileName, "BMP"); !s)
        return Error{s.error()};
    // Quality 85 keeps the soft gradient free of banding at a few tens of kilobytes.
    if (Status s = add(drawBackground(), dataDir / BackgroundFileName, "JPEG", 85); !s)
        return Error{s.error()};
    return written;
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    std::optional<fs::path> dataDir, index;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            out << Usage;
            return 0;
        }
        if (arg == "--index") {
            if (i + 1 == args.size() || index) {
                err << (index ? "option --index given twice\n" : "option --index needs a file\n") << Usage;
                return 2;
            }
            index = args[++i];
        } else if (arg.starts_with("-") || dataDir) {
            err << "unexpected argument " << arg << "\n" << Usage;
            return 2;
        } else {
            dataDir = arg;
        }
    }
    if (!dataDir) {
        err << Usage;
        return 2;
    }
    std::error_code ec;
    if (!fs::is_directory(*dataDir, ec)) {
        err << dataDir->string() << ": not a folder\n";
        return 1;
    }

    std::vector<std::string> names;
    const fs::path indexFile = index ? *index : *dataDir / TypeIndexFileName;
    if (!index && !fs::exists(indexFile, ec)) {
        // The data folder is being set up: draw the planned types so the program has its
        // pictures; run again once the index is written.
        err << indexFile.string() << " does not exist yet; drawing the planned type names\n";
        names = plannedTypeNames();
    } else {
        auto lines = readTextLines(indexFile);
        if (!lines) {
            err << lines.error() << "\n";
            return 1;
        }
        names = pictureNamesOfIndex(*lines);
        if (names.empty()) {
            err << indexFile.string() << ": no type names after the " << FirstTypeIndexLine
                << " header lines\n";
            return 1;
        }
    }

    auto written = writePictures(*dataDir, names);
    if (!written) {
        err << written.error() << "\n";
        return 1;
    }
    const fs::path folder = *dataDir / TypePictureFolder;
    out << "wrote " << names.size() << " type pictures into " << folder.string() << ":";
    for (const std::string& name : names)
        out << " " << name;
    out << "\nwrote " << DefaultPictureFileName << ", " << LogoFileName << ", " << BackgroundFileName
        << " into " << dataDir->string() << "\n";
    if (const auto unused = unusedPictures(folder, names); !unused.empty()) {
        out << "not in the type list, left in place:";
        for (const std::string& file : unused)
            out << " " << file;
        out << "\n";
    }
    return 0;
}

} // namespace tepa::pictures
