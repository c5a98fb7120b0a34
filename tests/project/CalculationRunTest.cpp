#include "MainWindowFixture.h"

#include "calcwindow/FormControls.h"
#include "core/productdata/ProductData.h"

#include <QFrame>
#include <QScrollBar>
#include <QSignalSpy>

#include <type_traits>

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

    HeatingEntry& heating(int number)
    {
        return session->Project.HeatingEntries[static_cast<std::size_t>(number - 1)];
    }

    // The room data as typed into the main window's heating fields.
    void heatingRoom(const char* roomTemp, const char* demand, const char* flowTemp)
    {
        control<QLineEdit>("Edit13")->setText(QStringLiteral("Buero 1"));
        control<QLineEdit>("Edit3")->setText(QString::fromLatin1(roomTemp));
        control<QLineEdit>("Edit2")->setText(QString::fromLatin1(demand));
        control<QLineEdit>("Edit4")->setText(QString::fromLatin1(flowTemp));
    }

    void coolingRoom(const char* roomTemp, const char* flowTemp)
    {
        control<QRadioButton>("RadioButton2")->click();
        control<QLineEdit>("Edit9")->setText(QString::fromLatin1(roomTemp));
        control<QLineEdit>("Edit7")->setText(QStringLiteral("1500"));
        control<QLineEdit>("Edit1")->setText(QString::fromLatin1(flowTemp));
        control<QLineEdit>("Edit5")->setText(QStringLiteral("16"));
        control<QLineEdit>("Edit6")->setText(QStringLiteral("50"));
    }

    // The last type of the free (or forced) type list whose name starts with `name`.
    static TypeRecord typeNamed(const char* name, bool forced)
    {
        TypeRecord record;
        auto types = readAllTypes(installDir(), forced);
        EXPECT_TRUE(types.ok());
        if (types.ok())
            for (const TypeRecord& type : types.value())
                if (type.name.rfind(name, 0) == 0)
                    record = type;
        return record;
    }

    // An entry in use of this type, one convector, height factor 1.
    template <class Entry>
    static Entry&
    fill(Entry& e, const char* name, bool forced, double length, double height, double returnTemp)
    {
        const TypeRecord record = typeNamed(name, forced);
        e.TypeName.setText(name);
        e.TypeText1.setText(record.dataLine);
        if (forced)
            e.TypeText2.setText(record.fanLine);
        e.Length = length;
        e.Height = height;
        e.HeightFactor = 1;
        e.Count = 1;
        e.ReturnTemp = returnTemp;
        e.InUse = true;
        return e;
    }

    // Free W1 convectors of 1000 mm in use with these return temperatures, calculated at the
    // room data already in the record.
    void heatingEntries(std::initializer_list<double> returnTemps)
    {
        int i = 0;
        for (double tr : returnTemps)
            fill(heating(++i), "W1", false, 1000, 200, tr).FreeConvection = true;
        session->Project.HeatingEntryCount = i;
        session->HeatingPanelReady = true;
    }

    // The first heating or cooling entry of a loaded project: a fan unit at its stored speed.
    template <class Entry>
    Entry& loaded(Entry& e, const char* name, double length, double height, double speed, double returnTemp)
    {
        fill(e, name, true, length, height, returnTemp).FanSpeed = speed;
        if constexpr (std::is_same_v<Entry, HeatingEntry>) {
            session->Project.HeatingEntryCount = 1;
            session->HeatingPanelReady = true;
        } else {
            session->Project.CoolingEntryCount = 1;
            session->CoolingPanelReady = true;
        }
        session->ProjectLoaded = true;
        return e;
    }

    // Types a value into a main-window field and leaves it with Enter, as the planner would.
    void retype(const char* name, const char* value)
    {
        auto* edit = control<QLineEdit>(name);
        edit->selectAll();
        QTest::keyClicks(edit, value);
        QTest::keyClick(edit, Qt::Key_Return);
    }

    HeatingEntry& loadedFanEntry(const char* name, double length, double speed)
    {
        return loaded(heating(1), name, length, 500, speed, 60);
    }

    void run()
    {
        form1->Berechnungen1->setEnabled(true);
        form1->Berechnungen1->trigger();
    }

    QColor panel12Colour() const { return panelColour(form2->Panel12); }
};

