// Each control of the calculation window reaches its rule, and each part of what the rule returns
// reaches its widget. The rules themselves are tested in the core (tests/core/calculation).
#include "CalcWindowFixture.h"

#include "core/calculation/HeatingFan.h"
#include "core/calculation/RoomList.h"
#include "core/calculation/TypeChoice.h"
#include "core/calculation/UpdateCycle.h"
#include "core/engine/NominalRating.h"
#include "core/text/Numbers.h"

#include <QApplication>

#include <cmath>

namespace tepa::test {
namespace {

class Wiring : public CalcWindowFixture
{
protected:
    void SetUp() override
    {
        CalcWindowFixture::SetUp();
        session.Project.HeatingEntryCount = session.Project.CoolingEntryCount = 1;
        session.CentreReturnTemp = true;
        create().enableMainPrintMenu = [this] { ++printMenuEnabled; };
        form->enableMainConvectorList = [this] { ++convectorListEnabled; };
        form->disableMainTypeList = [this] { ++typeListDisabled; };
        form->connectOperatingPointInputs();
        form->show();
    }
    void selectRow(int row)
    {
        control<QListWidget>("ListBox2")->setCurrentRow(row);
        control<QListWidget>("ListBox2")->item(row)->setSelected(true);
    }
    void edit(int row)
    {
        selectRow(row);
        press("Bearbeiten");
    }
    void deleteRow(int row, bool yes = true)
    {
        selectRow(row);
        doubles.messages.expect(MessageKind::YesNo, text(94), yes);
        press("Loeschen");
    }
    QColor colour(const char* name) { return control<QLabel>(name)->palette().color(QPalette::WindowText); }
    int printMenuEnabled = 0, convectorListEnabled = 0, typeListDisabled = 0;
};

TEST_F(Wiring, TheTypePanelAndWeiter)
{
    trigger("FreieKonvektion1");
    EXPECT_EQ(control<QListWidget>("ListBox1")->count(), 6);
    EXPECT_EQ(label("Label4"), text(63));
    EXPECT_TRUE(hidden("Panel9"));
    session.HeatingDualUseOn = true;
    doubles.messages.expect(MessageKind::Message, text(calculation::CannotCoolText));
    clickRow(control<QListWidget>("ListBox1"), 0);
    doubles.messages.verifyAllShown();
    EXPECT_EQ(heating().TypeName.text(), "W1");
    EXPECT_EQ(control<QListWidget>("ListBox4")->currentRow(), 1);
    // Keys in the lists pick alike.
    session.HeatingDualUseOn = false;
    QTest::keyClick(control<QListWidget>("ListBox1"), Qt::Key_Down);
    EXPECT_EQ(heating().TypeName.text(), "W2");
    auto* lengths = control<QListWidget>("ListBox3");
    QTest::keyClick(lengths, Qt::Key_Down);
    QTest::keyClick(lengths, Qt::Key_End);
    EXPECT_DOUBLE_EQ(heating().Length, lengths->item(lengths->count() - 1)->text().toDouble());
    EXPECT_EQ(label("Label5"), form->entryDescription("W2", 100, heating().Length));
    QTest::keyClick(control<QListWidget>("ListBox4"), Qt::Key_End);
    EXPECT_DOUBLE_EQ(heating().Height, heightOfLine(session.HeightList.back()));
    session.HeatingPanelReady = true;
    form->Panel4Click();
    EXPECT_TRUE(hidden("Panel4"));
    EXPECT_FALSE(hidden("Panel3"));

    chooseType("FreieKonvektion1", QStringLiteral("W1"));
    EXPECT_TRUE(session.Project.HeatingInUse);
    EXPECT_TRUE(hidden("Panel6")); // no fan
    EXPECT_EQ(panelColour(control<QWidget>("Panel12")), formcolours::warningRed());
    EXPECT_EQ(fieldText("Edit3").toStdString(), calculation::viewOf(heating()).outputText);
    EXPECT_EQ(label("Label41"), text(190));
    EXPECT_GE(printMenuEnabled, 1);
    // A return temperature above the flow is asked about; no leaves the entry unfinished.
    session.Project.HeatingInUse = false;
    heating().ReturnTemp = 80;
    doubles.messages.expect(MessageKind::YesNo, text(calculation::ReturnAboveFlowText), false);
    press("Konweiter");
    doubles.messages.verifyAllShown();
    EXPECT_FALSE(session.Project.HeatingInUse);

    chooseType("FreieZwangsKonv1", QStringLiteral("WFWL-2L"));
    EXPECT_EQ(control<QScrollBar>("DrehzahlBar4")->value(), 345);
    EXPECT_TRUE(hidden("Edit4"));
    EXPECT_EQ(label("Label101"), QStringLiteral("30"));
    chooseType("FreieZwangsKonv1", QStringLiteral("DWF"));
    EXPECT_FALSE(hidden("Panel14"));
    EXPECT_TRUE(control<QRadioButton>("RadioButton1")->isChecked());
    // In dual use the rating of the other mode shows.
    session.HeatingDualUseOn = true;
    chooseType("FreieZwangsKonv1", QStringLiteral("WFW-2L"));
    const TypeRecord type = fixtureType("WFW-2L", true);
    const engine::RatingDisplay other = engine::ratingDisplay(
        engine::otherModeRating({"WFW-2L", 1250, type.dataLine, type.fanLine, engine::Mode::Heating}));
    EXPECT_EQ(label("Label86").toStdString(), other.Label86);
    EXPECT_EQ(label("Label92").toStdString(), other.Label92);

    // Cooling: the return window, the fan and the condensation warning.
    coolingMode();
    session.Project.CoolingHumidity = 70;
    session.Project.CoolingFlowTemp = 12;
    chooseType("FreieZwangsKonv1", QStringLiteral("WFW-2L"));
    EXPECT_EQ(label("Label4"), text(46));
    EXPECT_EQ(fieldText("Edit6"), QStringLiteral("14"));
    EXPECT_EQ(control<UpDown>("UpDown3")->maximum(), 24);
    EXPECT_EQ(control<QScrollBar>("ScrollBar4")->value(), 700);
    EXPECT_EQ(label("Label66"), QStringLiteral("12.0"));
    EXPECT_EQ(label("Label77"), text(calculation::CondensationText));
    EXPECT_EQ(label("Label81").toStdString(), calculation::dewPointWarning(session.Project)->lowestFlowText);
    EXPECT_EQ(panelColour(control<QWidget>("Panel12")), formcolours::coolingBlue());
    chooseType("FreieZwangsKonv1", QStringLiteral("WNF2"), 1); // 1350 mm
    EXPECT_DOUBLE_EQ(form->Fan.airFlowLimit, 240);
    EXPECT_EQ(label("Label46"), text(179));
    EXPECT_EQ(label("Label41"), text(208));
    EXPECT_TRUE(hidden("Edit6"));

    // A read error is shown and the list keeps its types.
    session.ProgramDir = "/nonexistent";
    doubles.messages.expectAny(MessageKind::Error);
    trigger("FreieKonvektion1");
    doubles.messages.verifyAllShown();
    EXPECT_EQ(control<QListWidget>("ListBox1")->count(), 8);
}

// The heating sliders and fields, each with a decimal comma and a refused value; a free convector
// whose height factor is not 1 shows and takes the entry's own output.
TEST_F(Wiring, TheHeatingOperatingPoint)
{
    chooseType("FreieKonvektion1", QStringLiteral("W1"), 1);
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
    control<QScrollBar>("ScrollBar2")->setValue(0);
    EXPECT_EQ(label("Label104"), text(calculation::LaminarFlowText));
    control<QScrollBar>("ScrollBar2")->setValue(100);
    EXPECT_TRUE(hidden("Panel16"));
    // A double click into a field checks what it holds.
    const double flow = std::round((e.MassFlowStart + e.MassFlowEnd) / 2);
    control<QLineEdit>("Edit2")->setText(QString::number(flow));
    QTest::mouseDClick(control<QLineEdit>("Edit2"), Qt::LeftButton);
    EXPECT_DOUBLE_EQ(e.MassFlow, flow);
    type("Edit5", QStringLiteral("20"));
    EXPECT_EQ(heating().Count, 15);

    // The update cycle's routines show what the rules return.
    Session copy = session;
    const calculation::HeatingLimits limits = calculation::update_grenzen(copy, 1, true);
    control<QRadioButton>("TR_Schalter")->setChecked(true);
    form->update_grenzen(1);
    for (const auto& [name, expected] :
         std::initializer_list<std::pair<const char*, std::string>>{{"Label9", limits.returnEndText},
                                                                    {"Label7", limits.returnStartText},
                                                                    {"Label13", limits.massEndText},
                                                                    {"Label12", limits.massStartText},
                                                                    {"Label16", limits.outputEndText},
                                                                    {"Label14", limits.outputStartText},
                                                                    {"Label28", limits.soundLevelText}})
        EXPECT_EQ(label(name).toStdString(), expected) << name;
    session.Project.HeatingDemand = 100;
    form->Restwaerme();
    EXPECT_EQ(colour("Label21"), formcolours::demandMetGreen());
    EXPECT_EQ(label("Label20"), text(calculation::SurplusText));
    e.MassFlowStart = 1000, e.MassFlowEnd = 10;
    doubles.messages.expect(MessageKind::Information, text(calculation::InvertedWindowText));
    form->update1(1);
    heating(1).TypeName.setText("WNF1");
    form->Balken_grenzwerte(1);
    EXPECT_EQ(label("Label19"), text(179));
    EXPECT_EQ(label("Label25"), text(183));

    // A focused field does not run its check while the window closes.
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    control<QLineEdit>("Edit1")->setFocus();
    control<QLineEdit>("Edit1")->setText(QStringLiteral("9999")); // would be refused with a message
    form.reset();                                                 // no box is expected
}

// The heating fan bar and setting field (on Enter, on entry, on a double click).
TEST_F(Wiring, TheHeatingFan)
{
    chooseType("FreieZwangsKonv1", QStringLiteral("WFW-2L"));
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

    chooseType("FreieZwangsKonv1", QStringLiteral("WFWL-2L"));
    calculation::FanMemory memory = form->Fan;
    const calculation::FanBarView expected =
        calculation::moveHeatingFanBar(heating().TypeName.text(), heating().FanSpeed, 400, memory);
    control<QScrollBar>("DrehzahlBar4")->setValue(400);
    EXPECT_DOUBLE_EQ(heating().FanSpeed, expected.fanSpeed);
    EXPECT_EQ(control<QScrollBar>("DrehzahlBar4")->value(), expected.barPosition);
    EXPECT_EQ(label("Label101").toStdString(), expected.settingText);
}

// The cooling count, stage, fan bar and setting, and return temperature.
TEST_F(Wiring, TheCoolingOperatingPoint)
{
    coolingMode();
    chooseType("FreieZwangsKonv1", QStringLiteral("DWF"));
    EXPECT_DOUBLE_EQ(cooling().FanSpeed, 700);
    control<QRadioButton>("RadioButton7")->click();
    EXPECT_DOUBLE_EQ(cooling().FanSpeed, 1400);
    EXPECT_EQ(label("Label49").toStdString(), strFixed(cooling().Output, 0, 1));

    chooseType("FreieZwangsKonv1", QStringLiteral("WFW-2L"));
    EXPECT_EQ(label("Label3"), form->entryDescription("WFW-2L", 220, cooling().Length));
    EXPECT_EQ(label("Label46"), text(178));
    control<UpDown>("UpDown2")->setValue(7);
    EXPECT_EQ(fieldText("Edit9"), QStringLiteral("  7"));
    EXPECT_EQ(cooling().Count, 7);
    EXPECT_EQ(label("Label59").toStdString(), fixedDigits(7 * cooling().Output, 5, 1));
    type("Edit9", QStringLiteral("40"));
    EXPECT_EQ(cooling().Count, 15);
    control<QScrollBar>("ScrollBar4")->setValue(1600);
    EXPECT_EQ(fieldText("Edit8").trimmed(), QStringLiteral("100"));
    type("Edit8", QStringLiteral("50,0"));
    EXPECT_DOUBLE_EQ(cooling().FanSpeed, 800);
    EXPECT_EQ(control<QScrollBar>("ScrollBar4")->value(), 800);
    control<UpDown>("UpDown3")->stepBy(1);
    EXPECT_DOUBLE_EQ(cooling().ReturnTemp, 19);
    type("Edit6", QStringLiteral("24"));
    ASSERT_LT(cooling().MassFlow, 50);
    EXPECT_EQ(colour("Label56"), formcolours::warningRed());
    type("Edit6", QStringLiteral("17,5"));
    EXPECT_DOUBLE_EQ(cooling().ReturnTemp, 17.5);
    EXPECT_EQ(colour("Label56"), QColor(Qt::black));
    EXPECT_EQ(label("Label56").trimmed().toStdString(), strFixed(cooling().MassFlow, 0, 1));
    doubles.messages.expectAny(MessageKind::Error);
    type("Edit6", QStringLiteral("abc"));
    // A return temperature without a result is replaced with one note.
    doubles.messages.expect(MessageKind::Message, text(calculation::NoCoolingResultText));
    type("Edit6", QStringLiteral("16"));
    doubles.messages.verifyAllShown();
    EXPECT_EQ(fieldText("Edit6"), QStringLiteral("18"));
}

// The list buttons reach the list rules; what they return reaches the widgets.
TEST_F(Wiring, TheListButtons)
{
    doubles.messages.expect(MessageKind::Information, text(131));
    press("Loeschen"); // on an empty list
    EXPECT_EQ(printMenuEnabled, 1);

    list(true, "W1", 3);
    doubles.messages.expect(MessageKind::Information, text(131));
    press("Bearbeiten"); // no line selected
    EXPECT_FALSE(form->RowSelected);
    // A stored 999.95 is the 1000 stage, chosen as by a click.
    fill(heating(1), fixtureType("DWF", true), "DWF", 1, 999.95);
    QSignalSpy stageClicks(control<QRadioButton>("RadioButton3"), &QRadioButton::clicked);
    edit(0);
    EXPECT_EQ(stageClicks.count(), 1);
    EXPECT_FALSE(hidden("Panel14"));
    const auto before = session.Project.HeatingEntries;
    deleteRow(0, false);
    EXPECT_EQ(session.Project.HeatingEntries, before);
    // After a delete the controls are those of the entry now current: the stage panel of the
    // deleted staged unit no longer shows, and a stage can never set a convector of another series.
    deleteRow(0);
    EXPECT_EQ(control<QListWidget>("ListBox2")->count(), 2);
    EXPECT_TRUE(hidden("Panel14"));
    EXPECT_EQ(fieldText("Edit4").trimmed(), QStringLiteral("0"));
    const HeatingEntry kept = heating(1);
    form->RadioButton2Click();
    EXPECT_EQ(heating(1), kept);
    // A slow fan shows its setting in the label instead of the field.
    fill(heating(2), fixtureType("WFWL-2L", true), "WFWL-2L", 2, 862.5);
    edit(1);
    EXPECT_EQ(session.HeatingEntryIndex, 2);
    EXPECT_TRUE(hidden("Edit4"));
    EXPECT_FALSE(hidden("Label101"));
    EXPECT_EQ(control<QScrollBar>("DrehzahlBar4")->maximum(), 1150);

    // Slow fan entries each open at their own speed step, whichever was shown before.
    list(false, "WFWL-2L", 2, 517.5);
    cooling(2).FanSpeed = 862.5;
    form->update1_K(2);
    for (int row : {1, 0, 1}) {
        edit(row);
        EXPECT_DOUBLE_EQ(cooling(row + 1).FanSpeed, row == 0 ? 517.5 : 862.5);
    }
    EXPECT_DOUBLE_EQ(cooling(1).FanSpeed, 517.5);
    // A thirteenth entry is refused.
    session.EntryBeingAdded = false;
    list(false, "WFW-2L", 12, 1000);
    doubles.messages.expect(MessageKind::Message, text(265));
    press("Erweitern");
    EXPECT_EQ(session.Project.CoolingEntryCount, 12);
    EXPECT_TRUE(control<QPushButton>("Erweitern")->isEnabled());
    // A cooling entry shows its count and return temperature.
    cooling(2).ReturnTemp = 19;
    edit(1);
    EXPECT_EQ(fieldText("Edit9").trimmed(), QStringLiteral("2"));
    EXPECT_EQ(fieldText("Edit6").trimmed(), QStringLiteral("19"));
    EXPECT_FALSE(hidden("Panel7"));
    // Closing by the frame writes back as well.
    control<QLineEdit>("Edit9")->setText(QStringLiteral("5"));
    form->close();
    EXPECT_EQ(cooling(2).Count, 5);
    EXPECT_TRUE(form->isHidden());

    // Appending locks the buttons; closing writes the typed count back.
    session.HeatingEntryIndex = 1;
    list(true, "W1", 2);
    control<QLineEdit>("Edit5")->setText(QStringLiteral("4"));
    press("Erweitern");
    EXPECT_EQ(heating(1).Count, 4);
    EXPECT_EQ(session.Project.HeatingEntryCount, 3);
    for (const char* button : {"Erweitern", "Loeschen", "Bearbeiten"})
        EXPECT_FALSE(control<QPushButton>(button)->isEnabled()) << button;
    EXPECT_TRUE(hidden("Panel3"));
    trigger("Schliessen1");
    EXPECT_EQ(session.Project.HeatingEntryCount, 2);
    EXPECT_EQ(typeListDisabled, 1);
    EXPECT_EQ(convectorListEnabled, 2) << "once on each close";
}

// Deleting the only entry hides the list; a type chosen then is the new first entry, counted
// and listed.
TEST_F(Wiring, AFirstEntryChosenAfterDeletingTheOnlyOneIsCounted)
{
    for (bool heatingMode : {true, false}) {
        SCOPED_TRACE(heatingMode);
        list(heatingMode, heatingMode ? "W1" : "WFW-2L", 1, heatingMode ? 0 : 1000);
        deleteRow(0);
        auto& count = heatingMode ? session.Project.HeatingEntryCount : session.Project.CoolingEntryCount;
        EXPECT_EQ(count, 0);
        for (const char* name : {"ListBox2", "Panel3", "GroupBox1"})
            EXPECT_TRUE(hidden(name)) << name;
        EXPECT_EQ(fieldText(heatingMode ? "Edit5" : "Edit9").trimmed(), QStringLiteral("1"));
        EXPECT_TRUE(control<QPushButton>("Erweitern")->isEnabled());
        chooseType(heatingMode ? "FreieKonvektion1" : "FreieZwangsKonv1",
                   QString::fromLatin1(heatingMode ? "W1" : "WFW-2L"));
        EXPECT_EQ(count, 1);
        EXPECT_EQ(control<QListWidget>("ListBox2")->count(), 1);
        trigger("Schliessen1");
        EXPECT_EQ(session.Project.HeatingInUse, heatingMode) << "the room is designed in this mode";
    }
}

TEST_F(Wiring, ClosingCommitsTheFieldStillBeingTypedIn)
{
    list(true, "W1", 1);
    auto* returnTemp = control<QLineEdit>("Edit1");
    QSignalSpy committed(returnTemp, &QLineEdit::editingFinished);
    QApplication::setActiveWindow(form.get());
    returnTemp->setFocus();
    returnTemp->selectAll();
    QTest::keyClicks(returnTemp, "55");
    ASSERT_EQ(committed.count(), 0);
    trigger("Schliessen1");
    EXPECT_EQ(committed.count(), 1);
}

// The list rules reach ListBox2, the total and the series notes.
TEST_F(Wiring, TheListView)
{
    session.HeatingMode = false;
    session.Project.CoolingEntryCount = 2;
    session.Project.CoolingDemand = 1000;
    for (int i : {1, 2}) {
        cooling(i).TypeName.setText(i == 1 ? "WNF1" : "WFW-2L");
        cooling(i).Count = 1;
        cooling(i).Output = 300 * i;
    }
    const calculation::RoomListView view = calculation::roomList(session.Project, false, false, false);
    form->Listenaufbau();
    auto* rows = control<QListWidget>("ListBox2");
    ASSERT_EQ(rows->count(), 2);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(rows->item(i)->text().toStdString(), view.lines[static_cast<std::size_t>(i)]);
    EXPECT_EQ(label("Label67"), QStringLiteral("  900"));
    EXPECT_EQ(colour("Label67"), formcolours::warningRed());
    for (const char* note : {"Label33", "Label38", "Label95", "Label96"})
        EXPECT_FALSE(hidden(note)) << note;
    session.Project.CoolingDemand = 900;
    cooling(1).TypeName.setText("WFW-2L");
    form->Listenaufbau();
    EXPECT_EQ(colour("Label67"), formcolours::demandMetGreen());
    EXPECT_TRUE(hidden("Label95"));

    // After a room run: the cooling summary and list show the first entry's temperatures and fan
    // captions; a loaded heating project shows its entry's air flow.
    list(false, "WFW-2L", 2, 1000);
    fill(cooling(1), fixtureType("WNF1", true), "WNF1", 1, 0);
    session.Project.CoolingSecondTemp = 17;
    form->showCoolingSummary();
    EXPECT_EQ(label("Label66"), QStringLiteral("17.0"));
    form->showCoolingList();
    EXPECT_EQ(label("Label46"), text(179));
    EXPECT_EQ(label("Label73"), text(189));
    session.HeatingMode = session.ProjectLoaded = true;
    fill(heating(1), fixtureType("WNF1", true), "WNF1", 1, 0);
    form->prepareHeatingRun();
    EXPECT_EQ(label("Label25"), text(183));
}

} // namespace
} // namespace tepa::test
