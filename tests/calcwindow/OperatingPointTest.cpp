#include "CalcWindowFixture.h"

#include "calcwindow/FormControls.h"
#include "core/calculation/HeatingFan.h"
#include "core/engine/WaterSide.h"
#include "core/text/Numbers.h"

#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>

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

    void cooling_mode() { coolingMode(); }

    // Opens the window and prepares the operating point of `type` (first length unless given).
    void prepare(const char* menu, const QString& type, int lengthRow = 0)
    {
        create().show();
        chooseType(menu, type, lengthRow);
    }

    // Replaces the text of a field as the user would and confirms it with Enter.
    void type(const char* field, const QString& text)
    {
        auto* edit = control<QLineEdit>(field);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, text);
        QTest::keyClick(edit, Qt::Key_Return);
    }

    QString fieldText(const char* field) { return control<QLineEdit>(field)->text(); }
    double fieldValue(const char* field) { return fieldText(field).trimmed().toDouble(); }
    QString text(std::size_t line) { return QString::fromStdString(session.InterfaceTexts.line(line)); }

    HeatingEntry& heating() { return session.currentHeatingEntry(); }
    CoolingEntry& cooling() { return session.currentCoolingEntry(); }
};

// ---- Heating return temperature, mass flow and output ----

// Each slider and field of the heating operating point reaches the model, and what the model
// shows reaches the fields, sliders, pressure drop and warnings: a free convector whose height
// factor is not 1 shows and takes the entry's own output.
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
        EXPECT_EQ(control<QLabel>("Label27")->text().toStdString(), v.pressureDropText);
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
        shown();
    }

    // The water-side warnings show as the engine flags the operating point.
    control<QScrollBar>("ScrollBar2")->setValue(0);
    EXPECT_FALSE(control<QWidget>("Panel16")->isHidden());
    EXPECT_EQ(control<QLabel>("Label104")->text(), text(calculation::LaminarFlowText));
    control<QScrollBar>("ScrollBar2")->setValue(100);
    EXPECT_TRUE(control<QWidget>("Panel16")->isHidden());
    EXPECT_TRUE(control<QWidget>("Panel10")->isHidden());
}

TEST_F(OperatingPointTest, AFocusedFieldDoesNotRunItsCheckWhileTheWindowCloses)
{
    prepare("FreieKonvektion1", QStringLiteral("W1"), 1);
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    auto* edit = control<QLineEdit>("Edit1");
    edit->setFocus();
    ASSERT_TRUE(edit->hasFocus());
    edit->setText(QStringLiteral("9999")); // would be refused with a message
    form.reset();                          // no box is expected
}