// --- Checks of the room data -------------------------------------------------------------------

TEST_F(CalculationRunTest, RoomDataOutsideTheirInclusiveLimitsStopTheRunWithTheRoomDataShown)
{
    struct Case
    {
        bool cooling;
        const char* roomTemp;
        const char* flowTemp;
        std::size_t message; // 0: the run goes ahead
        QColor panel12;      // after the run, when given
    };
    const QColor any;
    const Case cases[] = {
        {false, "40", "75", 0, any},
        {false, "0", "75", 0, any},
        {false, "40.1", "75", 70, any},
        {false, "20", "39", 73, formcolours::warningRed()},
        {false, "20", "110,5", 73, any}, // the comma is read as a point
        {true, "30", "25", 0, formcolours::coolingBlue()},
        {true, "30", "25.5", 73, any},
        {true, "41", "16", 70, any},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.cooling << " " << c.roomTemp << " " << c.flowTemp);
        form2->hide();
        session->Project.CalculationDone = false;
        if (c.cooling)
            coolingRoom(c.roomTemp, c.flowTemp);
        else
            heatingRoom(c.roomTemp, "2000", c.flowTemp);
        if (c.message)
            doubles.messages.expect(MessageKind::Message, text(c.message));
        run();
        doubles.messages.verifyAllShown();
        if (!c.cooling) { // cooling shows its window before it checks the room data
            EXPECT_EQ(form2->isHidden(), c.message != 0);
        }
        EXPECT_EQ(session->Project.CalculationDone, c.message == 0);
        if (c.message == 73) {
            EXPECT_FALSE(control<QGroupBox>("GroupBox2")->isHidden());
        }
        if (c.panel12.isValid()) {
            EXPECT_EQ(panel12Colour(), c.panel12);
        }
        if (!c.cooling && QString::fromLatin1(c.flowTemp).contains(',')) {
            EXPECT_EQ(control<QLineEdit>("Edit4")->text(), QStringLiteral("110.5"));
        }
    }
}

TEST_F(CalculationRunTest, CoolingFlowAboveTheRoomProposesFourKelvinBelow)
{
    coolingRoom("20", "22");
    doubles.messages.expect(MessageKind::Message, text(169));
    run();
    EXPECT_EQ(control<QLineEdit>("Edit1")->text(), QStringLiteral("16.0"));
    EXPECT_FALSE(session->Project.CalculationDone);
    EXPECT_TRUE(form2->isHidden());
}

// --- Preparing the calculation window ----------------------------------------------------------

TEST_F(CalculationRunTest, HeatingRunWithEntriesShowsTheRoomAndItsList)
{
    heatingRoom("20", "2000", "75");
    heatingEntries({60, 55});
    control<QLineEdit>("Edit16")->setText(QStringLiteral("P-2026-0815"));
    run();

    EXPECT_FALSE(form2->isHidden());
    EXPECT_EQ(form2->windowTitle(), form2->BaseTitle + "  " + text(90) + "  Buero 1");
    EXPECT_EQ(form2->GroupBox2->title(), QStringLiteral("Projekt-Info: P-2026-0815"));
    EXPECT_EQ(form2->Label36->text(), QStringLiteral(" 2000"));
    EXPECT_EQ(form2->Label38->text(), QStringLiteral("75.0"));
    EXPECT_EQ(form2->Label35->text(), text(26));
    EXPECT_EQ(form2->ListBox2->count(), 2);
    EXPECT_EQ(panel12Colour(), formcolours::warningRed());
    EXPECT_TRUE(form2->Erweitern->isEnabled());
    EXPECT_TRUE(form2->Panel1->isHidden());
    EXPECT_FALSE(form2->Panel3->isHidden());
    EXPECT_TRUE(session->Project.CalculationDone);
    EXPECT_TRUE(control<QListWidget>("ListBox1")->isHidden());
    EXPECT_EQ(form2->y(), form1->y() + 50);
    // At least the form's height; taller where the controls need more in the desktop's font.
    EXPECT_GE(form2->height(), 565);
}

