// The typed fan setting of a heating fan entry whose bar stands at rest.
#include "CalcWindowFixture.h"

#include "core/productdata/ProductData.h"

#include <QLineEdit>
#include <QScrollBar>

#include <cmath>

namespace tepa::test {
namespace {

class FanSettingInputTest : public CalcWindowFixture
{
protected:
    // A calculated "WF1" heating entry, the window's fan inputs live.
    HeatingEntry& plainFanEntry()
    {
        designRoom();
        create();
        const TypeRecord type = fixtureType("WF1", true);
        HeatingEntry& e = heating(1);
        e.TypeName.setText("WF1");
        e.TypeText1.setText(type.dataLine);
        e.TypeText2.setText(type.fanLine);
        e.Length = std::stod(lengthFields(type.lengthLine).front());
        e.Height = 200;
        e.HeightFactor = 1;
        e.Count = 1;
        e.ReturnTemp = 60;
        e.InUse = true;
        session.Project.HeatingEntryCount = 1;
        form->connectOperatingPointInputs();
        return e;
    }
    void typeSetting(const char* typed)
    {
        form->Edit4->setText(QString::fromLatin1(typed));
        form->Edit4Change();
    }
};

// Below its minimum speed (700 rpm, 50 % of 1400) a plain fan does not run: the planner is told
// once, when the setting first drops there.
TEST_F(FanSettingInputTest, APlainFanSetBelowItsMinimumSaysItRunsWithoutFan)
{
    HeatingEntry& e = plainFanEntry();
    const QString note = form->text(TForm2::FanAtRestText);
    ASSERT_FALSE(note.isEmpty());
    struct Step
    {
        const char* typed;
        double speed;
        bool noted;
    };
    const Step steps[] = {
        {"60", 840, false}, {"45", 630, true}, {"40", 560, false}, {"0", 0, false}, {"49,5", 693, true}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.typed);
        if (step.noted)
            doubles.messages.expect(MessageKind::Message, note);
        typeSetting(step.typed);
        doubles.messages.verifyAllShown();
        EXPECT_DOUBLE_EQ(e.FanSpeed, step.speed);
    }
}

// The bar already stands at 0, so moving it there runs no handler: the speed is only what the
// typed setting gives. Below zero the fan is at rest (0 rpm), never a negative or infinite speed.
TEST_F(FanSettingInputTest, SettingBelowZeroOrTooLargeToReadStopsTheFan)
{
    HeatingEntry& e = plainFanEntry();
    for (const char* typed : {"-1e400", "-5"}) {
        SCOPED_TRACE(typed);
        e.FanSpeed = 0;
        form->DrehzahlBar4->setValue(0);
        form->Edit4->setText(QString::fromLatin1(typed));
        form->Edit4Change();
        EXPECT_EQ(e.FanSpeed, 0);
        EXPECT_TRUE(std::isfinite(e.Output));
    }
}

} // namespace
} // namespace tepa::test
