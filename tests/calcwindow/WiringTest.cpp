// Each control of the calculation window reaches its rule, and each part of what the rule returns
// reaches its widget: every test is a walk whose lines (each user action or routine, then the
// controls it changed) are compared with tests/data/calcwindow/Wiring.<test>.txt. The rules
// themselves are tested in the core (tests/core/calculation).
#include "CalcWindowFixture.h"

#include "core/calculation/UpdateCycle.h"

#include <QApplication>
#include <QKeySequence>

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
        baseline();
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
    void key(const char* list, Qt::Key k)
    {
        QTest::keyClick(control<QListWidget>(list), k);
        record("key " + QKeySequence(k).toString().toStdString() + " in " + list);
    }
    int printMenuEnabled = 0, convectorListEnabled = 0, typeListDisabled = 0;
};

TEST_F(Wiring, TheTypePanelAndWeiter)
{
    trigger("FreieKonvektion1");
    session.HeatingDualUseOn = true;
    doubles.messages.expect(MessageKind::Message, text(calculation::CannotCoolText));
    clickRow(control<QListWidget>("ListBox1"), 0);
    // Keys in the lists pick alike.
    session.HeatingDualUseOn = false;
    key("ListBox1", Qt::Key_Down);
    key("ListBox3", Qt::Key_Down);
    key("ListBox3", Qt::Key_End);
    key("ListBox4", Qt::Key_End);
    session.HeatingPanelReady = true;
    form->Panel4Click();
    record("type panel clicked");

    chooseType("FreieKonvektion1", QStringLiteral("W1"));
    EXPECT_GE(printMenuEnabled, 1);
    // A return temperature above the flow is asked about; no leaves the entry unfinished.
    session.Project.HeatingInUse = false;
    heating().ReturnTemp = 80;
    doubles.messages.expect(MessageKind::YesNo, text(calculation::ReturnAboveFlowText), false);
    press("Konweiter");
    chooseType("FreieZwangsKonv1", QStringLiteral("WFWL-2L"));
    chooseType("FreieZwangsKonv1", QStringLiteral("DWF"));
    // In dual use the rating of the other mode shows.
    session.HeatingDualUseOn = true;
    chooseType("FreieZwangsKonv1", QStringLiteral("WFW-2L"));

    // Cooling at 70 % and 12 °C: the return window, the fan and the condensation warning.
    coolingMode();
    session.Project.CoolingHumidity = 70;
    session.Project.CoolingFlowTemp = 12;
    chooseType("FreieZwangsKonv1", QStringLiteral("WFW-2L"));
    chooseType("FreieZwangsKonv1", QStringLiteral("WNF2"), 1); // 1350 mm
    EXPECT_DOUBLE_EQ(form->Fan.airFlowLimit, 240);

    // A read error is shown and the list keeps its types.
    session.ProgramDir = "/nonexistent";
    doubles.messages.expectAny(MessageKind::Error);
    trigger("FreieKonvektion1");
}

// Free convectors at two height factors, a fan, a slow fan and a staged unit, as designed.
TEST_F(Wiring, DesignsOfEachKind)
{
    chooseType("FreieKonvektion1", QStringLiteral("W3"), 2, 3);
    chooseType("FreieZwangsKonv1", QStringLiteral("WF2"), 1);
    slide("DrehzahlBar4", 1100);
    chooseType("FreieZwangsKonv1", QStringLiteral("WFW-2L"));
    slide("DrehzahlBar4", 1450);
    chooseType("FreieZwangsKonv1", QStringLiteral("WFWL-2L"), 1);
    slide("DrehzahlBar4", 690);
    chooseType("FreieZwangsKonv1", QStringLiteral("DWF"));
    control<QRadioButton>("RadioButton3")->click();
    record("stage 1000");
}

// The heating sliders and fields, each with a decimal comma and a refused value; a free convector
// whose height factor is not 1 shows and takes the entry's own output.
TEST_F(Wiring, TheHeatingOperatingPoint)
{
    chooseType("FreieKonvektion1", QStringLiteral("W1"), 1);
    HeatingEntry& e = heating();
    ASSERT_NE(e.HeightFactor, 1.0);
    struct Input
    {
        const char* slider;
        const char* field;
        double HeatingEntry::*end;
        std::size_t refusal;
    };
    const Input inputs[] = {
        {"ScrollBar1", "Edit1", &HeatingEntry::ReturnTempEnd, 69},
        {"ScrollBar2", "Edit2", &HeatingEntry::MassFlowEnd, 92},
        {"ScrollBar3", "Edit3", &HeatingEntry::OutputEnd, 93},
    };
    for (const Input& in : inputs) {
        slide(in.slider, 0);
        slide(in.slider, 100);
        type(in.field, QString::number(std::trunc(e.*in.end) - 1) + QStringLiteral(",5"));
        const HeatingEntry before = e;
        doubles.messages.expect(MessageKind::Information, text(in.refusal));
        type(in.field, QString::number(std::round(e.*in.end) + 2));
        EXPECT_EQ(e, before) << in.field;
    }
    slide("ScrollBar2", 0); // laminar
    slide("ScrollBar2", 100);
    // A double click into a field checks what it holds.
    control<QLineEdit>("Edit2")->setText(QString::number(std::round((e.MassFlowStart + e.MassFlowEnd) / 2)));
    QTest::mouseDClick(control<QLineEdit>("Edit2"), Qt::LeftButton);
    record("double click on a middle mass flow");
    type("Edit5", QStringLiteral("20"));

    // The update cycle's routines show what the rules return.
    control<QRadioButton>("TR_Schalter")->setChecked(true);
    form->update_grenzen(1);
    record("limits");
    session.Project.HeatingDemand = 100;
    form->Restwaerme();
    record("demand met");
    e.MassFlowStart = 1000, e.MassFlowEnd = 10;
    doubles.messages.expect(MessageKind::Information, text(calculation::InvertedWindowText));
    form->update1(1);
    heating(1).TypeName.setText("WNF1");
    form->Balken_grenzwerte(1);
    record("inverted mass flow window, limits of a WNF1");

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
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    control<QLineEdit>("Edit5")->setFocus();
    control<QLineEdit>("Edit4")->setText(QStringLiteral("75"));
    control<QLineEdit>("Edit4")->setFocus();
    record("75 % entered");
    control<QLineEdit>("Edit4")->setText(QStringLiteral("50"));
    QTest::mouseDClick(control<QLineEdit>("Edit4"), Qt::LeftButton);
    record("50 % double clicked");
    chooseType("FreieZwangsKonv1", QStringLiteral("WFWL-2L"));
    slide("DrehzahlBar4", 400);
}

