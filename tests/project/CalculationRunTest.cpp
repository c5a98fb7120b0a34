// The room run from the main window: its checks (the core's, in core/calculation/RoomRunTest.cpp)
// stop it with the room data shown; otherwise the calculation window shows the room and its list.
#include "MainWindowFixture.h"

#include "calcwindow/FormControls.h"
#include "core/productdata/ProductData.h"

#include <QFrame>
#include <QScrollBar>
#include <QSignalSpy>

#include <functional>

namespace tepa::test {
namespace {

class CalculationRunTest : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        createCalculationWindow();
    }

    HeatingEntry& heating(int number) { return session->Project.HeatingEntries[static_cast<std::size_t>(number - 1)]; }
    QString shown(const char* name) const { return calc<QLabel>(name)->text(); }
    bool hidden(const char* name) const { return calc<QWidget>(name)->isHidden(); }
    void type(const char* edit, const char* value) { control<QLineEdit>(edit)->setText(QString::fromLatin1(value)); }

    void heatingRoom(const char* roomTemp, const char* flowTemp)
    {
        type("Edit13", "Buero 1"), type("Edit3", roomTemp), type("Edit2", "2000"), type("Edit4", flowTemp);
    }
    void coolingRoom(const char* roomTemp, const char* flowTemp)
    {
        control<QRadioButton>("RadioButton2")->click();
        type("Edit9", roomTemp), type("Edit7", "1500"), type("Edit1", flowTemp), type("Edit5", "16"), type("Edit6", "50");
    }

    // An entry in use of the last type whose name starts with `name`, one convector.
    template <class Entry>
    Entry& fill(Entry& e, const char* name, bool forced, double length, double height, double tr)
    {
        auto types = readAllTypes(installDir(), forced);
        EXPECT_TRUE(types.ok());
        for (const TypeRecord& type : types.value())
            if (type.name.rfind(name, 0) == 0) {
                e.TypeText1.setText(type.dataLine);
                e.TypeText2.setText(forced ? type.fanLine : std::string());
            }
        e.TypeName.setText(name);
        e.Length = length, e.Height = height, e.HeightFactor = 1, e.Count = 1, e.ReturnTemp = tr;
        e.InUse = true;
        return e;
    }
    // Free W1 convectors with these return temperatures.
    void heatingEntries(std::initializer_list<double> returnTemps)
    {
        int i = 0;
        for (double tr : returnTemps)
            fill(heating(++i), "W1", false, 1000, 200, tr).FreeConvection = true;
        session->Project.HeatingEntryCount = i;
        session->HeatingPanelReady = true;
    }
    void retype(const char* name, const char* value)
    {
        auto* edit = control<QLineEdit>(name);
        edit->selectAll();
        QTest::keyClicks(edit, value);
        QTest::keyClick(edit, Qt::Key_Return);
    }
    void run()
    {
        form1->Berechnungen1->setEnabled(true);
        form1->Berechnungen1->trigger();
    }
};

