#include "CalcWindowFixture.h"

#include "calcwindow/FormControls.h"
#include "core/calculation/CoolingPoint.h"
#include "core/engine/ForcedConvection.h"
#include "core/productdata/ProductData.h"

#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>

namespace tepa::test {
namespace {

class UpdateCycleTest : public CalcWindowFixture
{
protected:
    void SetUp() override
    {
        CalcWindowFixture::SetUp();
        designRoom();
        create();
    }

    // A free W1 convector of 1000 mm: K = 0.7 m · 4.50 · f, n = 1.3.
    HeatingEntry& freeW1(double heightFactor = 1)
    {
        HeatingEntry& e = heating(1);
        const TypeRecord type = fixtureType("W1", false);
        e.TypeName.setText("W1");
        e.TypeText1.setText(type.dataLine);
        e.TypeText2.setText(type.fanLine);
        e.Length = 1000;
        e.Height = 200;
        e.HeightFactor = heightFactor;
        e.FanSpeed = 0;
        e.Count = 1;
        e.FreeConvection = true;
        e.ReturnTemp = 60;
        session.Project.HeatingEntryCount = 1;
        return e;
    }

    // The free W1 convector with its limits, the return temperature or the mass flow held.
    HeatingEntry& freeW1WithLimits(bool massFlowHeld = false, double heightFactor = 1)
    {
        HeatingEntry& e = freeW1(heightFactor);
        control<QRadioButton>(massFlowHeld ? "MS_Schalter" : "TR_Schalter")->setChecked(true);
        form->update_grenzen(1);
        return e;
    }

    CoolingEntry& fanCooler(const char* fileName, const char* name, double length, double speed)
    {
        CoolingEntry& e = cooling(1);
        const TypeRecord type = fixtureType(fileName, true);
        e.TypeName.setText(name);
        e.TypeText1.setText(type.dataLine);
        e.TypeText2.setText(type.fanLine);
        e.Length = length;
        e.Height = 140;
        e.HeightFactor = 1;
        e.FanSpeed = speed;
        e.Count = 1;
        e.ReturnTemp = 18;
        coolingMode();
        session.Project.CoolingEntryCount = 1;
        return e;
    }

