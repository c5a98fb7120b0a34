// The convector list panel: the list command and what hides and brings back the panel. The
// list's lines themselves are the core's (its convector list tests).
#include "MainWindowFixture.h"

namespace tepa::test {
namespace {

class ConvectorListPanel : public MainWindowFixture
{
protected:
    QListWidget* list() const { return control<QListWidget>("ListBox1"); }

    // The lines below the five heading lines the panel always starts with.
    QStringList items() const
    {
        const QStringList headings = {text(80), "   =========================", " ", text(83), " "};
        QStringList texts;
        for (int i = 0; i < list()->count(); ++i) {
            if (i < headings.size())
                EXPECT_EQ(list()->item(i)->text(), headings[i]);
            else
                texts << list()->item(i)->text();
        }
        return texts;
    }

    void addHeatingEntry(std::size_t k, const char* type, int count)
    {
        HeatingEntry& e = session->Project.HeatingEntries[k];
        e.TypeName.setText(type), e.Height = 110, e.Length = 1250, e.Count = count, e.InUse = true;
        session->Project.RoomCount = 1;
        session->Project.HeatingEntryCount = static_cast<std::int32_t>(k) + 1;
    }
};

TEST_F(ConvectorListPanel, CommandTogglesThePanelAndRefillsItEachTime)
{
    ASSERT_TRUE(list()->isHidden());
    EXPECT_FALSE(form1->Konvliste->isEnabled());
    session->DemandChanged = session->FlowTempChanged = session->RoomTempChanged = true;
    form1->GroupBox2->show();
    form1->Konvliste->setEnabled(true); // as loading a project or taking over a result leaves it
    form1->Konvliste->trigger();
    EXPECT_FALSE(list()->isHidden());
    EXPECT_TRUE(form1->GroupBox2->isHidden());
    EXPECT_EQ(items(), QStringList{" "});
    EXPECT_TRUE(session->ListShown);
    EXPECT_FALSE(session->DemandChanged || session->FlowTempChanged || session->RoomTempChanged);

    addHeatingEntry(0, "WF2", 2);
    form1->Konvliste->trigger();
    EXPECT_TRUE(list()->isHidden());
    addHeatingEntry(1, "A", 1);
    form1->Konvliste->trigger();
    EXPECT_FALSE(list()->isHidden());
    EXPECT_EQ(items(), QStringList({"   WF2 /   110 /  1250             2", "   A /   110 /  1250               1"}));

    // A click on the list hides it.
    form1->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form1.get()));
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, list()->visualItemRect(list()->item(5)).center());
    EXPECT_TRUE(list()->isHidden());
    EXPECT_TRUE(session->ListShown);
}

TEST_F(ConvectorListPanel, LoadedProjectListsItsConvectorsInDescendingOrder)
{
    loadSample();
    ASSERT_TRUE(form1->Konvliste->isEnabled());
    ASSERT_FALSE(form1->GroupBox1->isHidden());

    form1->Konvliste->trigger();

    // Heating WFW 1x and cooling WFW 3x share one line with the larger count; "WFW" sorts above
    // "W2" ("F" comes after "2").
    EXPECT_EQ(items(), QStringList({"   WFW /   200 /  1000             3", "   W2 /   500 /  1200              2"}));
    EXPECT_TRUE(form1->GroupBox1->isHidden());
}

TEST_F(ConvectorListPanel, ClosingTheProjectDataPanelBringsTheListBackOnceItWasShown)
{
    form1->Neu1->trigger(); // ends with the project data panel open
    form1->Projektdaten1->trigger();
    ASSERT_TRUE(form1->GroupBox1->isHidden());
    EXPECT_TRUE(list()->isHidden()) << "never shown before";

    form1->Konvliste->setEnabled(true);
    form1->Konvliste->trigger();
    form1->Konvliste->trigger();
    form1->Projektdaten1->trigger(); // opens over the list's place
    EXPECT_TRUE(list()->isHidden());
    form1->Projektdaten1->trigger(); // closes and brings the list back
    EXPECT_TRUE(form1->GroupBox1->isHidden());
    EXPECT_FALSE(list()->isHidden());
}

} // namespace
} // namespace tepa::test
