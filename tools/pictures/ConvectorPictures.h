#pragma once

#include "PictureNames.h"

#include <QImage>

#include <string_view>

namespace tepa::pictures {

// Picture sizes in pixels. The type pictures fill the main window's picture box; the logo
// is scaled onto the letterhead; the background is stretched behind the main window.
constexpr int TypePictureWidth = 240;
constexpr int TypePictureHeight = 180;
constexpr int LogoWidth = 300;
constexpr int LogoHeight = 100;
constexpr int BackgroundWidth = 800;
constexpr int BackgroundHeight = 600;

// Each needs a QGuiApplication for its fonts. The pictures are RGB32, so a BMP of them is
// written with 24 bits per pixel.

// Schematic cross-section of the type's series with the type name written above it.
QImage drawTypePicture(std::string_view typeName);
// A grey generic convector with "?" and "kein Bild", for a type without a picture.
QImage drawDefaultPicture();
// Convector symbol and the letters "ORVA" on white.
QImage drawLogo();
// Soft light gradient with faint drawing-paper lines and convector outlines.
QImage drawBackground();

} // namespace tepa::pictures
