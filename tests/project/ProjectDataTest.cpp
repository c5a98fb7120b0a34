// The project data panel: opening, New, the fields' lengths and the attachment list.
#include "MainWindowFixture.h"

#include "core/model/ProjectReset.h"
#include "project/AttachmentPolicy.h"

namespace tepa::test {
namespace {

class ProjectDataWindow : public MainWindowFixture
{
protected:
    // The attachment list holding these paths, the last one selected.
    void setAttachments(const QStringList& paths)
    {
        for (auto& attachment : session->Project.Attachments)
            attachment.clear();
        for (int i = 0; i < paths.size(); ++i)
            session->Project.Attachments[static_cast<std::size_t>(i)].setText(paths[i].toStdString());
        form1->RecordToProjectData();
    }

    int selectedAttachment() const
    {
        const QListWidgetItem* item = form1->ListBox2->currentItem();
        return item && item->isSelected() ? form1->ListBox2->currentRow() : -1;
    }
};

TEST_F(ProjectDataWindow, NewResetsTheLoadedProjectInHeatingAndOpensTheProjectDataPanel)
{
    createCalculationWindow();
    calc<QListWidget>("ListBox2")->addItem("W2 1000 x 180");
    runScript("ProjectDataWindow.New.txt",
              {{"change", // a room value changed, at the second heating entry, then all saved
                [&](const std::vector<std::string>&) {
                    session->DemandChanged = true, session->HeatingEntryIndex = 2;
                    return session->markProjectClean(), QString();
                }},
               {"session", [&](const std::vector<std::string>&) {
                    return QString("modified %1 loaded %2 demand changed %3 heating %4 dual use %5 entry %6 title '%7'")
                        .arg(session->projectModified()).arg(session->ProjectLoaded).arg(session->DemandChanged)
                        .arg(session->HeatingMode).arg(session->HeatingDualUseOn).arg(session->HeatingEntryIndex)
                        .arg(QString::fromStdString(session->Project.Title.text()));
                }}});
    EXPECT_EQ(form1->Edit17->text().toStdString(), todayShortDate());
}

// What was typed is stored whichever way the panel is left, each field cut to its record length.
TEST_F(ProjectDataWindow, AnyWayOfLeavingThePanelStoresTheFieldsCutToTheirRecordLengths)
{
    const std::function<void()> leaves[] = {
        [&] { form1->Projektdaten1->trigger(); },
        [&] { form1->Raumdaten1->trigger(); },
        [&] { form1->Info2->trigger(); },
        [&] { form1->GroupBox1->hide(); },
    };
    form1->Projektdaten1->setEnabled(true);
    const ProjectRecord& p = session->Project;
    char letter = 'a';
    for (const auto& leave : leaves) {
        form1->GroupBox1->hide();
        form1->Projektdaten1->trigger();
        ASSERT_FALSE(form1->GroupBox1->isHidden());
        const QString longText = QString(80, QChar(letter)) + "ENDE";
        for (QLineEdit* edit : {form1->Edit15, form1->Edit16, form1->Edit17, form1->Edit24}) {
            edit->clear();
            QTest::keyClicks(edit, longText);
        }
        form1->Memo1->clear();
        QTest::keyClicks(form1->Memo1, longText);
        leave();
        if (letter == 'a')
            EXPECT_TRUE(form1->GroupBox1->isHidden()) << "the command closes the panel";
        form1->GroupBox2->hide();
        form1->GroupBox1->hide();
        form1->Projektdaten1->trigger();
        const std::pair<std::string, int> stored[] = {{p.Title.text(), 50}, {p.Number.text(), 16}, {p.Date.text(), 10},
                                                      {p.DataLines[6].text(), 40}, {p.RemarkLines[0].text(), 72}};
        for (const auto& [text, length] : stored)
            EXPECT_EQ(text, std::string(static_cast<std::size_t>(length), letter));
        EXPECT_EQ(form1->Edit16->text().toStdString(), std::string(16, letter++));
    }
    EXPECT_TRUE(session->ProjectTouched);

    // Remark lines beyond the 25th have no place in the record.
    QStringList lines;
    for (int i = 1; i <= 30; ++i)
        lines << QString("Bemerkung %1").arg(i);
    form1->Memo1->setPlainText(lines.join('\n'));
    form1->ProjectDataToRecord();
    EXPECT_EQ(p.RemarkLines[24].text(), "Bemerkung 25");
}

// The list shows the attachments up to the first empty one, the last selected; Add appends up to
// twenty and refuses a path the project file cannot hold exactly.
TEST_F(ProjectDataWindow, AddAppendsUpToTwentyStorableAttachments)
{
    recordBoxes = true;
    createWindow();
    newProject();
    auto& attachments = session->Project.Attachments;
    attachments[0].setText("C:\\ORVA\\Projekte\\Grundriss.pdf");
    attachments[1].setText("C:\\ORVA\\Projekte\\Nordring\\Heizlast 2.OG.xls");
    attachments[3].setText("C:\\hinter\\der\\Luecke.doc");
    form1->RecordToProjectData();
    EXPECT_EQ(form1->ListBox2->count(), 2);
    EXPECT_EQ(selectedAttachment(), 1);
    EXPECT_EQ(form1->run1->text().toStdString(), "Heizlast 2.OG.xls");

    QStringList paths;
    for (int i = 1; i <= 18; ++i)
        paths.push_back(QString("/docs/anhang%1.pdf").arg(i));
    setAttachments(paths);
    const QString chosen = tempPath("Angebot.pdf");
    const std::pair<const char*, std::optional<QString>> cases[] = {
        {"cancelled", std::nullopt},
        {"outside the file's characters", QString::fromUtf8("/p/Łódź Plan €.pdf")},
        {"260 characters", QStringLiteral("/p/") + QString(253, QLatin1Char('a')) + QStringLiteral(".pdf")},
        {"chosen", chosen},
        {"twentieth", QString("/docs/anhang20.pdf")},
        {"list full: no dialog", std::nullopt},
    };
    GoldenLines golden;
    for (const auto& [what, answer] : cases) {
        if (form1->ListBox2->count() < 20)
            doubles.dialogs.answerOpen(answer);
        form1->Add1->click();
        golden({what, boxes.taken().replace(tempPath(""), "<tmp>/").replace(QString(253, 'a'), "a..."),
                QString("%1 items, %2 selected").arg(form1->ListBox2->count()).arg(selectedAttachment()),
                form1->run1->text()});
    }
    form1->ProjectDataToRecord();
    EXPECT_EQ(session->Project.Attachments[18].text(), chosen.toStdString());
    EXPECT_EQ(session->Project.Attachments[19].text(), "/docs/anhang20.pdf");
}

// Delete selects the item that takes the deleted one's place, or the new last one.
TEST_F(ProjectDataWindow, DeleteSelectsTheItemThatTakesThePlaceOrTheNewLast)
{
    const QStringList three = {"/d/a.pdf", "/d/b.pdf", "/d/c.pdf"};
    const std::pair<QStringList, int> cases[] = {{three, 0}, {three, 1}, {three, 2}, {{"/d/a.pdf"}, 0}, {three, -1}};
    newProject();
    GoldenLines golden;
    for (const auto& [items, selected] : cases) {
        setAttachments(items);
        if (selected < 0)
            form1->ListBox2->clearSelection();
        else
            form1->ListBox2->setCurrentRow(selected);

        form1->Del1->click();

        golden({QString("%1 items, row %2 selected").arg(items.size()).arg(selected), described(form1->ListBox2),
                QString("selected %1").arg(selectedAttachment()), form1->run1->text()});
    }
}

TEST_F(ProjectDataWindow, DocumentsOpenByDoubleClickOrRunButProgramsAreRefused)
{
    form1->show();
    newProject();
    const QString plan = tempPath("Grundriss.pdf");
    writeFile(plan, "x");
    setAttachments({plan, "/d/b.pdf"});
    QListWidget* list = form1->ListBox2;
    const QPoint first = list->visualItemRect(list->item(0)).center();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, first);
    EXPECT_EQ(form1->run1->text().toStdString(), "Grundriss.pdf");
    EXPECT_TRUE(doubles.shell.opened.isEmpty());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, first);
    form1->run1->click();
    EXPECT_EQ(doubles.shell.opened, QStringList({plan, plan}));
    list->clearSelection();
    form1->run1->click();
    EXPECT_EQ(doubles.shell.opened.size(), 2) << "without a selection nothing opens";

    // An executable file is a program whatever its name.
    const QString script = tempPath("Angebot.pdf");
    writeFile(script, "x");
    ASSERT_TRUE(QFile::setPermissions(script, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner));
    setAttachments({script});
    doubles.messages.expect(MessageKind::Message, QString::fromUtf8(RefusedAttachmentText) + "\n" + script);
    form1->run1->click();
    doubles.messages.verifyAllShown();

    const QString address = QStringLiteral("https://orva.example/datenblatt.pdf");
    setAttachments({address});
    for (const bool agreed : {false, true}) {
        doubles.messages.expect(MessageKind::YesNo, text(280) + "\n" + address, agreed);
        form1->run1->click();
        doubles.messages.verifyAllShown();
    }
    EXPECT_EQ(doubles.shell.opened, QStringList({plan, plan, address}));
}

} // namespace
} // namespace tepa::test