TEST_F(CalculationRunTest, HeatingRunWithoutEntriesHidesTheList)
{
    heatingRoom("20", "2000", "75");
    run();
    EXPECT_FALSE(form2->isHidden());
    EXPECT_TRUE(form2->ListBox2->isHidden());
    EXPECT_FALSE(form2->Panel3->isHidden()); // shown for the first type, but not yet usable
    EXPECT_FALSE(form2->Panel3->isEnabled());
}

TEST_F(CalculationRunTest, ThePickedTypeKindLoadsItsTypeList)
{
    heatingRoom("20", "2000", "75");
    QSignalSpy freeList(form2->FreieKonvektion1, &QAction::triggered);
    QSignalSpy forcedList(form2->FreieZwangsKonv1, &QAction::triggered);
    session->FreeTypeChosen = true;
    run();
    EXPECT_EQ(freeList.count(), 1);
    EXPECT_EQ(forcedList.count(), 0);
    EXPECT_FALSE(session->FreeTypeChosen);

    session->ForcedTypeChosen = true;
    run();
    EXPECT_EQ(freeList.count(), 1);
    EXPECT_EQ(forcedList.count(), 1);
    EXPECT_FALSE(session->ForcedTypeChosen);
}

TEST_F(CalculationRunTest, ClosingTheWindowAfterTheRunEnablesThePrintMenus)
{
    heatingRoom("20", "2000", "75");
    heatingEntries({60});
    run();
    form2->Schliessen1->trigger();
    EXPECT_TRUE(form1->Drucken1->isEnabled());
    EXPECT_TRUE(form1->Konvliste->isEnabled());
    EXPECT_TRUE(session->Project.HeatingInUse);
}

TEST_F(CalculationRunTest, LoadedPrimaryAirEntryOpensWithItsAirFlowOnTheFanBar)
{
    heatingRoom("20", "2000", "75");
    HeatingEntry& e =
        loaded(heating(1), "WNF2", 1350, 140, 700, 60); // (1350 − 350) / 1000 × 240 = 240 m³/h at most
    e.FanSetting = 150;
    run();

    EXPECT_FALSE(session->ProjectLoaded);
    EXPECT_EQ(form2->DrehzahlBar4->maximum(), 240);
    EXPECT_EQ(form2->DrehzahlBar4->value(), 150);
    EXPECT_EQ(form2->Edit4->text(), QStringLiteral("150"));
    EXPECT_EQ(form2->Label25->text(), text(183));
    EXPECT_FALSE(form2->Panel6->isHidden());
}

TEST_F(CalculationRunTest, LoadedCeilingUnitsReopenAtTheirStoredStage)
{
    struct Case
    {
        double storedSpeed;
        const char* stage;
    };
    // 999.95 is what a 1000 rpm stage becomes after a round trip through a rounded display.
    for (const Case& c :
         {Case{700, "RadioButton2"}, Case{999.95, "RadioButton3"}, Case{1400, "RadioButton4"}}) {
        SCOPED_TRACE(c.storedSpeed);
        heatingRoom("20", "2000", "75");
        HeatingEntry& e = loadedFanEntry("DWF", 1100, c.storedSpeed);
        run();
        EXPECT_TRUE(form2->findChild<QRadioButton*>(QString::fromLatin1(c.stage))->isChecked());
        EXPECT_DOUBLE_EQ(e.FanSpeed, c.storedSpeed); // opening the room changes no entry
        EXPECT_FALSE(form2->Panel14->isHidden());
        form2->hide();
    }
}

