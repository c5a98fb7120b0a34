// The calculation window stays open beside the main window. An entry it has appended with
// "Erweitern" and not yet completed belongs to one list of one project: switching the mode, New
// and Load in the main window must not leave it to be taken from another list when the
// calculation window is closed.
#include "MainWindowFixture.h"

#include "core/model/ProjectFile.h"

namespace tepa::test {
namespace {

class UnfinishedEntry : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        createCalculationWindow();
        session->Project.HeatingEntryCount = 2;
        session->Project.CoolingEntryCount = 1;
        session->Project.HeatingEntries[0].InUse = true;
        session->Project.CoolingEntries[0].InUse = true;
    }

    void startInMode(bool heating)
    {
        (heating ? form1->RadioButton1 : form1->RadioButton2)->setChecked(true);
        session->HeatingMode = heating;
        session->CoolingMode = !heating;
        form2->ErweiternClick();
        ASSERT_TRUE(session->EntryBeingAdded);
    }
};

TEST_F(UnfinishedEntry, ModeSwitchGivesItUpInTheListItWasAddedTo)
{
    for (const bool heating : {true, false}) {
        SCOPED_TRACE(heating ? "added to heating, switched to cooling"
                             : "added to cooling, switched to heating");
        session->Project.HeatingEntryCount = 2;
        session->Project.CoolingEntryCount = 1;
        startInMode(heating);
        (heating ? form1->RadioButton2 : form1->RadioButton1)->click();
        EXPECT_FALSE(session->EntryBeingAdded);
        EXPECT_EQ(session->Project.HeatingEntryCount, 2);
        EXPECT_EQ(session->Project.CoolingEntryCount, 1);
        EXPECT_EQ(heating ? session->HeatingEntryIndex : session->CoolingEntryIndex, heating ? 2 : 1);

        form2->Schliessen1Click();
        EXPECT_EQ(session->Project.HeatingEntryCount, 2);
        EXPECT_EQ(session->Project.CoolingEntryCount, 1);
    }
}

TEST_F(UnfinishedEntry, LoadKeepsTheLoadedListsAndStartsBothAtTheirFirstEntry)
{
    startInMode(false); // cooling entry 2 being added
    const auto stored = loadProjectFile(testData("sample-project.kon"));
    ASSERT_TRUE(stored.ok());
    doubles.messages.expectQuestion(text(121), platform::Answer::No); // the added entry is a change
    loadSample();

    EXPECT_EQ(session->CoolingEntryIndex, 1);
    form2->Schliessen1Click();
    EXPECT_EQ(session->Project.HeatingEntryCount, stored.value().HeatingEntryCount);
    EXPECT_EQ(session->Project.CoolingEntryCount, stored.value().CoolingEntryCount);
}

TEST_F(UnfinishedEntry, ModeSwitchEmptiesTheCalculationListSoNoLineOfTheOtherListCanBePicked)
{
    session->HeatingMode = true;
    session->CoolingMode = false;
    form2->Listenaufbau();
    auto* rows = form2->findChild<QListWidget*>(QStringLiteral("ListBox2"));
    ASSERT_EQ(rows->count(), 2);
    rows->setCurrentRow(1);
    form1->RadioButton2->click();
    EXPECT_EQ(rows->count(), 0);

    doubles.messages.expect(MessageKind::Information, text(131));
    form2->BearbeitenClick();
    EXPECT_EQ(session->CoolingEntryIndex, 1);
}

TEST_F(UnfinishedEntry, NewProjectKeepsItsOneEntryWhenTheWindowIsClosed)
{
    startInMode(true);
    doubles.messages.expectQuestion(text(121), platform::Answer::No); // the added entry is a change
    form1->Neu1->trigger();
    form2->Schliessen1Click();
    EXPECT_EQ(session->Project.HeatingEntryCount, 1);
    EXPECT_EQ(session->Project.CoolingEntryCount, 1);
}

} // namespace
} // namespace tepa::test
