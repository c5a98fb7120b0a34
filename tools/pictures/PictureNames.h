#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tepa::pictures {

// Where the program looks for its pictures, relative to its data folder.
constexpr const char* TypePictureFolder = "Tepa_Bilder";
constexpr const char* TypePictureExtension = ".bmp";
constexpr const char* DefaultPictureFileName = "Image4.bmp"; // shown when a type has no picture
constexpr const char* LogoFileName = "image4.bmp";           // letterhead on neutral paper
constexpr const char* BackgroundFileName = "background.jpg"; // main window background

// The picture name of one type index line (UTF-8, as readTextLines gives it): the shown name
// (characters 11-16) without its first character, up to the first blank. Empty when the line
// shows no name.
std::string pictureNameOfIndexLine(std::string_view line);

// The picture names of a whole type index: one per type line from line 5 on, in file order,
// each once, lines without a name left out.
std::vector<std::string> pictureNamesOfIndex(const std::vector<std::string>& lines);

// The type names the type list is planned to show, for a data folder whose index is not
// written yet.
std::vector<std::string> plannedTypeNames();

// Which cross-section a type picture shows.
enum class Drawing
{
    FreeTrench,       // "W", "W1".."W4": finned tube in a floor trench, no fan
    FreeTrenchMedium, // "WM"
    FreeTrenchLarge,  // "WX"
    FanTrench,        // "WF", "WF1".."WF3": trench with a cross-flow fan
    SlimFanTrench,    // "WFs"
    FanCoil,          // "WFW": heating and cooling, condensate tray
    FanCoilLowSpeed,  // "WFWL"
    PrimaryAir,       // "WNF": nozzles induce room air over the coil
    FixedStageFan,    // "DWF": fan unit with three fixed stages
    Generic,          // a name of none of these series
};

struct PictureSpec
{
    Drawing drawing = Drawing::Generic;
    int sizeNumber = 0; // digit right after the series code ("W3" -> 3), 0 when there is none
    int pipeCount = 0;  // 2 or 4 after "-" ("WFW-4"), 0 when the name does not say
};

// Chooses the drawing by series code. Codes that contain a shorter code are tried first:
// "WNF" and "DWF" before "WF", "WFWL" before "WFW", "WFs" before "WF".
PictureSpec pictureSpecFor(std::string_view typeName);

} // namespace tepa::pictures
