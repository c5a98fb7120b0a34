#include "core/reports/PrintLayouts.h"

#include "core/reports/ConvectorList.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

// The layouts on a surface without fonts: every printout still ends, and a device without a
// resolution is taken as 300 dpi. Where the texts land is checked on the Qt surface with the
// real font (tests/platform).

namespace tepa {
namespace {

class SurfaceWithoutFonts : public PrintSurface
{
public:
    int verticalDpi() const override { return 0; }
    void setFont(const std::string&, int, bool) override {}
    void drawText(int x, int y, const std::string& text) override
    {
        ++texts, maxX = std::max(maxX, x), maxY = std::max(maxY, y);
        drawn.push_back(text);
    }
    int textWidth(const std::string&) override { return 0; }
    Status loadBitmap(const std::filesystem::path&) override { return Done{}; }
    void drawBitmap(int, int, int, int) override {}
    void newPage() override {}

    int texts = 0, maxX = 0, maxY = 0;
    std::vector<std::string> drawn;
};

// A list line of another shape is printed as its text without the last 4 characters and the
// count from its last 3; the cut counts characters, not bytes, so "°" stays whole.
TEST(PrintLayouts, EndOnASurfaceThatMeasuresNothing)
{
    ProjectRecord p;
    p.RoomCount = 1;
    p.HeatingEntryCount = 1;
    p.HeatingEntries[0].TypeName.setText("WF2");
    const InterfaceTexts texts = InterfaceTexts::fromRawLines({});
    const std::vector<std::string> foreign = {"   Gerät ä°  9", " "};
    for (int printout = 0; printout < 4; ++printout) {
        SurfaceWithoutFonts surface;
        PrintContext context{p, texts, "", "07.12.2026", true};
        const Status done = printout == 0   ? printConvectorList(surface, context, BuildConvectorList(p))
                            : printout == 3 ? printConvectorList(surface, context, foreign)
                                            : printCalculationData(surface, context,
                                                                   printout == 1 ? PrintMode::Heating : PrintMode::Cooling);
        EXPECT_TRUE(done);
        EXPECT_EQ(context.PrintScale, 1.0);
        EXPECT_GT(surface.texts, 10);
        EXPECT_LE(surface.maxX, 2480); // layout units at scale 1: inside the A4 sheet
        EXPECT_LE(surface.maxY, 3508);
        if (printout == 3) {
            const auto at = std::find(surface.drawn.begin(), surface.drawn.end(), "   Gerät ä");
            ASSERT_LT(at + 1, surface.drawn.end());
            EXPECT_EQ(at[1], "9");
        }
    }
}

} // namespace
} // namespace tepa