TEST_F(CalculationRunTest, RoomDataChecksStopTheRunWithTheRoomDataShown)
{
    struct Case
    {
        bool cooling;
        const char* roomTemp;
        const char* flowTemp;
        std::size_t message; // 0: the run goes ahead
        QColor panel12;      // after the run, when given
        const char* proposal = nullptr;
    };
    const QColor any;
    const Case cases[] = {
        {false, "40", "75", 0, any},
        {false, "40.1", "75", 70, any},
        {false, "20", "39", 73, formcolours::warningRed()},
        {false, "20", "110,5", 73, any}, // the comma is read as a point
        {true, "30", "25", 0, formcolours::coolingBlue()},
        {true, "30", "25.5", 73, any},
        {true, "41", "16", 70, any},
        {true, "20", "22", 169, any, "16.0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.cooling << " " << c.roomTemp << " " << c.flowTemp);
        form2->hide();
        session->Project.CalculationDone = false;
        c.cooling ? coolingRoom(c.roomTemp, c.flowTemp) : heatingRoom(c.roomTemp, c.flowTemp);
        if (c.message)
            doubles.messages.expect(MessageKind::Message, text(c.message));
        run();
        doubles.messages.verifyAllShown();
        // cooling shows its window before its range checks
        if (!c.cooling || c.proposal) {
            EXPECT_EQ(form2->isHidden(), c.message != 0);
        }
        EXPECT_EQ(session->Project.CalculationDone, c.message == 0);
        if (c.message == 73 || c.proposal) {
            EXPECT_FALSE(control<QGroupBox>("GroupBox2")->isHidden());
        }
        if (c.panel12.isValid()) {
            EXPECT_EQ(panelColour(calc<QFrame>("Panel12")), c.panel12);
        }
        if (c.proposal) {
            EXPECT_EQ(control<QLineEdit>("Edit1")->text(), QString::fromLatin1(c.proposal));
        }
        if (QString::fromLatin1(c.flowTemp).contains(',')) {
            EXPECT_EQ(control<QLineEdit>("Edit4")->text(), QStringLiteral("110.5"));
        }
    }
}

// The run shows the room and its list in the calculation window, in front of the main window
// (again on a second run); closing it enables the main window's print menu and list; the type
// kind picked in the main window loads its type list.
TEST_F(CalculationRunTest, RunShowsTheRoomAndItsListInFront)
{
    form1->show();
    heatingRoom("20", "75");
    heatingEntries({60, 55});
    control<QLineEdit>("Edit16")->setText(QStringLiteral("P-2026-0815"));
    QSignalSpy freeList(calc<QAction>("FreieKonvektion1"), &QAction::triggered);
    session->FreeTypeChosen = true;
    run();
    EXPECT_EQ(freeList.count(), 1);
    EXPECT_FALSE(session->FreeTypeChosen);
    EXPECT_EQ(form2->windowTitle(), form2->BaseTitle + "  " + text(90) + "  Buero 1");
    EXPECT_EQ(calc<QGroupBox>("GroupBox2")->title(), QStringLiteral("Projekt-Info: P-2026-0815"));
    EXPECT_EQ(shown("Label36"), QStringLiteral(" 2000"));
    EXPECT_EQ(calc<QListWidget>("ListBox2")->count(), 2);
    EXPECT_TRUE(control<QListWidget>("ListBox1")->isHidden());
    EXPECT_EQ(form2->y(), form1->y() + 50);
    ASSERT_TRUE(QTest::qWaitForWindowActive(form2.get()));
    form1->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form1.get()));
    run();
    EXPECT_TRUE(QTest::qWaitForWindowActive(form2.get()));
    calc<QAction>("Schliessen1")->trigger();
    EXPECT_TRUE(form1->Drucken1->isEnabled());
    EXPECT_TRUE(form1->Konvliste->isEnabled());

    coolingRoom("26", "16");
    fill(session->Project.CoolingEntries[0], "WFW-2L", true, 1250, 140, 19).FanSpeed = 1200;
    session->Project.CoolingEntryCount = 1;
    session->CoolingPanelReady = true;
    session->RoomTempChanged = true; // cooling never asks: the flags are cleared at once
    QSignalSpy forcedList(calc<QAction>("FreieZwangsKonv1"), &QAction::triggered);
    session->ForcedTypeChosen = true;
    run();
    EXPECT_EQ(forcedList.count(), 1);
    EXPECT_FALSE(session->RoomTempChanged);
    EXPECT_TRUE(session->Project.CalculationDone);
    EXPECT_EQ(shown("Label35"), text(168));
    EXPECT_EQ(shown("Label37"), QStringLiteral("   26"));
    EXPECT_EQ(calc<QListWidget>("ListBox2")->count(), 1);
}

