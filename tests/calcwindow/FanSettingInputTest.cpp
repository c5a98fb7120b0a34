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
};

// The bar already stands at 0, so moving it there runs no handler: the speed is only what the
// typed setting gives. Below zero the fan is at rest (0 rpm), never a negative or infinite speed.
TEST_F(FanSettingInputTest, SettingBelowZeroOrTooLargeToReadStopsTheFan)
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