TEST_F(CalculationRunTest, LoadedSlowFanOpensThroughItsFirstListLine)
{
    heatingRoom("20", "2000", "75");
    HeatingEntry& e = loadedFanEntry("WFWL-2L", 1250, 862.5);
    run();

    // The entry is opened as if edited: its speed stays on its step and shows as a setting.
    EXPECT_EQ(form2->DrehzahlBar4->maximum(), 1150);
    EXPECT_EQ(form2->DrehzahlBar4->value(), 862);
    EXPECT_DOUBLE_EQ(e.FanSpeed, 862.5);
    EXPECT_EQ(form2->Label101->text().trimmed(), QStringLiteral("75.0")); // 862.5 of 1150 rpm
    EXPECT_FALSE(form2->Label101->isHidden());
    EXPECT_TRUE(form2->Edit4->isHidden());
    EXPECT_FALSE(session->ProjectLoaded);
}

TEST_F(CalculationRunTest, FanSettingFieldMatchesTheStoredSpeedSoEnteringItChangesNothing)
{
    heatingRoom("20", "2000", "75");
    HeatingEntry& e = loadedFanEntry("WFW-2L", 1250, 1000);
    run();

    EXPECT_EQ(form2->Edit4->text().trimmed(), QStringLiteral("62.5"));
    // Leaving the field applies what it shows.
    emit form2->Edit4->editingFinished();
    EXPECT_DOUBLE_EQ(e.FanSpeed, 1000);
}

TEST_F(CalculationRunTest, LoadedCoolingCeilingUnitReopensAtItsStoredStage)
{
    coolingRoom("26", "16");
    CoolingEntry& c = loaded(session->Project.CoolingEntries[0], "DWF", 1800, 500, 1000, 19);
    run();

    EXPECT_TRUE(form2->RadioButton6->isChecked());
    EXPECT_FALSE(form2->RadioButton5->isChecked());
    EXPECT_DOUBLE_EQ(c.FanSpeed, 1000);
    EXPECT_GT(c.Output, 0);
    EXPECT_FALSE(form2->Panel15->isHidden());
    EXPECT_FALSE(session->ProjectLoaded);
}

TEST_F(CalculationRunTest, CoolingRunWithAnEntryShowsTheRoomAndItsList)
{
    coolingRoom("26", "16");
    CoolingEntry& c = loaded(session->Project.CoolingEntries[0], "WFW-2L", 1250, 140, 1200, 19);
    c.Count = 2;
    session->ProjectLoaded = false;
    session->RoomTempChanged = true; // cooling never asks: the flags are cleared at once
    run();

    EXPECT_FALSE(session->RoomTempChanged);
    EXPECT_TRUE(session->Project.CalculationDone);
    EXPECT_EQ(form2->Label35->text(), text(168));
    EXPECT_EQ(form2->Label33->text(), text(190));
    EXPECT_EQ(form2->Label37->text(), QStringLiteral("   26"));
    EXPECT_EQ(form2->Label95->text(), text(188));
    EXPECT_EQ(form2->Label96->text(), QStringLiteral("16.0"));
    EXPECT_EQ(form2->Label19->text(), text(178));
    EXPECT_EQ(form2->ListBox2->count(), 1);
    EXPECT_FALSE(form2->GroupBox1->isHidden());
    EXPECT_TRUE(form2->Erweitern->isEnabled());
    EXPECT_FALSE(form2->Panel1->isHidden());
    EXPECT_TRUE(form2->Panel3->isHidden());
    EXPECT_EQ(form2->Label41->text(), text(190));
}

// --- Changed room data with existing entries ---------------------------------------------------