// A loaded project opens with its first entry's fan state as stored; opening changes no entry.
TEST_F(CalculationRunTest, ALoadedProjectReopensAsStored)
{
    struct Case
    {
        bool cooling;
        const char* name;
        double length, speed, setting;
        std::function<void()> check;
    };
    const Case cases[] = {
        // (1350 − 350) / 1000 × 240 = 240 m³/h at most
        {false, "WNF2", 1350, 700, 150,
         [this] {
             EXPECT_EQ(calc<QScrollBar>("DrehzahlBar4")->maximum(), 240);
             EXPECT_EQ(calc<QScrollBar>("DrehzahlBar4")->value(), 150);
             EXPECT_EQ(shown("Label25"), text(183));
         }},
        // 999.95 is what a 1000 rpm stage becomes after a round trip through a rounded display.
        {false, "DWF", 1100, 999.95, 0, [this] { EXPECT_TRUE(calc<QRadioButton>("RadioButton3")->isChecked()); }},
        {false, "DWF", 1100, 1400, 0, [this] { EXPECT_TRUE(calc<QRadioButton>("RadioButton4")->isChecked()); }},
        // A slow fan opens through its first list line, its speed on its step shown as a setting.
        {false, "WFWL-2L", 1250, 862.5, 0,
         [this] {
             EXPECT_EQ(calc<QScrollBar>("DrehzahlBar4")->value(), 862);
             EXPECT_EQ(shown("Label101").trimmed(), QStringLiteral("75.0"));
         }},
        // The setting field matches the stored speed, so leaving it changes nothing.
        {false, "WFW-2L", 1250, 1000, 0,
         [this] {
             EXPECT_EQ(calc<QLineEdit>("Edit4")->text().trimmed(), QStringLiteral("62.5"));
             emit calc<QLineEdit>("Edit4")->editingFinished();
         }},
        {true, "DWF", 1800, 1000, 0,
         [this] {
             EXPECT_TRUE(calc<QRadioButton>("RadioButton6")->isChecked());
             EXPECT_GT(session->Project.CoolingEntries[0].Output, 0);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << " " << c.speed);
        form2->hide();
        c.cooling ? coolingRoom("26", "16") : heatingRoom("20", "75");
        if (c.cooling) {
            fill(session->Project.CoolingEntries[0], c.name, true, c.length, 500, 19).FanSpeed = c.speed;
            session->Project.CoolingEntryCount = 1;
            session->CoolingPanelReady = true;
        } else {
            HeatingEntry& e = fill(heating(1), c.name, true, c.length, 500, 60);
            e.FanSpeed = c.speed, e.FanSetting = c.setting, e.FreeConvection = false;
            session->Project.HeatingEntryCount = 1;
            session->HeatingPanelReady = true;
        }
        session->ProjectLoaded = true;
        run();
        c.check();
        EXPECT_FALSE(session->ProjectLoaded);
        EXPECT_DOUBLE_EQ(c.cooling ? session->Project.CoolingEntries[0].FanSpeed : heating(1).FanSpeed, c.speed);
    }
}

// Room data changed since the last run are asked about: Yes applies them to every entry (a
// return temperature above the new flow is lowered and reported), No puts the values back. Back
// from cooling the room keeps its heating flow temperature: nothing is changed unasked.
TEST_F(CalculationRunTest, ChangedRoomDataAreAskedAboutAndAppliedToEveryEntry)
{
    heatingRoom("20", "70");
    heatingEntries({60, 45, 58});
    run();
    form2->update_grenzen(2);
    form2->update1(2);
    const HeatingEntry second = heating(2);
    ASSERT_GT(second.Output, 0);
    form2->hide();
    control<QRadioButton>("RadioButton2")->click();
    control<QRadioButton>("RadioButton1")->click();
    EXPECT_EQ(control<QLineEdit>("Edit4")->text(), QStringLiteral("70"));
    run();
    EXPECT_DOUBLE_EQ(heating(2).Output, second.Output);

    // At 55 °C flow the return temperature may reach 54 °C: each entry above is reported once.
    retype("Edit4", "55");
    doubles.messages.expect(MessageKind::YesNo, text(114), true)
        .expect(MessageKind::Message, "Konvektor Nr 1   " + text(118))
        .expect(MessageKind::Message, "Konvektor Nr 3   " + text(118));
    run();
    EXPECT_DOUBLE_EQ(session->Project.HeatingFlowTemp, 55);
    EXPECT_DOUBLE_EQ(heating(1).ReturnTemp, heating(1).ReturnTempEnd);
    EXPECT_DOUBLE_EQ(heating(2).ReturnTemp, 45);
    EXPECT_LT(heating(2).Output, second.Output) << "recalculated too";
    EXPECT_TRUE(session->Project.CalculationDone);
    form2->hide();

    retype("Edit3", "24");
    retype("Edit2", "2500");
    doubles.messages.expect(MessageKind::YesNo, text(114), false);
    run();
    EXPECT_DOUBLE_EQ(session->Project.HeatingRoomTemp, 20);
    EXPECT_DOUBLE_EQ(session->Project.HeatingDemand, 2000);
    EXPECT_EQ(control<QLineEdit>("Edit3")->text(), QStringLiteral("20.0"));
    EXPECT_FALSE(session->RoomTempChanged || session->DemandChanged);
    EXPECT_TRUE(form2->isHidden());
}

} // namespace
} // namespace tepa::test
