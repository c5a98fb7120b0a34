#pragma once

#include "core/Result.h"

#include <filesystem>
#include <string>

namespace tepa {

// One page-by-page drawing target of a print job: a printer, a PDF file or, in tests, a
// recording. Every position and size is in device units (dots of the device, origin at the top
// left corner of the printable area); the layouts convert from their 1/300-inch layout units.
// Texts are UTF-8.
class PrintSurface
{
public:
    virtual ~PrintSurface() = default;

    // Vertical resolution of the device in dots per inch; the layout scale follows from it.
    virtual int verticalDpi() const = 0;

    // The font of the following texts; it stays in force until the next call.
    virtual void setFont(const std::string& name, int points, bool bold) = 0;
    // Draws `text` with the top left corner of its line box at (x, y).
    virtual void drawText(int x, int y, const std::string& text) = 0;
    // Advance width of `text` in the current font, in device units.
    virtual int textWidth(const std::string& text) = 0;

    // Opens a bitmap file for the next drawBitmap. Failure carries the message of
    // `fileOpenError`.
    virtual Status loadBitmap(const std::filesystem::path& file) = 0;
    // Draws the bitmap last loaded, stretched into the rectangle.
    virtual void drawBitmap(int left, int top, int width, int height) = 0;

    // Ends the current page and begins the next.
    virtual void newPage() = 0;
};

// The wording of the platform's file error for a file that cannot be opened.
inline std::string fileOpenError(const std::filesystem::path& file)
{
    return "Datei " + file.string() + " kann nicht geöffnet werden";
}

} // namespace tepa
