#include "core/calculation/RoomList.h"

#include "CalcWindowFixture.h"

#include "calcwindow/FormControls.h"

#include <QLabel>
#include <QPalette>

namespace tepa::test {
namespace {

class RoomListTest : public CalcWindowFixture
{
};

// The list rules reach ListBox2, the total label and the series notes.
TEST_F(RoomListTest, TheListViewReachesItsWidgets)
{
    create();
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

} // namespace
} // namespace tepa::test
