#pragma once

#include "core/engine/EngineCommon.h"

#include <string>
#include <string_view>

namespace tepa::engine {

// Which rating the convector information box shows: the heating rating (75/65/20 °C) of a
// convector calculated for cooling, the cooling rating (16/18/26 °C) of one calculated for
// heating, or none.
enum class RatingKind
{
    None,
    Heating,
    Cooling,
};

enum class RatingColour
{
    Red,  // heating rating
    Blue, // cooling rating
};

// Interface text line numbers for the captions of the box, by the label that shows them;
// `colour` is the colour of Label94 and Label61. All zero when no rating is shown.
struct RatingCaptions
{
    int Label94 = 0;
    int Label61 = 0;
    int Label91 = 0;
    int Label105 = 0;
    int Label93 = 0;
    RatingColour colour = RatingColour::Red;
};

struct OtherModeRatingInput
{
    std::string_view typeName;
    double lengthMm = 0; // nominal length [mm]
    std::string_view dataLine;
    std::string_view fanLine;
    Mode currentMode = Mode::Heating; // the mode the convector is being calculated for
};

struct OtherModeRating
{
    bool showBox = false; // a series that can cool and has a rating speed
    RatingKind kind = RatingKind::None;
    double outputW = 0;        // Q [W]
    double massFlowKgPerH = 0; // m [kg/h]
    double pressureDropPa = 0; // dp [Pa] at the rating's mass flow, water 75/65 °C
    double soundLevelDb = 0;   // LpA [dB(A)]
    int status = 0;            // status of the output law; 1 also when no rating is defined
    RatingCaptions captions;
};

// Rating of a convector in the mode other than the one it is calculated for, as the
// "Konvektor-Information" box shows it and the entry keeps it for the other mode's totals.
//   In cooling: Zwang_heizen at 75/65/20 °C. In heating: Zwang_kuehlen at 16/18/26 °C.
//   Both at the rating speed of the series, with "DWF" units at stage 1000, and the pressure
//   drop by Druckverlust for the nominal length with the rated mode's tube data.
// The box is shown for the series Kuehltyp admits. "WNF" units have no rating speed: no rating
// is defined for them (box hidden, values 0, status 1), nor for series that cannot cool.
OtherModeRating otherModeRating(const OtherModeRatingInput& in);

// Display texts of the box: Label86 mass flow and Label90 sound level with 3 significant
// digits, Label92 output with 5, Label88 pressure drop with 4 (heating rating) or 5 (cooling
// rating), all without decimals. Empty when no rating is shown.
struct RatingDisplay
{
    std::string Label86; // M [kg/h]
    std::string Label88; // dp [Pa]
    std::string Label90; // LpA [dB]
    std::string Label92; // Q [W]
};
RatingDisplay ratingDisplay(const OtherModeRating& rating);

} // namespace tepa::engine
