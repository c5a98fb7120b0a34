#include "MainWindowFixture.h"

#include "core/model/ProjectFile.h"

#include <algorithm>

namespace tepa::test {
namespace {

class ConvectorListPanel : public MainWindowFixture
{
protected:
    QListWidget* list() const { return control<QListWidget>("ListBox1"); }

    QStringList items() const
    {
        QStringList texts;
        for (int i = 0; i < list()->count(); ++i)
            texts << list()->item(i)->text();
        return texts;
    }

    // The five heading lines the panel always starts with.
    QStringList headings() const
    {
        return {text(80), QStringLiteral("   ========================="), QStringLiteral(" "), text(83),
                QStringLiteral(" ")};
    }

    // The list command as loading a project or taking over a result leaves it: enabled.
    void showList()
    {
        form1->Konvliste->setEnabled(true);
        form1->Konvliste->trigger();
    }

    void addHeatingEntry(std::size_t k, const char* type, double heightMm, double lengthMm, int count)
    {
        HeatingEntry& e = session->Project.HeatingEntries[k];
        e.TypeName.setText(type);
        e.Height = heightMm;
        e.Length = lengthMm;
        e.Count = count;
        e.InUse = true;
        session->Project.RoomCount = 1;
        session->Project.HeatingEntryCount =
            std::max<std::int32_t>(session->Project.HeatingEntryCount, static_cast<std::int32_t>(k) + 1);
    }
};

// --- The list command -------------------------------------------------------------------------

TEST_F(ConvectorListPanel, EmptyProjectShowsTheHeadingsAndOneBlankLine)
{
    ASSERT_TRUE(list()->isHidden());
    EXPECT_FALSE(form1->Konvliste->isEnabled());
    session->DemandChanged = true;
    session->FlowTempChanged = true;
    session->RoomTempChanged = true;

    showList();

    EXPECT_FALSE(list()->isHidden());
    EXPECT_FALSE(list()->isSortingEnabled());
    EXPECT_EQ(items(), headings() << QStringLiteral(" "));
    EXPECT_TRUE(session->ListShown);
    EXPECT_FALSE(session->DemandChanged);
    EXPECT_FALSE(session->FlowTempChanged);
    EXPECT_FALSE(session->RoomTempChanged);
    EXPECT_EQ(session->ConvectorList[0], " ");
}

TEST_F(ConvectorListPanel, LoadedProjectListsItsConvectorsBelowTheHeadings)
{
    loadSample();
    ASSERT_TRUE(form1->Konvliste->isEnabled());
    ASSERT_FALSE(form1->GroupBox1->isHidden());

    form1->Konvliste->trigger();

    // Heating WFW 1x and cooling WFW 3x share one line with the larger count; "WFW" sorts above
    // "W2" ("F" comes after "2").
    EXPECT_EQ(items(), headings() << QStringLiteral("   WFW /   200 /  1000             3")
                                  << QStringLiteral("   W2 /   500 /  1200              2"));
    EXPECT_TRUE(form1->GroupBox1->isHidden());
    EXPECT_TRUE(form1->GroupBox2->isHidden());
}

TEST_F(ConvectorListPanel, CommandTogglesThePanelAndRefillsItEachTime)
{
    addHeatingEntry(0, "WF2", 110, 1250, 2);
    form1->GroupBox2->show();
    showList();
    ASSERT_FALSE(list()->isHidden());
    EXPECT_TRUE(form1->GroupBox2->isHidden());
    EXPECT_EQ(items(), headings() << QStringLiteral("   WF2 /   110 /  1250             2"));

    addHeatingEntry(1, "WF2", 110, 1250, 3);
    form1->Konvliste->trigger();
    EXPECT_TRUE(list()->isHidden());
    EXPECT_EQ(items(), headings() << QStringLiteral("   WF2 /   110 /  1250             5"));

    addHeatingEntry(2, "A", 90, 500, 1);
    form1->Konvliste->trigger();
    EXPECT_FALSE(list()->isHidden());
    EXPECT_EQ(items(), headings() << QStringLiteral("   WF2 /   110 /  1250             5")
                                  << QStringLiteral("   A /    90 /   500               1"));
}

TEST_F(ConvectorListPanel, ClickOnTheListHidesItAndKeepsListShown)
{
    addHeatingEntry(0, "WF2", 110, 1250, 2);
    showList();
    form1->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form1.get()));
    QListWidgetItem* line = list()->item(5);
    ASSERT_NE(line, nullptr);
    QTest::mouseClick(list()->viewport(), Qt::LeftButton, {}, list()->visualItemRect(line).center());