TEST_F(OperatingPointTest, ClickingIntoAHeatingFieldChecksWhatItHolds)
{
    prepare("FreieKonvektion1", QStringLiteral("W1"), 1);
    HeatingEntry& e = heating();
    const double kept = e.ReturnTemp;

    // Typed but not yet confirmed: the click into the field checks it.
    control<QLineEdit>("Edit1")->setText(QString::number(e.ReturnTempEnd + 1, 'f', 1));
    doubles.messages.expect(MessageKind::Information, text(69));
    QTest::mouseClick(control<QLineEdit>("Edit1"), Qt::LeftButton);
    doubles.messages.verifyAllShown();
    EXPECT_DOUBLE_EQ(e.ReturnTemp, kept);
    EXPECT_NEAR(fieldValue("Edit1"), kept, 0.5);

    const double flow = std::round((e.MassFlowStart + e.MassFlowEnd) / 2);
    control<QLineEdit>("Edit2")->setText(QString::number(flow));
    QTest::mouseDClick(control<QLineEdit>("Edit2"), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(e.MassFlow, flow);
    EXPECT_NE(e.ReturnTemp, kept);
}

// ---- Heating fan ----

TEST_F(OperatingPointTest, AWfwSettingIsAppliedOnEnterOrEntryAndBelowItsMinimumRaisedWithANote)
{
    prepare("FreieZwangsKonv1", QStringLiteral("WFW-2L"));
    doubles.messages.expect(MessageKind::Message, text(197));
    type("Edit4", QStringLiteral("30"));
    doubles.messages.verifyAllShown();
    EXPECT_DOUBLE_EQ(heating().FanSpeed, 44 * 16);
    EXPECT_DOUBLE_EQ(fieldValue("Edit4"), 44);
    EXPECT_EQ(control<QScrollBar>("DrehzahlBar4")->value(), 704);

    type("Edit4", QStringLiteral("120"));
    EXPECT_DOUBLE_EQ(heating().FanSpeed, 1600);
    EXPECT_DOUBLE_EQ(fieldValue("Edit4"), 100);

    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    control<QLineEdit>("Edit5")->setFocus();

    control<QLineEdit>("Edit4")->setText(QStringLiteral("75"));
    control<QLineEdit>("Edit4")->setFocus();
    EXPECT_DOUBLE_EQ(heating().FanSpeed, 75 * 16);

    control<QLineEdit>("Edit4")->setText(QStringLiteral("30"));
    doubles.messages.expect(MessageKind::Message, text(197));
    QTest::mouseDClick(control<QLineEdit>("Edit4"), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(heating().FanSpeed, 44 * 16);
}

// The heating fan bar and setting field reach the fan rules, and what they give reaches the
// entry, the bar, the setting field and label, and the notes.
TEST_F(OperatingPointTest, TheHeatingFanBarAndSettingAreWiredToTheFanRules)
{
    prepare("FreieZwangsKonv1", QStringLiteral("WFWL-2L"));
    auto* bar = control<QScrollBar>("DrehzahlBar4");
    calculation::FanMemory memory = form->Fan;
    const calculation::FanBarView expected =
        calculation::moveHeatingFanBar(heating().TypeName.text(), heating().FanSpeed, 400, memory);
    const double K = heating().CoeffK;
    bar->setValue(400);
    EXPECT_DOUBLE_EQ(heating().FanSpeed, expected.fanSpeed);
    EXPECT_EQ(bar->value(), expected.barPosition);
    EXPECT_EQ(bar->maximum(), expected.barMaximum);
    EXPECT_EQ(control<QLabel>("Label101")->text().toStdString(), expected.settingText);
    EXPECT_DOUBLE_EQ(form->Fan.previousSpeed, memory.previousSpeed);
    EXPECT_NE(heating().CoeffK, K); // recalculated at the new speed

    doubles.messages.expect(MessageKind::Message, text(calculation::WfwlMinimumText));
    bar->setValue(100);
    doubles.messages.verifyAllShown();

    // A typed primary-air setting: corrected in the field, the bar set to it.
    prepare("FreieZwangsKonv1", QStringLiteral("WNF2"));
    type("Edit4", QStringLiteral("500"));
    EXPECT_DOUBLE_EQ(heating().FanSetting, 240);
    EXPECT_EQ(fieldText("Edit4"), QStringLiteral("240"));
    EXPECT_EQ(control<QScrollBar>("DrehzahlBar4")->value(), 240);
}

TEST_F(OperatingPointTest, TheStageButtonsSetTheCeilingUnitsSpeed)
{
    prepare("FreieZwangsKonv1", QStringLiteral("DWF"));
    control<QRadioButton>("RadioButton3")->click();
    EXPECT_DOUBLE_EQ(heating().FanSpeed, 1000);
    const double at1000 = heating().Output;
    EXPECT_GT(at1000, 0);
    control<QRadioButton>("RadioButton4")->click();
    EXPECT_DOUBLE_EQ(heating().FanSpeed, 1400);
    EXPECT_GT(heating().Output, at1000);
    control<QRadioButton>("RadioButton1")->click();
    EXPECT_DOUBLE_EQ(heating().FanSpeed, 0);

    cooling_mode();
    prepare("FreieZwangsKonv1", QStringLiteral("DWF"));
    EXPECT_DOUBLE_EQ(cooling().FanSpeed, 700);
    const double at700 = cooling().Output;
    control<QRadioButton>("RadioButton7")->click();
    EXPECT_DOUBLE_EQ(cooling().FanSpeed, 1400);
    EXPECT_GT(cooling().Output, at700);
    EXPECT_EQ(control<QLabel>("Label49")->text().toDouble(), std::round(cooling().Output * 10) / 10);
}

// ---- Counts ----

TEST_F(OperatingPointTest, TheHeatingCountFollowsTheFieldWithinOneToFifteen)
{
    prepare("FreieKonvektion1", QStringLiteral("W1"), 1);
    type("Edit5", QStringLiteral("7"));
    EXPECT_EQ(heating().Count, 7);
    type("Edit5", QStringLiteral("20"));
    EXPECT_EQ(heating().Count, 15);
    EXPECT_EQ(fieldText("Edit5"), QStringLiteral("15"));
    type("Edit5", QStringLiteral("0"));
    EXPECT_EQ(heating().Count, 1);
    EXPECT_EQ(fieldText("Edit5"), QStringLiteral("1"));

    control<UpDown>("UpDown1")->stepBy(2);
    EXPECT_EQ(heating().Count, 3);
}

TEST_F(OperatingPointTest, TheCoolingCountIsLimitedAndWrittenByItsArrows)
{
    cooling_mode();
    prepare("FreieZwangsKonv1", QStringLiteral("WFW-2L"));
    type("Edit9", QStringLiteral("40"));
    EXPECT_EQ(cooling().Count, 15);
    EXPECT_EQ(fieldText("Edit9"), QStringLiteral("15"));
    type("Edit9", QStringLiteral("x"));
    EXPECT_EQ(cooling().Count, 1);

    control<UpDown>("UpDown2")->setValue(7);
    EXPECT_EQ(fieldText("Edit9"), QStringLiteral("  7"));
    EXPECT_EQ(cooling().Count, 7);
    EXPECT_EQ(control<QLabel>("Label59")->text().trimmed().toDouble(),
              std::round(7 * cooling().Output * 10) / 10);
    control<UpDown>("UpDown2")->setValue(20);
    EXPECT_EQ(cooling().Count, 15);
}

// ---- Cooling fan and return temperature ----

// The cooling bar and setting field reach the fan rules and show what they return.
TEST_F(OperatingPointTest, TheCoolingFanBarAndSettingAreWiredToTheFanRules)
{
    cooling_mode();
    prepare("FreieZwangsKonv1", QStringLiteral("WFW-2L"));
    control<QScrollBar>("ScrollBar4")->setValue(1600);
    EXPECT_DOUBLE_EQ(cooling().FanSpeed, 1600);
    EXPECT_EQ(fieldText("Edit8").trimmed(), QStringLiteral("100"));
    EXPECT_EQ(control<QLabel>("Label49")->text(), QString::fromStdString(strFixed(cooling().Output, 0, 1)));
    EXPECT_EQ(control<QLabel>("Label43")->text(),
              QString::fromStdString(strFixed(cooling().PressureDrop, 0, 1)));

    type("Edit8", QStringLiteral("50,0"));
    EXPECT_DOUBLE_EQ(cooling().FanSpeed, 800);
    EXPECT_EQ(fieldText("Edit8").trimmed(), QStringLiteral("50"));
    EXPECT_EQ(control<QScrollBar>("ScrollBar4")->value(), 800);

    cooling_mode();
    prepare("FreieZwangsKonv1", QStringLiteral("WNF2"), 1); // 1350 mm: up to 240 m³/h
    type("Edit8", QStringLiteral("300"));
    EXPECT_DOUBLE_EQ(cooling().FanSetting, 240);
    EXPECT_EQ(fieldText("Edit8"), QStringLiteral("240"));
    EXPECT_EQ(control<QScrollBar>("ScrollBar4")->value(), 240);
    EXPECT_GT(cooling().Output, 0);
}

TEST_F(OperatingPointTest, ACoolingReturnTemperatureIsTypedOrSteppedWithinTwelveKelvinOfTheFlow)
{
    cooling_mode();
    prepare("FreieZwangsKonv1", QStringLiteral("WFW-2L"));
    auto* arrows = control<UpDown>("UpDown3");
    EXPECT_EQ(arrows->minimum(), 16);
    EXPECT_EQ(arrows->maximum(), 28);
    const double at18 = cooling().Output;
    arrows->stepBy(1);
    EXPECT_EQ(fieldText("Edit6"), QStringLiteral("19"));
    EXPECT_DOUBLE_EQ(cooling().ReturnTemp, 19);
    EXPECT_NE(cooling().Output, at18);
    arrows->stepBy(20);
    EXPECT_DOUBLE_EQ(cooling().ReturnTemp, 28);

    type("Edit6", QStringLiteral("20"));
    EXPECT_DOUBLE_EQ(cooling().ReturnTemp, 20);
    doubles.messages.expect(MessageKind::Error, QStringLiteral("'abc' ist kein gültiger Gleitkommawert"));
    type("Edit6", QStringLiteral("abc"));
    EXPECT_DOUBLE_EQ(cooling().ReturnTemp, 20);
}

TEST_F(OperatingPointTest, ACoolingMassFlowBelowFiftyKilogramsAnHourShowsRed)
{
    cooling_mode();
    prepare("FreieZwangsKonv1", QStringLiteral("WFW-2L"));
    const auto colour = [this] { return control<QLabel>("Label56")->palette().color(QPalette::WindowText); };
    // A wide water spread carries the output with little water, a narrow one with much.
    type("Edit6", QStringLiteral("24"));
    ASSERT_LT(cooling().MassFlow, 50);
    EXPECT_EQ(colour(), formcolours::warningRed());
    type("Edit6", QStringLiteral("17"));
    ASSERT_GE(cooling().MassFlow, 50);
    EXPECT_EQ(colour(), QColor(Qt::black));
}

} // namespace
} // namespace tepa::test