    QString labelText(const char* name) { return control<QLabel>(name)->text(); }
    QString editText(const char* name) { return control<QLineEdit>(name)->text(); }
    int sliderValue(const char* name) { return control<QScrollBar>(name)->value(); }
};

// --- Limits and operating point of a heating entry -------------------------------------------
//
// W1, 1000 mm at 75/20 °C: K = 3.15, n = 1.3. The window runs from Tr = 35 °C (m = 6.88 kg/h,
// Q = 320.3 W) to Tr = 74 °C (m = 489.5 kg/h, Q = 569.7 W); at Tr = 60 °C Q = 476.4 W and
// m = 27.29 kg/h.

TEST_F(UpdateCycleTest, LimitsOfAFreeConvectorAreStoredAndShownWithTheHeldQuantity)
{
    HeatingEntry& e = freeW1WithLimits();

    EXPECT_NEAR(e.CoeffK, 3.15, 1e-9);
    EXPECT_NEAR(e.ExponentN, 1.3, 1e-9);
    EXPECT_NEAR(e.EffectiveLength, 700, 1e-9);
    EXPECT_DOUBLE_EQ(e.ReturnTempStart, 35);
    EXPECT_DOUBLE_EQ(e.ReturnTempEnd, 74);
    EXPECT_NEAR(e.MassFlowStart, 6.8806, 1e-3);
    EXPECT_NEAR(e.MassFlowEnd, 489.457, 1e-2);
    EXPECT_NEAR(e.OutputStart, 320.331, 1e-2);
    EXPECT_NEAR(e.OutputEnd, 569.673, 1e-2);
    EXPECT_EQ(form->StatusFlag, 0);

    EXPECT_EQ(labelText("Label9"), QStringLiteral("74"));
    EXPECT_EQ(labelText("Label7"), QStringLiteral("35"));
    EXPECT_EQ(labelText("Label13"), QStringLiteral("489"));
    EXPECT_EQ(labelText("Label12"), QStringLiteral("7"));
    EXPECT_EQ(labelText("Label16"), QStringLiteral("570"));
    EXPECT_EQ(labelText("Label14"), QStringLiteral("320"));
    EXPECT_EQ(labelText("Label28"), QStringLiteral("   0"));
    EXPECT_EQ(session.Project.ReturnTempFixed, 1);
    EXPECT_EQ(session.Project.MassFlowFixed, 0);

    control<QRadioButton>("MS_Schalter")->setChecked(true);
    form->update_grenzen(1);
    EXPECT_EQ(session.Project.ReturnTempFixed, 0);
    EXPECT_EQ(session.Project.MassFlowFixed, 1);
}

TEST_F(UpdateCycleTest, HeldReturnTemperatureGivesOutputMassFlowAndSliders)
{
    session.Project.HeatingDemand = 1000;
    HeatingEntry& e = freeW1WithLimits();
    form->update1(1);

    EXPECT_NEAR(e.Output, 476.444, 1e-2);
    EXPECT_NEAR(e.MassFlow, 27.2904, 1e-3);
    EXPECT_EQ(editText("Edit3"), QStringLiteral("476"));
    EXPECT_EQ(editText("Edit1"), QStringLiteral("60"));
    EXPECT_EQ(editText("Edit2"), QStringLiteral("27"));
    EXPECT_EQ(labelText("Label27"), QString::fromStdString(strFixed(e.PressureDrop, 4, 0)));
    // 100 · 25/39, 100 · 20.41/482.58, 100 · 156.1/249.3
    EXPECT_EQ(sliderValue("ScrollBar1"), 64);
    EXPECT_EQ(sliderValue("ScrollBar2"), 4);
    EXPECT_EQ(sliderValue("ScrollBar3"), 63);
    EXPECT_EQ(form->LastScrollPosition, 63);
    // 1000 − 476.4 still to be installed
    EXPECT_EQ(labelText("Label20"), form->text(51));
    EXPECT_EQ(labelText("Label21"), QStringLiteral("  524"));

    // The output field shows the output once scaled by the height factor.
    HeatingEntry& lower = freeW1WithLimits(false, 0.9);
    form->update1(1);
    EXPECT_NEAR(lower.Output, 0.9 * 476.444, 1e-2);
    EXPECT_EQ(editText("Edit3"), QStringLiteral("429"));
}

TEST_F(UpdateCycleTest, HeldMassFlowGivesReturnTemperature)
{
    HeatingEntry& e = freeW1WithLimits(true);
    e.MassFlow = 27.2904;
    form->update1(1);
    EXPECT_NEAR(e.ReturnTemp, 60, 0.05);
    EXPECT_NEAR(e.Output, 476.4, 0.5);
    EXPECT_EQ(editText("Edit1"), QStringLiteral("60"));
    EXPECT_EQ(editText("Edit2"), QStringLiteral("27"));
}

TEST_F(UpdateCycleTest, OnlyAnArmedCheckRaisesTooSmallMassFlowToTheWindowStart)
{
    HeatingEntry& e = freeW1WithLimits(true);
    e.MassFlow = 3;
    form->update1(1);
    EXPECT_DOUBLE_EQ(e.MassFlow, 3);

    form->MassFlowCheckArmed = true;
    doubles.messages.expect(MessageKind::Message, form->text(96));
    form->update1(1);
    doubles.messages.verifyAllShown();
    EXPECT_NEAR(e.MassFlow, e.MassFlowStart, 1e-12);
    EXPECT_NEAR(e.ReturnTemp, 35, 0.1);
    EXPECT_EQ(sliderValue("ScrollBar2"), 0);
}

TEST_F(UpdateCycleTest, InvertedWindowStopsWithTheNoteAndLeavesTheDisplays)
{
    HeatingEntry& e = freeW1WithLimits();
    // A window stored upside down: the mass flow lies below its start and above its end.
    e.MassFlowStart = 100;
    e.MassFlowEnd = 10;
    control<QLineEdit>("Edit3")->setText(QStringLiteral("unchanged"));
    doubles.messages.expect(MessageKind::Information, form->text(74));
    form->update1(1);
    EXPECT_EQ(editText("Edit3"), QStringLiteral("unchanged"));
}

// --- Sliders ---------------------------------------------------------------------------------

TEST_F(UpdateCycleTest, SlidersAtTheWindowEndsSetWithoutSendingAChange)
{
    HeatingEntry& e = freeW1WithLimits();
    e.ReturnTemp = e.ReturnTempStart;
    form->update1(1);
    EXPECT_EQ(sliderValue("ScrollBar1"), 0);
    EXPECT_EQ(sliderValue("ScrollBar2"), 0);
    EXPECT_EQ(sliderValue("ScrollBar3"), 0);
    QSignalSpy changes(control<QScrollBar>("ScrollBar1"), &QScrollBar::valueChanged);
    e.ReturnTemp = e.ReturnTempEnd;
    form->update1(1);
    EXPECT_EQ(sliderValue("ScrollBar1"), 100);
    EXPECT_EQ(sliderValue("ScrollBar3"), 100);
    EXPECT_EQ(changes.count(), 0);
}

// --- Residual demand -------------------------------------------------------------------------

TEST_F(UpdateCycleTest, ResidualDemandOfTheListedEntriesAtEqualityAndOneWattAbove)
{
    session.Project.HeatingEntryCount = 2;
    heating(1).Count = 2;
    heating(1).Output = 400;
    heating(2).Count = 1;
    heating(2).Output = 200;
    heating(3).Output = 5000; // not listed
    auto* value = control<QLabel>("Label21");

    session.Project.HeatingDemand = 1000;
    form->Restwaerme();
    EXPECT_EQ(labelText("Label20"), form->text(51));
    EXPECT_EQ(value->text(), QStringLiteral("    0"));
    EXPECT_EQ(value->palette().color(QPalette::WindowText), QColor(Qt::black));

    heating(2).Output = 201;
    form->Restwaerme();
    EXPECT_EQ(labelText("Label20"), form->text(140));
    EXPECT_EQ(value->text(), QStringLiteral("    1"));
    EXPECT_EQ(value->palette().color(QPalette::WindowText), formcolours::demandMetGreen());
}

// --- Descriptions and reset --------------------------------------------------------------------

TEST_F(UpdateCycleTest, DescriptionOfAFreeAFanHeatingAndACoolingEntry)
{
    HeatingEntry& e = freeW1();
    e.Count = 3;
    form->update0(1);
    EXPECT_EQ(editText("Edit5"), QStringLiteral(" 3"));
    EXPECT_EQ(control<UpDown>("UpDown1")->value(), 3);
    EXPECT_EQ(labelText("Label17"), form->text(63));
    EXPECT_TRUE(control<QWidget>("Panel6")->isHidden());
    EXPECT_TRUE(control<QLabel>("Label28")->isHidden());
    const QString description = QStringLiteral("W1 ") + form->text(149) + QStringLiteral("[mm] 200 ") +
                                form->text(150) + QStringLiteral("[mm] 1000");
    EXPECT_EQ(labelText("Label5"), description);
    EXPECT_EQ(labelText("Label76"), description);

    e.FreeConvection = false;
    form->update0(1);
    EXPECT_EQ(labelText("Label17"), form->text(64));
    EXPECT_FALSE(control<QWidget>("Panel6")->isHidden());
    EXPECT_FALSE(control<QLabel>("Label23")->isHidden());
    EXPECT_FALSE(control<QLabel>("Label30")->isHidden());

    fanCooler("WFW-2L", "WFW-2L", 1250, 1120).Count = 12;
    form->update0_K(1);
    EXPECT_EQ(editText("Edit9"), QStringLiteral("12"));
    EXPECT_EQ(control<UpDown>("UpDown2")->value(), 12);
    EXPECT_EQ(labelText("Label3"), form->entryDescription("WFW-2L", 140, 1250));
    EXPECT_EQ(labelText("Label76"), labelText("Label3"));
}

// What clearing keeps and empties is the record's business; the window clears the entry it names.
TEST_F(UpdateCycleTest, ResetClearsTheNamedEntry)
{
    HeatingEntry& e = freeW1(0.9);
    form->Nullen(1);
    EXPECT_TRUE(e.TypeName.text().empty());
    EXPECT_DOUBLE_EQ(e.HeightFactor, 0.9);

    CoolingEntry& c = fanCooler("WFW-2L", "WFW-2L", 1250, 1120);
    form->Nullen_K(1);
    EXPECT_TRUE(c.TypeName.text().empty());
    EXPECT_DOUBLE_EQ(c.Height, 140);
}

TEST_F(UpdateCycleTest, LimitCaptionsFollowModeAndSeries)
{
    session.HeatingMode = true;
    heating(1).TypeName.setText("WF2");
    form->Balken_grenzwerte(1);
    EXPECT_EQ(labelText("Label19"), form->text(52));
    EXPECT_EQ(labelText("Label25"), form->text(184));
    heating(1).TypeName.setText("WNF1");
    form->Balken_grenzwerte(1);
    EXPECT_EQ(labelText("Label19"), form->text(179));
    EXPECT_EQ(labelText("Label25"), form->text(183));

    fanCooler("WFW-2L", "WFW-2L", 1250, 1120);
    form->Balken_grenzwerte(1);
    EXPECT_EQ(labelText("Label73"), form->text(184));
    EXPECT_EQ(control<QScrollBar>("ScrollBar4")->minimum(), 700);
    EXPECT_EQ(control<QScrollBar>("ScrollBar4")->maximum(), 1600);

    fanCooler("WNF2", "WNF2", 1350, 0);
    form->Balken_grenzwerte(1);
    EXPECT_EQ(labelText("Label73"), form->text(189));
}

// --- Cooling ---------------------------------------------------------------------------------

// The cooling routines show what the operating point's rules return.
TEST_F(UpdateCycleTest, CoolingRoutinesShowTheOperatingPoint)
{
    CoolingEntry& air = fanCooler("WNF2", "WNF2", 1350, 0);
    control<QLineEdit>("Edit8")->setText(QStringLiteral("77"));
    form->reset4(1);
    EXPECT_DOUBLE_EQ(form->MaxAirFlow, 240);
    EXPECT_EQ(control<QScrollBar>("ScrollBar4")->minimum(), 0);
    EXPECT_EQ(control<QScrollBar>("ScrollBar4")->maximum(), 240);
    EXPECT_EQ(editText("Edit8"), QStringLiteral("0"));
    air.FanSetting = 120;
    form->update1_K(1);
    EXPECT_EQ(editText("Edit8"), QStringLiteral("120"));
    EXPECT_EQ(sliderValue("ScrollBar4"), 120);
    EXPECT_TRUE(control<QWidget>("Panel8")->isHidden());
    EXPECT_DOUBLE_EQ(form->Qmin, 0);
    EXPECT_DOUBLE_EQ(form->Qmax, form->Minmax_K(1, 240));

    CoolingEntry& e = fanCooler("WFW-2L", "WFW-2L", 1250, 1120);
    form->reset4(1);
    CoolingEntry rated = e;
    const calculation::CoolingPointView v = calculation::update1_K(rated, rated, session.Project);
    form->update1_K(1);
    EXPECT_EQ(e, rated);
    EXPECT_EQ(form->StatusFlag, 0);
    EXPECT_DOUBLE_EQ(form->Qmin, v.qmin);
    EXPECT_DOUBLE_EQ(form->Qmax, v.qmax);
    EXPECT_DOUBLE_EQ(form->Qmax, form->Minmax_K(1, 1600));
    EXPECT_EQ(control<QScrollBar>("ScrollBar4")->minimum(), 700);
    EXPECT_EQ(control<QScrollBar>("ScrollBar4")->maximum(), 1600);
    EXPECT_EQ(sliderValue("ScrollBar4"), 1120);
    EXPECT_EQ(editText("Edit8"), QString::fromStdString(v.settingText));
    EXPECT_FALSE(control<QWidget>("Panel8")->isHidden());
    EXPECT_EQ(labelText("Label43"), QString::fromStdString(v.pressureDropText));
    EXPECT_EQ(labelText("Label45"), QString::fromStdString(v.soundLevelText));
    EXPECT_EQ(labelText("Label56"), QString::fromStdString(v.massFlowText));
}

TEST_F(UpdateCycleTest, ReturnTemperatureWithoutResultIsReplacedWithOneNote)
{
    CoolingEntry& e = fanCooler("WFW-2L", "WFW-2L", 1250, 1120);
    // Return equal to the flow: no usable mass flow, and 18 °C fails as well: one note, then
    // the entry stays.
    session.Project.CoolingFlowTemp = e.ReturnTemp = 18;
    control<QLineEdit>("Edit6")->clear();
    doubles.messages.expect(MessageKind::Message, form->text(192));
    form->update1_K(1);
    doubles.messages.verifyAllShown();
    EXPECT_EQ(editText("Edit6"), QStringLiteral("18"));
    EXPECT_EQ(form->StatusFlag, 1);
}

} // namespace
} // namespace tepa::test