    EXPECT_TRUE(list()->isHidden());
    EXPECT_TRUE(session->ListShown);
}

TEST_F(ConvectorListPanel, ClosingTheProjectDataPanelBringsTheListBackOnceItWasShown)
{
    // New ends with the project data panel open. Before the list was ever shown, closing the
    // panel shows nothing else.
    form1->Neu1->trigger();
    ASSERT_FALSE(form1->GroupBox1->isHidden());
    form1->Projektdaten1->trigger();
    ASSERT_TRUE(form1->GroupBox1->isHidden());
    EXPECT_TRUE(list()->isHidden());

    showList();
    form1->Konvliste->trigger();
    ASSERT_TRUE(list()->isHidden());

    form1->Projektdaten1->trigger(); // opens over the list's place
    EXPECT_FALSE(form1->GroupBox1->isHidden());
    EXPECT_TRUE(list()->isHidden());
    form1->Projektdaten1->trigger(); // closes and brings the list back
    EXPECT_TRUE(form1->GroupBox1->isHidden());
    EXPECT_FALSE(list()->isHidden());
}

// --- The technical data file of command-line mode -----------------------------------------------

TEST_F(ConvectorListPanel, CommandLineSaveWritesTechnicalDataBesideTheRejoinedPath)
{
    const QString folder = tempPath("Neuer Ordner");
    ASSERT_TRUE(QDir().mkpath(folder));
    createWindow({folder + "/Raum", "A.kon", "-x", "7", "ende"});
    session->Project.RoomName.setText("Küche");
    session->Project.HeatingEntryCount = 1;
    addHeatingEntry(0, "WF2", 110, 1250, 2);

    EXPECT_TRUE(form1->Speichern1Click());

    EXPECT_FALSE(session->projectModified());
    EXPECT_TRUE(doubles.dialogs.saveRequests.empty());
    EXPECT_EQ(QFileInfo(folder + "/Raum A.kon").size(), 15858);
    const QByteArray techData = readBytes(folder + "/techdaten.kon");
    EXPECT_TRUE(techData.startsWith("\r\n\r\nTechnische Daten:   \r\n\r\n\r\nRaumbezeichnung:   K\xFC"
                                    "che\r\n\r\nAuslegung f\xFC"
                                    "r H E I Z U N G\r\n"))
        << techData.toStdString();
    EXPECT_TRUE(techData.contains("\r\nKonvektor-Typ::\tWF2\t \r\nH\xF6he:\t110\t mm\r\n"));
    // Saving set the heating flag from entry 1 before the file was written.
    EXPECT_TRUE(session->Project.HeatingInUse);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

TEST_F(ConvectorListPanel, TechnicalDataThatCannotBeWrittenStopsTheSave)
{
    // Both ways the file can fail: the folder is a file, or a folder stands in the file's place
    // (then the project file itself could be written, and still must not be).
    const QString blockingFile = tempPath("Datei");
    {
        QFile file(blockingFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("kein Ordner");
    }
    const QString occupied = tempPath("Belegt");
    ASSERT_TRUE(QDir().mkpath(occupied + "/techdaten.kon"));

    qsizetype boxes = 0;
    for (const QString& folder : {blockingFile, occupied}) {
        SCOPED_TRACE(folder.toStdString());
        createWindow({folder + "/Raum.kon", "a", "b", "c"});
        session->Project.RoomName.setText("Raum");
        doubles.messages.expectAny(MessageKind::Error);

        EXPECT_FALSE(form1->Speichern1Click());

        EXPECT_TRUE(session->projectModified());
        ASSERT_EQ(doubles.messages.shown().size(), ++boxes);
        EXPECT_TRUE(doubles.messages.shown().back().startsWith(folder + "/techdaten.kon: "))
            << doubles.messages.shown().back().toStdString();
        EXPECT_FALSE(QFileInfo::exists(folder + "/Raum.kon"));
        EXPECT_TRUE(form1->Label19->text().isEmpty());
    }
    EXPECT_TRUE(QFileInfo(occupied + "/techdaten.kon").isDir());
    EXPECT_EQ(QDir(occupied).entryList(QDir::Files | QDir::Hidden).size(), 0);
}

} // namespace
} // namespace tepa::test
