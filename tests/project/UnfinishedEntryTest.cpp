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
    }

    // Two heating entries and one cooling entry, in this mode; `adding`: Erweitern pressed.
    void startInMode(bool heating, bool adding = true)
    {
        session->Project.HeatingEntryCount = 2;
        session->Project.CoolingEntryCount = 1;
        session->Project.HeatingEntries[0].InUse = session->Project.CoolingEntries[0].InUse = true;
        (heating ? form1->RadioButton1 : form1->RadioButton2)->setChecked(true);
        session->HeatingMode = heating;
        session->CoolingMode = !heating;
        if (adding)
            form2->ErweiternClick();
        EXPECT_EQ(session->EntryBeingAdded, adding);
    }
};

TEST_F(UnfinishedEntry, ModeSwitchGivesItUpInTheListItWasAddedTo)
{
    for (const bool heating : {true, false}) {
        SCOPED_TRACE(heating ? "added to heating, switched to cooling" : "added to cooling, switched to heating");
        startInMode(heating);
        (heating ? form1->RadioButton2 : form1->RadioButton1)->click();
        EXPECT_FALSE(session->EntryBeingAdded);
        EXPECT_EQ(heating ? session->HeatingEntryIndex : session->CoolingEntryIndex, heating ? 2 : 1);
        form2->Schliessen1Click();
        EXPECT_EQ(session->Project.HeatingEntryCount, 2);
        EXPECT_EQ(session->Project.CoolingEntryCount, 1);
    }
}

// Load keeps the loaded lists and starts both at their first entry; New keeps its one entry.
TEST_F(UnfinishedEntry, LoadAndNewKeepTheirOwnLists)
{
    const auto stored = loadProjectFile(testData("sample-project.kon"));
    ASSERT_TRUE(stored.ok());
    for (const bool load : {false, true}) {
        SCOPED_TRACE(load ? "Load" : "New");
        startInMode(!load);
        doubles.messages.expectQuestion(text(121), platform::Answer::No); // the added entry is a change
        if (load)
            loadSample();
        else
            form1->Neu1->trigger();
        EXPECT_EQ(session->CoolingEntryIndex, 1);
        form2->Schliessen1Click();
        EXPECT_EQ(session->Project.HeatingEntryCount, load ? stored.value().HeatingEntryCount : 1);
        EXPECT_EQ(session->Project.CoolingEntryCount, load ? stored.value().CoolingEntryCount : 1);
    }
}

TEST_F(UnfinishedEntry, ModeSwitchEmptiesTheCalculationListSoNoLineOfTheOtherListCanBePicked)
{
    startInMode(true, false);
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

} // namespace
} // namespace tepa::test
