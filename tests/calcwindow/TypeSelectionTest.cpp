#include "CalcWindowFixture.h"

#include "core/calculation/TypeChoice.h"
#include "core/engine/NominalRating.h"

// The type panel and "weiter" forward to the type-choice rules (tested in the core) and show
// what they return: each control reaches the rules, each part of the result its widget.
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
        create().enableMainPrintMenu = [this] { ++menusEnabled; };
        form->show();
    }
    int menusEnabled = 0;
};

TEST_F(TypeSelectionTest, TheMenusLoadTheListsAndAReadErrorIsShown)
{
    trigger("FreieKonvektion1");
    EXPECT_EQ(control<QListWidget>("ListBox1")->count(), 6);
    EXPECT_EQ(label("Label4"), text(63));
    EXPECT_TRUE(hidden("Panel9"));

    coolingMode();
    trigger("FreieZwangsKonv1");
    EXPECT_EQ(label("Label4"), text(46));
    EXPECT_FALSE(hidden("Panel9"));

    session.ProgramDir = "/nonexistent";
    doubles.messages.expectAny(MessageKind::Error);
    trigger("FreieKonvektion1");
    doubles.messages.verifyAllShown();
    EXPECT_EQ(control<QListWidget>("ListBox1")->count(), 8); // the list keeps its types
}

// Clicks and keys (arrows, End) in the type, length and height lists reach the rules alike.
TEST_F(TypeSelectionTest, ClicksAndKeysInTheListsPickTypeLengthAndHeight)
{
    session.HeatingDualUseOn = true;
    trigger("FreieKonvektion1");
    doubles.messages.expect(MessageKind::Message, text(calculation::CannotCoolText));
    clickRow(control<QListWidget>("ListBox1"), 0);
    doubles.messages.verifyAllShown();
    EXPECT_EQ(heating().TypeName.text(), "W1");
    EXPECT_EQ(control<QListWidget>("ListBox4")->count(), static_cast<int>(session.HeightList.size()));
    EXPECT_EQ(control<QListWidget>("ListBox4")->currentRow(), 1);

    session.HeatingDualUseOn = false;
    QTest::keyClick(control<QListWidget>("ListBox1"), Qt::Key_Down);
    EXPECT_EQ(heating().TypeName.text(), "W2");
    auto* lengths = control<QListWidget>("ListBox3");
    QTest::keyClick(lengths, Qt::Key_Down);
    EXPECT_DOUBLE_EQ(heating().Length, lengths->item(0)->text().toDouble());
    QTest::keyClick(lengths, Qt::Key_End);
    EXPECT_DOUBLE_EQ(heating().Length, lengths->item(lengths->count() - 1)->text().toDouble());
    EXPECT_TRUE(control<QPushButton>("Konweiter")->isEnabled());
    EXPECT_EQ(label("Label5"), form->entryDescription("W2", 100, heating().Length));

    QTest::keyClick(control<QListWidget>("ListBox4"), Qt::Key_End);
    EXPECT_DOUBLE_EQ(heating().Height, heightOfLine(session.HeightList.back()));

    session.HeatingPanelReady = true;
    form->Panel4Click();
    EXPECT_TRUE(hidden("Panel4"));
    EXPECT_FALSE(hidden("Panel3"));
}

TEST_F(TypeSelectionTest, WeiterInHeatingShowsThePreparedEntry)
{
    chooseType("FreieKonvektion1", QStringLiteral("W1"));
    EXPECT_TRUE(session.Project.HeatingInUse);
    EXPECT_TRUE(hidden("Panel4"));
    EXPECT_TRUE(hidden("Panel6")); // no fan
    EXPECT_EQ(panelColour(control<QWidget>("Panel12")), formcolours::warningRed());
    EXPECT_EQ(control<QLineEdit>("Edit3")->text().toStdString(), calculation::viewOf(heating()).outputText);
    EXPECT_EQ(label("Label41"), text(190));
    EXPECT_GE(control<QListWidget>("ListBox2")->count(), 1);
    EXPECT_GE(menusEnabled, 1);

    // A return temperature above the flow is asked about; no leaves the entry unfinished.
    session.Project.HeatingInUse = false;
    heating().ReturnTemp = 80;
    doubles.messages.expect(MessageKind::YesNo, text(calculation::ReturnAboveFlowText), false);
    control<QPushButton>("Konweiter")->click();
    doubles.messages.verifyAllShown();
    EXPECT_FALSE(session.Project.HeatingInUse);
}

TEST_F(TypeSelectionTest, WeiterStartsTheFanControlsAndTheOtherModesRating)
{
    chooseType("FreieZwangsKonv1", QStringLiteral("WFWL-2L"));
    EXPECT_EQ(control<QScrollBar>("DrehzahlBar4")->value(), 345);
    EXPECT_TRUE(hidden("Edit4"));
    EXPECT_FALSE(hidden("Label101"));
    EXPECT_EQ(label("Label101"), QStringLiteral("30"));

    chooseType("FreieZwangsKonv1", QStringLiteral("DWF"));
    EXPECT_FALSE(hidden("Panel14"));
    EXPECT_TRUE(control<QRadioButton>("RadioButton1")->isChecked());
    EXPECT_DOUBLE_EQ(heating().FanSpeed, 0);

    // In dual use the rating of the other mode shows.
    session.HeatingDualUseOn = true;
    chooseType("FreieZwangsKonv1", QStringLiteral("WFW-2L"));
    const TypeRecord type = fixtureType("WFW-2L", true);
    const std::string name = heating().TypeName.text();
    const engine::RatingDisplay expected = engine::ratingDisplay(
        engine::otherModeRating({name, 1250, type.dataLine, type.fanLine, engine::Mode::Heating}));
    EXPECT_FALSE(hidden("GroupBox4"));
    EXPECT_EQ(label("Label86").toStdString(), expected.Label86);
    EXPECT_EQ(label("Label92").toStdString(), expected.Label92);
}

TEST_F(TypeSelectionTest, WeiterInCoolingShowsTheReturnWindowFanAndCondensationWarning)
{
    coolingMode();
    session.Project.CoolingHumidity = 70;
    session.Project.CoolingFlowTemp = 12;
    chooseType("FreieZwangsKonv1", QStringLiteral("WFW-2L"));
    EXPECT_EQ(control<QLineEdit>("Edit6")->text(), QStringLiteral("14"));
    EXPECT_EQ(control<UpDown>("UpDown3")->maximum(), 24);
    EXPECT_EQ(control<QScrollBar>("ScrollBar4")->value(), 700);
    EXPECT_EQ(label("Label66"), QStringLiteral("12.0"));
    EXPECT_FALSE(hidden("GroupBox3"));
    const auto warning = calculation::dewPointWarning(session.Project);
    ASSERT_TRUE(warning);
    EXPECT_EQ(label("Label77"), text(calculation::CondensationText));
    EXPECT_EQ(label("Label81").toStdString(), warning->lowestFlowText);
    EXPECT_EQ(panelColour(control<QWidget>("Panel12")), formcolours::coolingBlue());

    chooseType("FreieZwangsKonv1", QStringLiteral("WNF2"), 1); // 1350 mm
    EXPECT_DOUBLE_EQ(form->Fan.airFlowLimit, 240);
    EXPECT_EQ(label("Label41"), text(208));
    EXPECT_TRUE(hidden("Edit6"));
    EXPECT_TRUE(hidden("Panel8"));
}

} // namespace
} // namespace tepa::test