// The cooling count, stage, fan bar and setting, and return temperature.
TEST_F(Wiring, TheCoolingOperatingPoint)
{
    coolingMode();
    chooseType("FreieZwangsKonv1", QStringLiteral("DWF"));
    control<QRadioButton>("RadioButton7")->click();
    record("stage 1400");
    chooseType("FreieZwangsKonv1", QStringLiteral("WFW-2L"));
    control<UpDown>("UpDown2")->setValue(7);
    record("count arrows at 7");
    type("Edit9", QStringLiteral("40"));
    slide("ScrollBar4", 1600);
    type("Edit8", QStringLiteral("50,0"));
    control<UpDown>("UpDown3")->stepBy(1);
    record("return arrow up");
    type("Edit6", QStringLiteral("24")); // a small mass flow
    type("Edit6", QStringLiteral("17,5"));
    doubles.messages.expectAny(MessageKind::Error);
    type("Edit6", QStringLiteral("abc"));
    // A return temperature without a result is replaced with one note.
    doubles.messages.expect(MessageKind::Message, text(calculation::NoCoolingResultText));
    type("Edit6", QStringLiteral("16"));
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
    const auto before = session.Project.HeatingEntries;
    deleteRow(0, false);
    EXPECT_EQ(session.Project.HeatingEntries, before);
    // After a delete the controls are those of the entry now current: the stage panel of the
    // deleted staged unit no longer shows, and a stage can never set a convector of another series.
    deleteRow(0);
    const HeatingEntry kept = heating(1);
    form->RadioButton2Click();
    EXPECT_EQ(heating(1), kept);
    // A slow fan shows its setting in the label instead of the field.
    fill(heating(2), fixtureType("WFWL-2L", true), "WFWL-2L", 2, 862.5);
    edit(1);

    // Slow fan entries each open at their own speed step, whichever was shown before.
    list(false, "WFWL-2L", 2, 517.5);
    cooling(2).FanSpeed = 862.5;
    form->update1_K(2);
    for (int row : {1, 0, 1})
        edit(row);
    // A thirteenth entry is refused.
    session.EntryBeingAdded = false;
    list(false, "WFW-2L", 12, 1000);
    doubles.messages.expect(MessageKind::Message, text(265));
    press("Erweitern");
    // A cooling entry shows its count and return temperature.
    cooling(2).ReturnTemp = 19;
    edit(1);
    // Closing by the frame writes back as well.
    control<QLineEdit>("Edit9")->setText(QStringLiteral("5"));
    form->close();
    record("count 5, closed by the frame");
    EXPECT_EQ(cooling(2).Count, 5);

    // Appending locks the buttons; closing writes the typed count back.
    session.HeatingEntryIndex = 1;
    list(true, "W1", 2);
    control<QLineEdit>("Edit5")->setText(QStringLiteral("4"));
    press("Erweitern");
    EXPECT_EQ(heating(1).Count, 4);
    trigger("Schliessen1");
    EXPECT_EQ(typeListDisabled, 1);
    EXPECT_EQ(convectorListEnabled, 2) << "once on each close";
}

// Deleting the only entry hides the list; a type chosen then is the new first entry, counted
// and listed.
TEST_F(Wiring, AFirstEntryChosenAfterDeletingTheOnlyOneIsCounted)
{
    for (bool heatingMode : {true, false}) {
        list(heatingMode, heatingMode ? "W1" : "WFW-2L", 1, heatingMode ? 0 : 1000);
        deleteRow(0);
        chooseType(heatingMode ? "FreieKonvektion1" : "FreieZwangsKonv1",
                   QString::fromLatin1(heatingMode ? "W1" : "WFW-2L"));
        trigger("Schliessen1");
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
    form->Listenaufbau();
    record("WNF1 and WFW-2L short of the demand");
    session.Project.CoolingDemand = 900;
    cooling(1).TypeName.setText("WFW-2L");
    form->Listenaufbau();
    record("two WFW-2L meeting it");

    // After a room run: the cooling summary and list show the first entry's temperatures and fan
    // captions; a loaded heating project shows its entry's air flow.
    list(false, "WFW-2L", 2, 1000);
    fill(cooling(1), fixtureType("WNF1", true), "WNF1", 1, 0);
    session.Project.CoolingSecondTemp = 17;
    form->showCoolingSummary();
    form->showCoolingList();
    record("cooling summary and list after a room run");
    session.HeatingMode = session.ProjectLoaded = true;
    fill(heating(1), fixtureType("WNF1", true), "WNF1", 1, 0);
    form->prepareHeatingRun();
    record("heating run prepared for a loaded WNF1");
}

} // namespace
} // namespace tepa::test