TEST_F(CalculationRunTest, LoweredFlowTemperatureReportsEachEntryAboveItsNewLimitOnce)
{
    heatingRoom("20", "2000", "75");
    heatingEntries({60, 45, 58});
    run();
    ASSERT_FALSE(session->FlowTempChanged);

    // At 55 °C flow the return temperature may reach 54 °C.
    retype("Edit4", "55");
    ASSERT_TRUE(session->FlowTempChanged);
    doubles.messages.expect(MessageKind::YesNo, text(114), true)
        .expect(MessageKind::Message, "Konvektor Nr 1   " + text(118))
        .expect(MessageKind::Message, "Konvektor Nr 3   " + text(118));
    run();

    EXPECT_DOUBLE_EQ(heating(1).ReturnTemp, heating(1).ReturnTempEnd);
    EXPECT_LT(heating(1).ReturnTemp, 55);
    EXPECT_DOUBLE_EQ(heating(2).ReturnTemp, 45);
    EXPECT_DOUBLE_EQ(heating(3).ReturnTemp, heating(3).ReturnTempEnd);
    EXPECT_FALSE(session->FlowTempChanged);
    EXPECT_TRUE(session->Project.CalculationDone);
}

TEST_F(CalculationRunTest, RaisedRoomTemperatureAnsweredYesRecalculatesWithoutNeedlessReports)
{
    heatingRoom("20", "2000", "75");
    heatingEntries({60});
    run();
    const double outputBefore = heating(1).Output;

    retype("Edit3", "24");
    ASSERT_TRUE(session->RoomTempChanged);
    doubles.messages.expect(MessageKind::YesNo, text(114), true);
    run();
    EXPECT_DOUBLE_EQ(session->Project.HeatingRoomTemp, 24);
    EXPECT_LT(heating(1).Output, outputBefore); // less temperature difference, less output
    EXPECT_FALSE(session->RoomTempChanged);
}

TEST_F(CalculationRunTest, ChangedRoomDataAnsweredNoRestoresThePreviousValues)
{
    heatingRoom("20", "2000", "75");
    heatingEntries({60});
    run();
    form2->hide();

    retype("Edit3", "24");
    retype("Edit2", "2500");
    ASSERT_TRUE(session->RoomTempChanged);
    ASSERT_TRUE(session->DemandChanged);
    doubles.messages.expect(MessageKind::YesNo, text(114), false);
    run();

    EXPECT_DOUBLE_EQ(session->Project.HeatingRoomTemp, 20);
    EXPECT_DOUBLE_EQ(session->Project.HeatingDemand, 2000);
    EXPECT_DOUBLE_EQ(session->Project.HeatingFlowTemp, 75);
    EXPECT_EQ(control<QLineEdit>("Edit3")->text(), QStringLiteral("20.0"));
    EXPECT_FALSE(session->RoomTempChanged);
    EXPECT_FALSE(session->DemandChanged);
    EXPECT_TRUE(form2->isHidden());
}

// Back from cooling the room keeps its heating flow temperature: nothing is changed unasked.
// A flow temperature the planner then types is a change the run asks about and applies to
// every entry.
TEST_F(CalculationRunTest, ReturningFromCoolingKeepsTheHeatingFlowTemperature)
{
    heatingRoom("20", "2000", "70");
    heatingEntries({60, 55});
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
    EXPECT_DOUBLE_EQ(session->Project.HeatingFlowTemp, 70);
    EXPECT_DOUBLE_EQ(heating(2).Output, second.Output);

    retype("Edit4", "65");
    doubles.messages.expect(MessageKind::YesNo, text(114), true);
    run();
    EXPECT_DOUBLE_EQ(session->Project.HeatingFlowTemp, 65);
    EXPECT_LT(heating(2).Output, second.Output); // the second entry is recalculated too
}

// A second run brings the calculation window in front of the main window again.
TEST_F(CalculationRunTest, RunningAgainBringsTheWindowToTheFront)
{
    form1->show();
    heatingRoom("20", "2000", "75");
    heatingEntries({60});
    run();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form2.get()));
    form1->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form1.get()));
    run();
    EXPECT_TRUE(QTest::qWaitForWindowActive(form2.get()));
}

} // namespace
} // namespace tepa::test
