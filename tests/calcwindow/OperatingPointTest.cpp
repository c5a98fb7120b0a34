#include "CalcWindowFixture.h"

#include "core/calculation/HeatingFan.h"
#include "core/text/Numbers.h"

#include <cmath>

namespace tepa::test {
namespace {

class OperatingPointTest : public CalcWindowFixture
{
protected:
    void SetUp() override
    {
        CalcWindowFixture::SetUp();
        designRoom();
        session.Project.HeatingEntryCount = session.Project.CoolingEntryCount = 1;
        session.CentreReturnTemp = true;
    }

    // Opens a window and prepares the operating point of `type` (first length unless given).
    void prepare(const char* menu, const QString& type, int lengthRow = 0)
    {
        create().show();
        chooseType(menu, type, lengthRow);
    }
};

// Each slider and field of the heating operating point reaches the rules (tested in the core),
// and what they return reaches the fields, sliders, pressure drop and warnings: a free convector
// whose height factor is not 1 shows and takes the entry's own output; a decimal comma counts.
TEST_F(OperatingPointTest, HeatingSlidersAndFieldsAreWiredToTheOperatingPoint)
{
    prepare("FreieKonvektion1", QStringLiteral("W1"), 1);
    HeatingEntry& e = heating();
    ASSERT_NE(e.HeightFactor, 1.0);
    const auto shown = [&] {
        const calculation::HeatingPointView v = calculation::viewOf(e);
        EXPECT_EQ(fieldText("Edit1").toStdString(), v.returnTempText);
        EXPECT_EQ(fieldText("Edit2").toStdString(), v.massFlowText);
        EXPECT_EQ(fieldText("Edit3").toStdString(), v.outputText);
        EXPECT_EQ(control<QScrollBar>("ScrollBar1")->value(), v.returnTempPosition);
        EXPECT_EQ(control<QScrollBar>("ScrollBar2")->value(), v.massFlowPosition);
        EXPECT_EQ(control<QScrollBar>("ScrollBar3")->value(), v.outputPosition);
        EXPECT_EQ(label("Label27").toStdString(), v.pressureDropText);
    };
    struct Input
    {
        const char* slider;
        const char* field;
        double HeatingEntry::*value;
        double HeatingEntry::*end;
        std::size_t refusal;
    };
    const Input inputs[] = {
        {"ScrollBar1", "Edit1", &HeatingEntry::ReturnTemp, &HeatingEntry::ReturnTempEnd, 69},
        {"ScrollBar2", "Edit2", &HeatingEntry::MassFlow, &HeatingEntry::MassFlowEnd, 92},
        {"ScrollBar3", "Edit3", &HeatingEntry::Output, &HeatingEntry::OutputEnd, 93},
    };
    for (const Input& in : inputs) {
        SCOPED_TRACE(in.field);
        control<QScrollBar>(in.slider)->setValue(0);
        control<QScrollBar>(in.slider)->setValue(100);
        EXPECT_DOUBLE_EQ(e.*in.value, e.*in.end);
        shown();
        const double typed = std::trunc(e.*in.end) - 1;
        type(in.field, QString::number(typed) + QStringLiteral(",5"));
        EXPECT_DOUBLE_EQ(e.*in.value, typed + 0.5);
        shown();
        const HeatingEntry before = e;
        doubles.messages.expect(MessageKind::Information, text(in.refusal));
        type(in.field, QString::number(std::round(e.*in.end) + 2));
        doubles.messages.verifyAllShown();
        EXPECT_EQ(e, before);
    }
    // The water-side warnings show as the engine flags the operating point.
    control<QScrollBar>("ScrollBar2")->setValue(0);
    EXPECT_FALSE(control<QWidget>("Panel16")->isHidden());
    EXPECT_EQ(label("Label104"), text(calculation::LaminarFlowText));
    control<QScrollBar>("ScrollBar2")->setValue(100);
    EXPECT_TRUE(control<QWidget>("Panel16")->isHidden());
    EXPECT_TRUE(control<QWidget>("Panel10")->isHidden());

    // A click into a field checks what it holds.
    const double flow = std::round((e.MassFlowStart + e.MassFlowEnd) / 2);
    control<QLineEdit>("Edit2")->setText(QString::number(flow));
    QTest::mouseDClick(control<QLineEdit>("Edit2"), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(e.MassFlow, flow);

    // A focused field does not run its check while the window closes.
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    auto* edit = control<QLineEdit>("Edit1");
    edit->setFocus();
    ASSERT_TRUE(edit->hasFocus());
    edit->setText(QStringLiteral("9999")); // would be refused with a message
    form.reset();                          // no box is expected
}

// The heating fan bar and setting field (on Enter, on entry, on a double click) reach the fan
// rules, and what they give reaches the entry, the bar, the setting and the notes.
TEST_F(OperatingPointTest, TheHeatingFanBarAndSettingAreWiredToTheFanRules)
{
    prepare("FreieZwangsKonv1", QStringLiteral("WFW-2L"));
    doubles.messages.expect(MessageKind::Message, text(calculation::WfwMinimumText));
    type("Edit4", QStringLiteral("30"));
    doubles.messages.verifyAllShown();
    EXPECT_DOUBLE_EQ(heating().FanSpeed, 44 * 16);
    EXPECT_EQ(control<QScrollBar>("DrehzahlBar4")->value(), 704);
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    control<QLineEdit>("Edit5")->setFocus();
    control<QLineEdit>("Edit4")->setText(QStringLiteral("75"));
    control<QLineEdit>("Edit4")->setFocus();
    EXPECT_DOUBLE_EQ(heating().FanSpeed, 75 * 16);
    control<QLineEdit>("Edit4")->setText(QStringLiteral("50"));
    QTest::mouseDClick(control<QLineEdit>("Edit4"), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(heating().FanSpeed, 50 * 16);

    prepare("FreieZwangsKonv1", QStringLiteral("WFWL-2L"));
    auto* bar = control<QScrollBar>("DrehzahlBar4");
    calculation::FanMemory memory = form->Fan;
    const calculation::FanBarView expected =
        calculation::moveHeatingFanBar(heating().TypeName.text(), heating().FanSpeed, 400, memory);
    bar->setValue(400);
    EXPECT_DOUBLE_EQ(heating().FanSpeed, expected.fanSpeed);
    EXPECT_EQ(bar->value(), expected.barPosition);
    EXPECT_EQ(label("Label101").toStdString(), expected.settingText);
    EXPECT_EQ(fieldText("Edit3").toStdString(), calculation::viewOf(heating()).outputText);
}

// The cooling stage buttons reach the stage rules (the heating ones are rated in RateMatchesWindowTest).
TEST_F(OperatingPointTest, TheCoolingStageButtonsReachTheStageRules)
{
    coolingMode();
    prepare("FreieZwangsKonv1", QStringLiteral("DWF"));
    EXPECT_DOUBLE_EQ(cooling().FanSpeed, 700);
    control<QRadioButton>("RadioButton7")->click();
    EXPECT_DOUBLE_EQ(cooling().FanSpeed, 1400);
    EXPECT_EQ(label("Label49").toStdString(), strFixed(cooling().Output, 0, 1));
}

TEST_F(OperatingPointTest, TheCountsCoolingFanAndReturnTemperatureAreWiredToTheirRules)
{
    prepare("FreieKonvektion1", QStringLiteral("W1"), 1);
    type("Edit5", QStringLiteral("20"));
    EXPECT_EQ(heating().Count, 15);

    coolingMode();
    prepare("FreieZwangsKonv1", QStringLiteral("WFW-2L"));
    type("Edit9", QStringLiteral("40"));
    EXPECT_EQ(cooling().Count, 15);
    EXPECT_EQ(fieldText("Edit9"), QStringLiteral("15"));
    control<UpDown>("UpDown2")->setValue(7);
    EXPECT_EQ(fieldText("Edit9"), QStringLiteral("  7"));
    EXPECT_EQ(cooling().Count, 7);
    EXPECT_EQ(label("Label59").toStdString(), fixedDigits(7 * cooling().Output, 5, 1));

    control<QScrollBar>("ScrollBar4")->setValue(1600);
    EXPECT_DOUBLE_EQ(cooling().FanSpeed, 1600);
    EXPECT_EQ(fieldText("Edit8").trimmed(), QStringLiteral("100"));
    type("Edit8", QStringLiteral("50,0"));
    EXPECT_DOUBLE_EQ(cooling().FanSpeed, 800);
    EXPECT_EQ(control<QScrollBar>("ScrollBar4")->value(), 800);

    control<UpDown>("UpDown3")->stepBy(1);
    EXPECT_EQ(fieldText("Edit6"), QStringLiteral("19"));
    EXPECT_DOUBLE_EQ(cooling().ReturnTemp, 19);
    const auto colour = [this] { return control<QLabel>("Label56")->palette().color(QPalette::WindowText); };
    type("Edit6", QStringLiteral("24"));
    ASSERT_LT(cooling().MassFlow, 50);
    EXPECT_EQ(colour(), formcolours::warningRed());
    type("Edit6", QStringLiteral("17,5"));
    EXPECT_DOUBLE_EQ(cooling().ReturnTemp, 17.5);
    EXPECT_EQ(colour(), QColor(Qt::black));
    doubles.messages.expectAny(MessageKind::Error);
    type("Edit6", QStringLiteral("abc"));
    doubles.messages.verifyAllShown();

    // The heading, captions and operating point of the rated entry reach their widgets; a return
    // temperature without a result is replaced with one note.
    EXPECT_EQ(label("Label3"), form->entryDescription("WFW-2L", 220, cooling().Length));
    EXPECT_EQ(label("Label46"), text(178));
    EXPECT_EQ(label("Label56").trimmed().toStdString(), strFixed(cooling().MassFlow, 0, 1));
    doubles.messages.expect(MessageKind::Message, text(calculation::NoCoolingResultText));
    type("Edit6", QStringLiteral("16"));
    doubles.messages.verifyAllShown();
    EXPECT_EQ(fieldText("Edit6"), QStringLiteral("18"));
}

} // namespace
} // namespace tepa::test
