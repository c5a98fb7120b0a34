// A cooling list emptied by deleting its only entry, then given a new first entry.
#include "CalcWindowFixture.h"

#include <QListWidget>
#include <QPushButton>

namespace tepa::test {
namespace {

class EmptiedListTest : public CalcWindowFixture
{
};

TEST_F(EmptiedListTest, AFirstCoolingEntryChosenAfterDeletingTheOnlyOneIsCounted)
{
    designRoom();
    create().show();
    coolingMode();
    const TypeRecord type = fixtureType("WFW-2L", true);
    CoolingEntry& e = cooling(1);
    e.TypeName.setText("WFW-2L");
    e.TypeText1.setText(type.dataLine);
    e.TypeText2.setText(type.fanLine);
    e.Length = 1250;
    e.Height = 140;
    e.HeightFactor = 1;
    e.FanSpeed = 1000;
    e.Count = 1;
    e.ReturnTemp = 18;
    e.InUse = true;
    session.Project.CoolingEntryCount = 1;
    form->update0_K(1);
    form->update1_K(1);
    form->Listenaufbau();

    auto* list = control<QListWidget>("ListBox2");
    list->setCurrentRow(0);
    list->item(0)->setSelected(true);
    doubles.messages.expect(MessageKind::YesNo, form->text(94), true);
    control<QPushButton>("Loeschen")->click();
    ASSERT_EQ(session.Project.CoolingEntryCount, 0);

    chooseType("FreieZwangsKonv1", QStringLiteral("WFW-2L"));
    EXPECT_TRUE(cooling(1).InUse);
    EXPECT_EQ(session.Project.CoolingEntryCount, 1);
    EXPECT_EQ(list->count(), 1);
}

} // namespace
} // namespace tepa::test
