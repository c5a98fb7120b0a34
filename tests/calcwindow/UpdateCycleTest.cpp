#include "core/calculation/UpdateCycle.h"

#include "CalcWindowFixture.h"

#include "core/calculation/RoomList.h"

#include <QPalette>

#include <initializer_list>
#include <string>
#include <vector>

// The heating update cycle's routines and the list forward to the rules (tested in the core) and
// show what they return: each part of the result reaches its widget. The cooling routines are
// seen through the cooling inputs (OperatingPointTest).
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
        fill(heating(1), fixtureType("W1", false), "W1", 1, 0);
        heating(1).Count = 3;
        session.Project.HeatingEntryCount = 1;
    }

    int slider(const char* name) { return control<QScrollBar>(name)->value(); }
    // The texts of labels and fields, in order.
    std::vector<std::string> shown(std::initializer_list<const char*> names)
    {
        std::vector<std::string> texts;
        for (const char* name : names) {
            auto* edit = form->findChild<QLineEdit*>(QString::fromLatin1(name));
            texts.push_back((edit ? edit->text() : label(name)).toStdString());
        }
        return texts;
    }
};

TEST_F(UpdateCycleTest, TheHeatingRoutinesShowWhatTheRulesReturn)
{
    Session copy = session;
    const calculation::HeatingHeading heading = calculation::update0(copy, 1);
    const calculation::HeatingLimits limits = calculation::update_grenzen(copy, 1, true);
    const calculation::HeatingUpdate update = calculation::update1(copy, 1, false);

    form->update0(1);
    EXPECT_EQ(shown({"Edit5", "Label17", "Label5", "Label76"}),
              (std::vector<std::string>{heading.countText, form->text(heading.modeLine).toStdString(),
                                        heading.description, heading.description}));
    EXPECT_EQ(control<UpDown>("UpDown1")->value(), 3);
    EXPECT_TRUE(control<QWidget>("Panel6")->isHidden());

    control<QRadioButton>("TR_Schalter")->setChecked(true);
    form->update_grenzen(1);
    EXPECT_EQ(shown({"Label9", "Label7", "Label13", "Label12", "Label16", "Label14", "Label28"}),
              (std::vector<std::string>{limits.returnEndText, limits.returnStartText, limits.massEndText,
                                        limits.massStartText, limits.outputEndText, limits.outputStartText,
                                        limits.soundLevelText}));

    QSignalSpy moves(control<QScrollBar>("ScrollBar1"), &QScrollBar::valueChanged);
    form->update1(1);
    EXPECT_EQ(session.Project, copy.Project);
    ASSERT_TRUE(update.point && update.residual);
    const calculation::HeatingPointView& p = *update.point;
    EXPECT_EQ(shown({"Edit1", "Edit2", "Edit3", "Label27", "Label20", "Label21"}),
              (std::vector<std::string>{
                  p.returnTempText, p.massFlowText, p.outputText, update.pressureDropText,
                  form->text(update.residual->captionLine).toStdString(), update.residual->valueText}));
    EXPECT_EQ((std::vector<int>{slider("ScrollBar1"), slider("ScrollBar2"), slider("ScrollBar3")}),
              (std::vector<int>{p.returnTempPosition, p.massFlowPosition, p.outputPosition}));
    EXPECT_EQ(moves.count(), 0); // set quietly: the slider's handler is the user's

    // A surplus shows green; an inverted window only its note.
    session.Project.HeatingDemand = 100;
    form->Restwaerme();
    EXPECT_EQ(control<QLabel>("Label21")->palette().color(QPalette::WindowText),
              formcolours::demandMetGreen());
    EXPECT_EQ(label("Label20"), form->text(calculation::SurplusText));
    heating(1).MassFlowStart = 1000;
    heating(1).MassFlowEnd = 10;
    control<QLineEdit>("Edit3")->setText(QStringLiteral("unchanged"));
    doubles.messages.expect(MessageKind::Information, form->text(calculation::InvertedWindowText));
    form->update1(1);
    doubles.messages.verifyAllShown();
    EXPECT_EQ(shown({"Edit3"}), std::vector<std::string>{"unchanged"});

    heating(1).TypeName.setText("WNF1");
    form->Balken_grenzwerte(1);
    EXPECT_EQ(label("Label19"), form->text(179));
    EXPECT_EQ(label("Label25"), form->text(183));
}

// The list rules reach ListBox2, the total label and the series notes.
TEST_F(UpdateCycleTest, TheListViewReachesItsWidgets)
{
    session.HeatingMode = false;
    session.Project.CoolingEntryCount = 2;
    session.Project.CoolingDemand = 1000;
    for (int i : {1, 2}) {
        CoolingEntry& e = cooling(i);
        e.TypeName.setText(i == 1 ? "WNF1" : "WFW-2L");
        e.Count = 1;
        e.Output = 300 * i;
    }
    const calculation::RoomListView view = calculation::roomList(session.Project, false, false, false);
    form->Listenaufbau();
    auto* list = control<QListWidget>("ListBox2");
    ASSERT_EQ(list->count(), 2);
    for (int i = 0; i < 2; ++i)
        EXPECT_EQ(list->item(i)->text().toStdString(), view.lines[static_cast<std::size_t>(i)]);
    EXPECT_EQ(form->Listenzeile(2).toStdString(), calculation::listLine(session.Project, false, 2));
    auto* total = control<QLabel>("Label67");
    EXPECT_EQ(total->text(), QStringLiteral("  900"));
    EXPECT_EQ(total->palette().color(QPalette::WindowText), formcolours::warningRed());
    for (const char* note : {"Label33", "Label38", "Label95", "Label96"})
        EXPECT_FALSE(control<QLabel>(note)->isHidden()) << note;

    session.Project.CoolingDemand = 900;
    cooling(1).TypeName.setText("WFW-2L");
    form->Listenaufbau();
    EXPECT_EQ(total->palette().color(QPalette::WindowText), formcolours::demandMetGreen());
    EXPECT_TRUE(control<QLabel>("Label95")->isHidden());
    EXPECT_TRUE(control<QLabel>("Label96")->isHidden());
}

// After a room run the cooling list shows the first entry's fan captions.
TEST_F(UpdateCycleTest, TheCoolingListShowsTheFirstEntrysFanCaptions)
{
    list(false, "WFW-2L", 2, 1000);
    fill(cooling(1), fixtureType("WNF1", true), "WNF1", 1, 0);
    form->showCoolingList();
    EXPECT_EQ(label("Label46"), form->text(179));
    EXPECT_EQ(label("Label73"), form->text(189));
}

} // namespace
} // namespace tepa::test
