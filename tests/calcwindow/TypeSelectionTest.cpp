#include "CalcWindowFixture.h"

#include "calcwindow/FormControls.h"
#include "core/engine/NominalRating.h"
#include "core/productdata/ProductData.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>

namespace tepa::test {
namespace {

class TypeSelectionTest : public CalcWindowFixture
{
protected:
    void SetUp() override
    {
        CalcWindowFixture::SetUp();
        designRoom();
        session.Project.HeatingEntryCount = session.Project.CoolingEntryCount = 1;
        session.CentreReturnTemp = true;
    }

    TForm2& open()
    {
        TForm2& window = create();
        window.enableMainPrintMenu = [this] { ++printMenuEnabled; };
        window.enableMainConvectorList = [this] { ++listMenuEnabled; };
        window.show();
        return window;
    }

    HeatingEntry& heating() { return session.currentHeatingEntry(); }
    CoolingEntry& cooling() { return session.currentCoolingEntry(); }

    QString text(std::size_t line) { return QString::fromStdString(session.InterfaceTexts.line(line)); }

    void trigger(const char* action) { control<QAction>(action)->trigger(); }

    void clickItem(const char* listName, int row) { clickRow(control<QListWidget>(listName), row); }
    void chooseAndContinue(const char* menu, const QString& type) { chooseType(menu, type); }
    bool hidden(const char* name) { return control<QWidget>(name)->isHidden(); }

    // A program folder of its own whose free-convection file holds `count` types of the given
    // name and length line.
    void useFreeTypes(int count, const std::string& name, const std::string& lengths)
    {
        ASSERT_TRUE(m_install.isValid());
        session.ProgramDir = m_install.path().toStdString();
        std::ofstream out(session.ProgramDir / FreeTypeFileName, std::ios::binary);
        out << "Freie Konvektion\r\n";
        for (int i = 0; i < count; ++i)
            out << name << "\r\n";
        out << "\r\n";
        for (int i = 0; i < count; ++i)
            out << lengths << "\r\n";
        out << "Typdaten\r\n";
        for (int i = 0; i < count; ++i)
            out << "  4.50  1.300 13.0      2   1              0.0   0.0    13.0      2   1\r\n";
        std::filesystem::copy_file(FixtureInstallDir / HeightFileName, session.ProgramDir / HeightFileName,
                                   std::filesystem::copy_options::overwrite_existing);
    }

