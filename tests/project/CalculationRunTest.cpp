// The room run from the main window: a failed check shows the room data, else the calculation window.
#include "MainWindowFixture.h"

#include "core/productdata/ProductData.h"

#include <QScrollBar>
#include <QSignalSpy>

#include <string_view>
#include <tuple>

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

// Each stop shows its box with the room data; a comma is read as a point.
TEST_F(CalculationRunTest, RoomDataChecksStopTheRunWithTheRoomDataShown)
{
    const std::tuple<bool, const char*, const char*> cases[] = {
        {false, "40", "75"}, {false, "40.1", "75"}, {false, "20", "110,5"},
        {true, "30", "25"},  {true, "41", "16"},    {true, "20", "22"},
    };
    recordBoxes = true;
    createWindow();
    createCalculationWindow();
    GoldenLines golden;
    for (const auto& [cooling, roomTemp, flowTemp] : cases) {
        form2->hide();
        session->Project.CalculationDone = false;
        cooling ? coolingRoom(roomTemp, flowTemp) : heatingRoom(roomTemp, flowTemp);
        run();
        golden({cooling ? "cooling" : "heating", roomTemp, flowTemp, boxes.taken(),
                form2->isHidden() ? "window hidden" : "window shown",
                session->Project.CalculationDone ? "done" : "not done",
                control<QGroupBox>("GroupBox2")->isHidden() ? "room data hidden" : "room data shown",
                control<QLineEdit>(cooling ? "Edit1" : "Edit4")->text()});
    }
}

// The run shows the room and its list in front (also the second time); closing the window
// enables printing and the list; the type kind picked loads its type list.
TEST_F(CalculationRunTest, RunShowsTheRoomAndItsListInFront)
{
    form1->show();
    heatingRoom("20", "75");
    heatingEntries({60, 55});
    control<QLineEdit>("Edit16")->setText(QStringLiteral("P-2026-0815"));
    QSignalSpy freeList(calc<QAction>("FreieKonvektion1"), &QAction::triggered);
    QSignalSpy forcedList(calc<QAction>("FreieZwangsKonv1"), &QAction::triggered);
    GoldenLines golden;
    const auto shows = [&](const char* what) {
        golden({what, QString("type lists %1 %2").arg(freeList.count()).arg(forcedList.count()), form2->windowTitle(),
                calc<QGroupBox>("GroupBox2")->title(), shown("Label35"), shown("Label36"), shown("Label37"),
                QString("%1 rows").arg(calc<QListWidget>("ListBox2")->count())});
    };
    session->FreeTypeChosen = true;
    run();
    shows("heating");
    EXPECT_FALSE(session->FreeTypeChosen);
    EXPECT_TRUE(control<QListWidget>("ListBox1")->isHidden());
    EXPECT_EQ(form2->y(), form1->y() + 50);
    ASSERT_TRUE(QTest::qWaitForWindowActive(form2.get()));
    form1->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form1.get()));
    run();
    EXPECT_TRUE(QTest::qWaitForWindowActive(form2.get()));
    calc<QAction>("Schliessen1")->trigger();
    EXPECT_TRUE(form1->Drucken1->isEnabled() && form1->Konvliste->isEnabled());

    coolingRoom("26", "16");
    fill(session->Project.CoolingEntries[0], "WFW-2L", true, 1250, 140, 19).FanSpeed = 1200;
    session->Project.CoolingEntryCount = 1;
    session->CoolingPanelReady = true;
    session->RoomTempChanged = true; // cooling never asks: the flags are cleared at once
    session->ForcedTypeChosen = true;
    run();
    shows("cooling");
    EXPECT_FALSE(session->RoomTempChanged);
    EXPECT_TRUE(session->Project.CalculationDone);
}

// A loaded project opens with its first entry's fan state as stored (999.95: a 1000 rpm stage
// after a rounded display).
TEST_F(CalculationRunTest, ALoadedProjectReopensAsStored)
{
    const std::tuple<bool, const char*, double, double, double> cases[] = {
        {false, "WNF2", 1350, 700, 150},   {false, "DWF", 1100, 999.95, 0}, {false, "DWF", 1100, 1400, 0},
        {false, "WFWL-2L", 1250, 862.5, 0}, {false, "WFW-2L", 1250, 1000, 0}, {true, "DWF", 1800, 1000, 0},
    };
    GoldenLines golden;
    for (const auto& [cooling, name, length, speed, setting] : cases) {
        form2->hide();
        cooling ? coolingRoom("26", "16") : heatingRoom("20", "75");
        if (cooling) {
            fill(session->Project.CoolingEntries[0], name, true, length, 500, 19).FanSpeed = speed;
            session->Project.CoolingEntryCount = 1;
            session->CoolingPanelReady = true;
        } else {
            HeatingEntry& e = fill(heating(1), name, true, length, 500, 60);
            e.FanSpeed = speed, e.FanSetting = setting, e.FreeConvection = false;
            session->Project.HeatingEntryCount = 1;
            session->HeatingPanelReady = true;
        }
        session->ProjectLoaded = true;
        run();
        if (std::string_view(name) == "WFW-2L")
            emit calc<QLineEdit>("Edit4")->editingFinished();
        const auto* bar = calc<QScrollBar>("DrehzahlBar4");
        QString stages;
        for (const char* radio : {"RadioButton3", "RadioButton4", "RadioButton6"})
            stages += calc<QRadioButton>(radio)->isChecked() ? "1" : "0";
        golden({name, QString::number(speed), QString("bar %1 of %2").arg(bar->value()).arg(bar->maximum()),
                stages, shown("Label25"), shown("Label101").trimmed(), calc<QLineEdit>("Edit4")->text().trimmed()});
        EXPECT_FALSE(session->ProjectLoaded);
        EXPECT_DOUBLE_EQ(cooling ? session->Project.CoolingEntries[0].FanSpeed : heating(1).FanSpeed, speed);
        if (cooling)
            EXPECT_GT(session->Project.CoolingEntries[0].Output, 0);
    }
}

// Changed room data are asked about: Yes applies them to every entry (a return temperature above
// the new flow is lowered and reported), No puts them back. A mode switch changes nothing unasked.
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
