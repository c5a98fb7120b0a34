#include "core/engine/NominalRating.h"

#include "core/engine/ForcedConvection.h"
#include "core/engine/PressureDrop.h"
#include "core/series/Series.h"
#include "core/text/Numbers.h"

namespace tepa::engine {

OtherModeRating otherModeRating(const OtherModeRatingInput& in)
{
    OtherModeRating r;
    if (!Kuehltyp(in.typeName) || !nominalSpeed(in.typeName)) {
        r.status = 1;
        return r;
    }
    const bool ratesHeating = in.currentMode == Mode::Cooling;
    const Mode ratedMode = ratesHeating ? Mode::Heating : Mode::Cooling;
    NominalInput nominal{.typeName = in.typeName,
                         .lengthMm = in.lengthMm,
                         .dataLine = in.dataLine,
                         .fanLine = in.fanLine,
                         .stage = DwfStage::Rpm1000};
    if (ratesHeating) {
        nominal.Tv = 75, nominal.Tr = 65, nominal.Ti = 20;
    } else {
        nominal.Tv = 16, nominal.Tr = 18, nominal.Ti = 26;
    }
    const NominalResult q = ratesHeating ? Zwang_heizen(nominal) : Zwang_kuehlen(nominal);

    // The pressure drop is rated with heating water in both modes.
    const PressureDropResult dp = Druckverlust({.massFlowKgPerH = q.massFlowKgPerH,
                                                .lengthMm = in.lengthMm,
                                                .Tv = 75,
                                                .Tr = 65,
                                                .typeName = in.typeName,
                                                .dataLine = in.dataLine,
                                                .mode = ratedMode});

    r.showBox = true;
    r.kind = ratesHeating ? RatingKind::Heating : RatingKind::Cooling;
    r.outputW = q.outputW;
    r.massFlowKgPerH = q.massFlowKgPerH;
    r.pressureDropPa = dp.pressureDropPa;
    r.soundLevelDb = q.soundLevelDb;
    r.status = q.status;

    // The "DWF" units are rated at 75 % speed, the others at 70 %: two speed captions.
    const int speedCaption = series::isStaged(in.typeName) ? 227 : 228;
    if (ratesHeating)
        r.captions = {.Label94 = 223,
                      .Label61 = 226,
                      .Label91 = 225,
                      .Label105 = 257,
                      .Label93 = speedCaption,
                      .colour = RatingColour::Red};
    else
        r.captions = {.Label94 = 224,
                      .Label61 = 229,
                      .Label91 = 230,
                      .Label105 = 263,
                      .Label93 = speedCaption,
                      .colour = RatingColour::Blue};
    return r;
}

RatingDisplay ratingDisplay(const OtherModeRating& rating)
{
    if (rating.kind == RatingKind::None)
        return {};
    const int pressureDigits = rating.kind == RatingKind::Heating ? 4 : 5;
    return {.Label86 = fixedDigits(rating.massFlowKgPerH, 3, 0),
            .Label88 = fixedDigits(rating.pressureDropPa, pressureDigits, 0),
            .Label90 = fixedDigits(rating.soundLevelDb, 3, 0),
            .Label92 = fixedDigits(rating.outputW, 5, 0)};
}

} // namespace tepa::engine