    int printMenuEnabled = 0;
    int listMenuEnabled = 0;

private:
    QTemporaryDir m_install;
};

// ---- Loading the type lists ----

TEST_F(TypeSelectionTest, FreeConvectionMenuListsTheFreeTypesAndMarksTheEntryFree)
{
    open();
    trigger("FreieKonvektion1");

    auto* types = control<QListWidget>("ListBox1");
    ASSERT_EQ(types->count(), 6);
    EXPECT_EQ(types->item(0)->text(), QStringLiteral("W1"));
    EXPECT_EQ(types->item(5)->text(), QStringLiteral("WX"));
    EXPECT_EQ(control<QLabel>("Label4")->text(), text(63));
    EXPECT_FALSE(hidden("Panel4"));
    EXPECT_TRUE(hidden("Panel3"));
    EXPECT_TRUE(hidden("Panel1"));
    EXPECT_FALSE(control<QPushButton>("Konweiter")->isEnabled());
    EXPECT_TRUE(heating().FreeConvection);
    EXPECT_TRUE(heating().FreeConvectionB);
}

TEST_F(TypeSelectionTest, ForcedMenuInCoolingListsTheCoolingSeriesAndShowsTheNote)
{
    coolingMode();
    heating().FreeConvection = true;
    heating().FreeConvectionB = true;
    open();
    trigger("FreieZwangsKonv1");

    auto* types = control<QListWidget>("ListBox1");
    ASSERT_EQ(types->count(), 8); // WFW and WFWL in two builds each, three WNF sizes, DWF
    EXPECT_TRUE(types->item(0)->text().startsWith(QStringLiteral("WFW-2L")));
    EXPECT_EQ(control<QLabel>("Label4")->text(), text(46));
    EXPECT_FALSE(hidden("Panel9"));
    EXPECT_FALSE(heating().FreeConvection);
    EXPECT_FALSE(heating().FreeConvectionB);
}

TEST_F(TypeSelectionTest, ALoadCutAtTheTableSizeSaysSo)
{
    useFreeTypes(21, "W1", "0800 1000");
    open();
    doubles.messages.expect(MessageKind::Message, text(264));
    trigger("FreieKonvektion1");
    EXPECT_EQ(control<QListWidget>("ListBox1")->count(), 20);
}

TEST_F(TypeSelectionTest, AMissingTypeFileIsReportedAndTheListKeepsItsTypes)
{
    useFreeTypes(2, "W1", "0800");
    open();
    trigger("FreieKonvektion1");
    std::filesystem::remove(session.ProgramDir / FreeTypeFileName);
    doubles.messages.expectAny(MessageKind::Error);
    trigger("FreieKonvektion1");
    EXPECT_EQ(control<QListWidget>("ListBox1")->count(), 2);
}

// ---- Picking type, length and height ----

TEST_F(TypeSelectionTest, AGradedSeriesOffersEveryHeightWithTheSecondPreselectedThenALengthEnablesWeiter)
{
    open();
    trigger("FreieKonvektion1");
    clickItem("ListBox1", 0); // W1

    auto* lengths = control<QListWidget>("ListBox3");
    ASSERT_EQ(lengths->count(), 5);
    EXPECT_EQ(lengths->item(0)->text(), QStringLiteral("0800"));
    EXPECT_EQ(lengths->item(4)->text(), QStringLiteral("2000"));

    auto* heights = control<QListWidget>("ListBox4");
    ASSERT_EQ(heights->count(), static_cast<int>(session.HeightList.size()));
    for (int i = 0; i < heights->count(); ++i)
        EXPECT_EQ(heights->item(i)->text().toStdString(), session.HeightList[static_cast<std::size_t>(i)]);
    EXPECT_EQ(heights->currentRow(), 1);

    EXPECT_EQ(heating().TypeName.text(), "W1");
    EXPECT_DOUBLE_EQ(heating().Height, 100);
    EXPECT_DOUBLE_EQ(heating().HeightFactor, 0.79); // W1 column of the 100 mm line
    EXPECT_NE(heating().TypeText1.text().find("4.50"), std::string::npos);
    EXPECT_FALSE(control<QPushButton>("Konweiter")->isEnabled());

    heating().HeightFactor = 0;
    clickItem("ListBox3", 1);
    EXPECT_DOUBLE_EQ(heating().Length, 1000);
    EXPECT_EQ(control<QLabel>("Label5")->text(), form->entryDescription("W1", 100, 1000));
    EXPECT_EQ(control<QLabel>("Label76")->text(), control<QLabel>("Label5")->text());
    EXPECT_TRUE(control<QPushButton>("Konweiter")->isEnabled());
    // The height pick follows the length pick with the preselected height.
    EXPECT_DOUBLE_EQ(heating().HeightFactor, 0.79);
}

// Choosing with the keyboard acts as a click on the item then highlighted.
TEST_F(TypeSelectionTest, KeyboardChoicesInTheTypeLengthAndHeightListsAreChoices)
{
    open();
    trigger("FreieKonvektion1");
    clickItem("ListBox1", 0); // W1
    QTest::keyClick(control<QListWidget>("ListBox1"), Qt::Key_Down);
    EXPECT_EQ(heating().TypeName.text(), "W2");

    // The first key highlights the first length, the next one moves on from there.
    auto* lengths = control<QListWidget>("ListBox3");
    QTest::keyClick(lengths, Qt::Key_Down);
    EXPECT_DOUBLE_EQ(heating().Length, lengths->item(0)->text().toDouble());
    QTest::keyClick(lengths, Qt::Key_End);
    EXPECT_DOUBLE_EQ(heating().Length, lengths->item(lengths->count() - 1)->text().toDouble());
    EXPECT_TRUE(control<QPushButton>("Konweiter")->isEnabled());

    auto* heights = control<QListWidget>("ListBox4");
    QTest::keyClick(heights, Qt::Key_Down);
    EXPECT_DOUBLE_EQ(heating().Height, heightOfLine(heights->currentItem()->text().toStdString()));
    EXPECT_NE(heights->currentRow(), 1);
}

TEST_F(TypeSelectionTest, TheHeightFactorFollowsTheSeriesNotThePlaceInTheList)
{
    session.FreeTypeChosen = true;
    session.ChosenTypeRow = "W2";
    open();
    trigger("FreieKonvektion1");
    ASSERT_EQ(control<QListWidget>("ListBox1")->count(), 1);
    clickItem("ListBox1", 0); // W2, first in its list
    EXPECT_DOUBLE_EQ(heating().HeightFactor, 0.77);

    clickItem("ListBox3", 0);
    clickItem("ListBox4", 7); // 200 mm
    EXPECT_DOUBLE_EQ(heating().Height, 200);
    EXPECT_DOUBLE_EQ(heating().HeightFactor, 1.05);
}

TEST_F(TypeSelectionTest, ATypeWithASingleLengthEnablesWeiterAtOnce)
{
    useFreeTypes(1, "W3", "1500");
    open();
    trigger("FreieKonvektion1");
    clickItem("ListBox1", 0);

    EXPECT_TRUE(control<QPushButton>("Konweiter")->isEnabled());
    EXPECT_DOUBLE_EQ(heating().Length, 1500);
    EXPECT_TRUE(control<QLabel>("Label5")->text().endsWith(QStringLiteral("[mm] 1500")));
}

TEST_F(TypeSelectionTest, UngradedFanAndCeilingSeriesGetTheirOneHeightAndFactorOne)
{
    struct Case
    {
        const char* menu;
        const char* type;
        std::string offered;
        double height;
    };
    open();
    const Case cases[] = {
        {"FreieKonvektion1", "WM", session.HeightList.at(1), 100},
        {"FreieZwangsKonv1", "WFW-2L", session.HeightList.at(8), 220},
        {"FreieZwangsKonv1", "WFWL-2L", session.HeightList.at(15), 360},
        {"FreieZwangsKonv1", "DWF", "500", 500}, // the ceiling unit's height is not in the list
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        trigger(c.menu);
        heating().HeightFactor = 0.5;
        cooling().Height = 80;
        clickItem("ListBox1", rowOf("ListBox1", QString::fromLatin1(c.type)));
        auto* heights = control<QListWidget>("ListBox4");
        ASSERT_EQ(heights->count(), 1);
        EXPECT_EQ(heights->item(0)->text().toStdString(), c.offered);
        EXPECT_DOUBLE_EQ(heating().Height, c.height);
        EXPECT_DOUBLE_EQ(heating().HeightFactor, 1);
    }
    // A ceiling unit sets both modes; a heating entry keeps the item cut to its 10 characters.
    EXPECT_DOUBLE_EQ(cooling().Height, 500);
    EXPECT_DOUBLE_EQ(cooling().HeightFactor, 1);
    clickItem("ListBox1", rowOf("ListBox1", QStringLiteral("WFW-2L")));
    EXPECT_EQ(heating().TypeName.text(), "WFW-2L Zwe");
}

TEST_F(TypeSelectionTest, ACoolingPickNamesTheEntryUpToTheFirstBlank)
{
    coolingMode();
    open();
    trigger("FreieZwangsKonv1");
    clickItem("ListBox1", rowOf("ListBox1", QStringLiteral("WFW-4L")));
    EXPECT_EQ(cooling().TypeName.text(), "WFW-4L");
    EXPECT_DOUBLE_EQ(cooling().Height, 220);
    EXPECT_FALSE(cooling().TypeText1.text().empty());
    EXPECT_FALSE(cooling().TypeText2.text().empty());
    EXPECT_TRUE(heating().TypeText1.text().empty()); // the heating entry is not touched

    clickItem("ListBox3", 2);
    EXPECT_DOUBLE_EQ(cooling().Length, 2750);
    EXPECT_TRUE(control<QLabel>("Label3")->text().startsWith(QStringLiteral("WFW-4L ")));
}

TEST_F(TypeSelectionTest, ATypeThatCannotCoolIsQueriedInDualUse)
{
    session.HeatingDualUseOn = true;
    open();
    trigger("FreieKonvektion1");
    doubles.messages.expect(MessageKind::Message, text(231));
    clickItem("ListBox1", 0);
    doubles.messages.verifyAllShown();

    trigger("FreieZwangsKonv1");
    clickItem("ListBox1", rowOf("ListBox1", QStringLiteral("WFW-2L"))); // no question: it cools
}

TEST_F(TypeSelectionTest, LeavingTheTypePanelReturnsToThePreparedPanel)
{
    TForm2& window = open();
    session.HeatingPanelReady = true;
    control<QWidget>("Panel1")->hide();
    trigger("FreieKonvektion1");
    window.Panel4Click();
    EXPECT_TRUE(hidden("Panel4"));
    EXPECT_FALSE(hidden("Panel3"));
    EXPECT_FALSE(hidden("Panel1"));
}

// ---- "weiter" ----

TEST_F(TypeSelectionTest, WeiterInHeatingCalculatesTheFreeConvectorAndShowsItsPanel)
{
    open();
    chooseAndContinue("FreieKonvektion1", QStringLiteral("W1"));

    const HeatingEntry& e = heating();
    EXPECT_TRUE(e.InUse);
    EXPECT_EQ(e.Count, 1);
    EXPECT_LT(e.ReturnTempStart, e.ReturnTempEnd);
    // The first entry starts in the middle of its return temperature window.
    EXPECT_NEAR(e.ReturnTemp, (e.ReturnTempStart + e.ReturnTempEnd) / 2, 1e-9);
    EXPECT_GT(e.Output, 0);
    EXPECT_FALSE(session.CentreReturnTemp);
    EXPECT_TRUE(session.HeatingPanelReady);
    EXPECT_TRUE(session.Project.HeatingInUse);

    EXPECT_TRUE(hidden("Panel4"));
    EXPECT_FALSE(hidden("Panel3"));
    EXPECT_FALSE(hidden("Panel2"));
    EXPECT_TRUE(hidden("Panel6")); // no fan
    EXPECT_EQ(panelColour(control<QWidget>("Panel12")), formcolours::warningRed());
    EXPECT_EQ(control<QLineEdit>("Edit5")->text(), QStringLiteral("1"));
    EXPECT_TRUE(control<QPushButton>("Erweitern")->isEnabled());
    EXPECT_GE(control<QListWidget>("ListBox2")->count(), 1);
    EXPECT_GE(printMenuEnabled, 1);
    EXPECT_GE(listMenuEnabled, 1);
}

TEST_F(TypeSelectionTest, AReturnTemperatureAboveTheFlowIsConfirmedOrKept)
{
    session.CentreReturnTemp = false;
    heating().ReturnTemp = 80;
    open();
    doubles.messages.expect(MessageKind::YesNo, text(68), false);
    chooseAndContinue("FreieKonvektion1", QStringLiteral("W1"));
    doubles.messages.verifyAllShown();
    EXPECT_DOUBLE_EQ(heating().ReturnTemp, 80);
    EXPECT_FALSE(session.Project.HeatingInUse);
    EXPECT_EQ(printMenuEnabled, 0);

    doubles.messages.expect(MessageKind::YesNo, text(68), true);
    control<QPushButton>("Konweiter")->click();
    EXPECT_TRUE(session.Project.HeatingInUse);
    // One below the flow temperature, then calculated at that return temperature.
    EXPECT_GT(heating().Output, 0);
}

TEST_F(TypeSelectionTest, WeiterStartsTheFanSeriesAtTheirLowestSpeedAndACeilingUnitAtStageZero)
{
    open();
    chooseAndContinue("FreieZwangsKonv1", QStringLiteral("WFW-2L"));
    EXPECT_DOUBLE_EQ(heating().FanSpeed, 700);
    EXPECT_EQ(control<QScrollBar>("DrehzahlBar4")->value(), 700);
    EXPECT_EQ(control<QLineEdit>("Edit4")->text(), QStringLiteral("44"));
    EXPECT_FALSE(hidden("Panel6"));

    chooseAndContinue("FreieZwangsKonv1", QStringLiteral("WFWL-2L"));
    EXPECT_DOUBLE_EQ(heating().FanSpeed, 345);
    EXPECT_EQ(control<QScrollBar>("DrehzahlBar4")->value(), 345);
    EXPECT_TRUE(hidden("Edit4"));
    EXPECT_FALSE(control<QLineEdit>("Edit4")->isEnabled());
    EXPECT_FALSE(hidden("Label101"));
    EXPECT_EQ(control<QLabel>("Label101")->text(), QStringLiteral("30"));

    chooseAndContinue("FreieZwangsKonv1", QStringLiteral("DWF"));
    EXPECT_FALSE(hidden("Panel14"));
    EXPECT_TRUE(control<QRadioButton>("RadioButton1")->isChecked());
    EXPECT_DOUBLE_EQ(heating().FanSpeed, 0);
}

TEST_F(TypeSelectionTest, WeiterInCoolingPreparesTheCoolingPanelForAFanConvector)
{
    coolingMode();
    open();
    chooseAndContinue("FreieZwangsKonv1", QStringLiteral("WFW-2L"));

    const CoolingEntry& e = cooling();
    EXPECT_TRUE(e.InUse);
    EXPECT_TRUE(session.CoolingPanelReady);
    EXPECT_DOUBLE_EQ(e.ReturnTemp, 18); // flow 16 plus 2
    EXPECT_EQ(control<QLineEdit>("Edit6")->text(), QStringLiteral("18"));
    EXPECT_DOUBLE_EQ(e.FanSpeed, 700);
    EXPECT_EQ(control<QScrollBar>("ScrollBar4")->value(), 700);
    EXPECT_EQ(control<QLineEdit>("Edit8")->text().trimmed(), QStringLiteral("44"));
    EXPECT_GT(e.Output, 0);
    EXPECT_EQ(control<QLabel>("Label46")->text(), text(178));
    EXPECT_EQ(control<QLabel>("Label66")->text(), QStringLiteral("16.0"));
    EXPECT_EQ(control<QLabel>("Label41")->text(), text(190));
    EXPECT_FALSE(hidden("Panel1"));
    EXPECT_FALSE(hidden("Panel7"));
    EXPECT_TRUE(hidden("Panel2"));
    EXPECT_EQ(panelColour(control<QWidget>("Panel12")), formcolours::coolingBlue());
    EXPECT_FALSE(session.Project.HeatingInUse);
    // A flow of 16 °C at 26 °C and 40 % is above the condensation limit: no warning.
    EXPECT_TRUE(hidden("GroupBox3"));
}

TEST_F(TypeSelectionTest, WeiterInCoolingWarnsOfCondensationOnACoolFlow)
{
    coolingMode();
    session.Project.CoolingHumidity = 70;
    session.Project.CoolingFlowTemp = 12;
    open();
    chooseAndContinue("FreieZwangsKonv1", QStringLiteral("WFW-2L"));
    EXPECT_FALSE(hidden("GroupBox3"));
    EXPECT_EQ(control<QLabel>("Label77")->text(), text(33));
    EXPECT_EQ(control<QLineEdit>("Edit6")->text(), QStringLiteral("14"));
}

TEST_F(TypeSelectionTest, WeiterInCoolingStartsASlowFanAtItsLowestStepAndGivesAPrimaryAirUnitItsAirFlow)
{
    coolingMode();
    open();
    chooseAndContinue("FreieZwangsKonv1", QStringLiteral("WFWL-2L"));
    EXPECT_DOUBLE_EQ(cooling().FanSpeed, 345);
    auto* bar = control<QScrollBar>("ScrollBar4");
    EXPECT_EQ(bar->minimum(), 345);
    EXPECT_EQ(bar->maximum(), 1150);
    EXPECT_EQ(bar->value(), 345);
    EXPECT_FALSE(hidden("Label102"));
    EXPECT_TRUE(hidden("Edit8"));
    EXPECT_EQ(control<QLabel>("Label102")->text().trimmed(), QStringLiteral("30"));

    chooseType("FreieZwangsKonv1", QStringLiteral("WNF2"), 1); // 1350 mm

    EXPECT_DOUBLE_EQ(form->Fan.airFlowLimit, 240);
    EXPECT_EQ(control<QLabel>("Label46")->text(), text(179));
    EXPECT_EQ(control<QLabel>("Label41")->text(), text(208));
    EXPECT_TRUE(hidden("Edit6"));
    EXPECT_TRUE(hidden("Panel8"));
    EXPECT_DOUBLE_EQ(cooling().FanSpeed, 0);
}

TEST_F(TypeSelectionTest, WeiterInDualUseShowsTheRatingOfTheOtherMode)
{
    for (bool heatingMode : {true, false}) {
        SCOPED_TRACE(heatingMode);
        session.HeatingMode = heatingMode;
        session.CoolingMode = !heatingMode;
        session.HeatingDualUseOn = heatingMode;
        session.CoolingDualUseOn = !heatingMode;
        open();
        chooseAndContinue("FreieZwangsKonv1", QStringLiteral("WFW-2L"));

        // The box shows the engine's nominal rating of the mode not being designed.
        const TypeRecord type = fixtureType("WFW-2L", true);
        engine::OtherModeRatingInput in;
        const std::string name = heatingMode ? heating().TypeName.text() : cooling().TypeName.text();
        in.typeName = name; // a view: the name must outlive the call
        in.lengthMm = 1250;
        in.dataLine = type.dataLine;
        in.fanLine = type.fanLine;
        in.currentMode = heatingMode ? engine::Mode::Heating : engine::Mode::Cooling;
        const engine::RatingDisplay expected = engine::ratingDisplay(engine::otherModeRating(in));
        EXPECT_FALSE(hidden("GroupBox4"));
        EXPECT_EQ(control<QLabel>("Label86")->text().toStdString(), expected.Label86);
        EXPECT_EQ(control<QLabel>("Label92")->text().toStdString(), expected.Label92);
        EXPECT_GT(control<QLabel>("Label92")->text().trimmed().toDouble(), 0);
        form.reset();
    }
}

TEST_F(TypeSelectionTest, AnAddedEntryTakesOverTheHeldReturnTemperatureOfTheOneBefore)
{
    open();
    control<QRadioButton>("TR_Schalter")->setChecked(true);
    chooseAndContinue("FreieKonvektion1", QStringLiteral("W1"));
    const double first = session.Project.HeatingEntries[0].ReturnTemp;

    session.EntryBeingAdded = true;
    session.HeatingEntryIndex = 2;
    session.Project.HeatingEntryCount = 2;
    trigger("FreieKonvektion1");
    clickItem("ListBox1", 1); // W2
    clickItem("ListBox3", 2);
    control<QPushButton>("Konweiter")->click();

    const HeatingEntry& added = session.Project.HeatingEntries[1];
    EXPECT_EQ(added.TypeName.text(), "W2");
    EXPECT_DOUBLE_EQ(added.Length, 1200);
    EXPECT_DOUBLE_EQ(added.ReturnTemp, first);
    EXPECT_GT(added.Output, 0);
    EXPECT_TRUE(added.InUse);
    EXPECT_FALSE(session.EntryBeingAdded);
    EXPECT_EQ(session.Project.HeatingEntries[0].Count, 1);
}

} // namespace
} // namespace tepa::test
