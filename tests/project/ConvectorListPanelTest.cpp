// The convector list panel: the list command and what hides and brings back the panel. The
// list's lines themselves are the core's (its convector list tests).
#include "MainWindowFixture.h"

namespace tepa::test {
namespace {

class ConvectorListPanel : public MainWindowFixture
{
protected:
    QListWidget* list() const { return control<QListWidget>("ListBox1"); }

    // The panel's lines: five heading lines, then the list.
    QStringList items() const
    {
        QStringList texts;
        for (int i = 0; i < list()->count(); ++i)
            texts << list()->item(i)->text();
        return texts;
    }
    QStringList withHeadings(const QStringList& lines) const
    {
        return QStringList{text(80), "   =========================", " ", text(83), " "} + lines;
    }
};

TEST_F(ConvectorListPanel, CommandTogglesThePanelAndRefillsItEachTime)
{
    EXPECT_FALSE(form1->Konvliste->isEnabled());
    session->DemandChanged = session->FlowTempChanged = session->RoomTempChanged = true;
    form1->GroupBox2->show();
    form1->Konvliste->setEnabled(true); // as loading a project or taking over a result leaves it
    form1->Konvliste->trigger();
    EXPECT_TRUE(form1->GroupBox2->isHidden());
    EXPECT_EQ(items(), withHeadings({" "}));
    EXPECT_TRUE(session->ListShown);
    EXPECT_FALSE(session->DemandChanged || session->FlowTempChanged || session->RoomTempChanged);

    HeatingEntry& e = session->Project.HeatingEntries[0];
    e.TypeName.setText("WF2"), e.Height = 110, e.Length = 1250, e.Count = 2, e.InUse = true;
    session->Project.RoomCount = session->Project.HeatingEntryCount = 1;
    form1->Konvliste->trigger();
    EXPECT_TRUE(list()->isHidden());
    form1->Konvliste->trigger();
    EXPECT_EQ(items(), withHeadings({"   WF2 /   110 /  1250             2"}));

    // A click on the list hides it.
    form1->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form1.get()));
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, list()->visualItemRect(list()->item(5)).center());
    EXPECT_TRUE(list()->isHidden());
}

// Heating WFW 1x and cooling WFW 3x share one line with the larger count; "WFW" stays above
// "W2" as the list gives it. Closing the project data panel brings the list back once shown.
TEST_F(ConvectorListPanel, LoadedProjectListsItsConvectorsAndComesBackAfterTheProjectData)
{
    loadSample();
    ASSERT_FALSE(form1->GroupBox1->isHidden());
    form1->Projektdaten1->trigger();
    EXPECT_TRUE(list()->isHidden()) << "never shown before";
    form1->Projektdaten1->trigger();
    form1->Konvliste->trigger();
    EXPECT_EQ(items(), withHeadings({"   WFW /   200 /  1000             3", "   W2 /   500 /  1200              2"}));
    EXPECT_TRUE(form1->GroupBox1->isHidden());

    form1->Projektdaten1->trigger(); // opens over the list's place
    EXPECT_TRUE(list()->isHidden());
    form1->Projektdaten1->trigger(); // closes and brings the list back
    EXPECT_TRUE(form1->GroupBox1->isHidden());
    EXPECT_FALSE(list()->isHidden());
}

} // namespace
} // namespace tepa::test
