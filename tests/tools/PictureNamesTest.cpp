#include "pictures/PictureNames.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tepa::pictures {
namespace {

TEST(PictureNames, TakesTheShownNameFromColumn12ToTheFirstBlank)
{
    struct Case
    {
        const char* line; // UTF-8, as the index reader gives it
        const char* picture;
    };
    // clang-format off
    const Case cases[] = {
        {"F          W", "W"},
        {"ZHW        DWF Deckengeraet", "DWF"},
        // The shown name is the type code after column 11, without the description.
        {"ZHW        WFWL-4L Vierleiter", "WFWL-4L"},
        // Column 11 is dropped whatever it holds.
        {"F         XWM", "WM"},
        // Columns count characters: three umlauts before the name are three columns.
        {"FÄÖÜ       WÄ", "WÄ"},
        {"F           WX", ""},
        {"", ""},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(pictureNameOfIndexLine(c.line), c.picture);
    }
}

TEST(PictureNames, IndexNamesStartAfterTheHeaderAndAppearOnce)
{
    // Header lines with text at column 12 must not give names.
    const std::vector<std::string> lines = {
        "Konvektortypen der Raumdatenauswahl",
        "Spalte 1: O = noch nicht lieferbar",
        "Spalten 2-10: Kennungen",
        "Spalten 11-16: angezeigter Name",
        "------------------------------",
        "F          W",
        "Z          WF",
        "",
        "ZHW        WFW-2L Zweileiter",
        "ZHW        WFW-2L Zweileiter, andere Laenge",
        "O          WZ",
    };
    EXPECT_EQ(pictureNamesOfIndex(lines), (std::vector<std::string>{"W", "WF", "WFW-2L", "WZ"}));
    EXPECT_TRUE(pictureNamesOfIndex(std::vector<std::string>(lines.begin(), lines.begin() + 5)).empty());
}

// Which drawing each series gets shows in the pictures themselves (MakePicturesTest).
TEST(PictureSpec, EveryPlannedNameHasADrawingOfItsSeries)
{
    for (const std::string& name : plannedTypeNames()) {
        SCOPED_TRACE(name);
        EXPECT_NE(pictureSpecFor(name).drawing, Drawing::Generic);
    }
}

} // namespace
} // namespace tepa::pictures
