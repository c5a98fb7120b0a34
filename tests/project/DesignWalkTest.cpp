// A room designed from start to end through both windows, saved, and opened again.
#include "MainWindowFixture.h"

#include <QScrollBar>

namespace tepa::test {
namespace {

class DesignWalk : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        createCalculationWindow();
    }

    // Clicks the first item of a calculation window list starting with `prefix`, or row `wanted`.
    void pick(const char* listName, const QString& prefix, int wanted = -1)
    {
        auto* list = calc<QListWidget>(listName);
        ASSERT_NE(list, nullptr);
        for (int row = 0; row < list->count(); ++row) {
            QListWidgetItem* item = list->item(row);
            if (wanted < 0 ? item->text().startsWith(prefix) : row == wanted) {
                list->scrollToItem(item);
                QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
                return;
            }
        }
        FAIL() << "no item " << prefix.toStdString() << " in " << listName;
    }

    QStringList roomList() const
    {
        QStringList lines;
        const auto* list = calc<QListWidget>("ListBox2");
        for (int row = 0; row < list->count(); ++row)
            lines << list->item(row)->text();
        return lines;
    }

    QStringList entries() const
    {
        QStringList out;
        for (int i = 0; i < session->Project.HeatingEntryCount; ++i) {
            const HeatingEntry& e = session->Project.HeatingEntries[static_cast<std::size_t>(i)];
            out << QString::fromStdString(e.TypeName.text()) + QString(" %1 %2 %3 %4 %5")
                                                                  .arg(e.Count).arg(e.FanSpeed).arg(e.ReturnTemp)
                                                                  .arg(e.Output, 0, 'g', 17).arg(e.HeightFactor);
        }
        return out;
    }

    void run()
    {
        ASSERT_TRUE(form1->Berechnungen1->isEnabled());
        form1->Berechnungen1->trigger();
    }

    void designHeatingRoom(const QString& name)
    {
        form1->Raumdaten1->trigger();
        form1->RadioButton1->click();
        control<QLineEdit>("Edit13")->setText(name);
        control<QLineEdit>("Edit3")->setText(QStringLiteral("20"));
        control<QLineEdit>("Edit2")->setText(QStringLiteral("1500"));
        control<QLineEdit>("Edit4")->setText(QStringLiteral("75"));
        run();
        ASSERT_TRUE(form2->isVisible());
    }

    void chooseW2()
    {
        calc<QAction>("FreieKonvektion1")->trigger();
        pick("ListBox1", QStringLiteral("W2"));
        pick("ListBox4", QString(), 2);
        pick("ListBox3", QString());
        calc<QPushButton>("Konweiter")->click();
    }
};

TEST_F(DesignWalk, AHeatingRoomDesignedSavedAndOpenedAgainShowsTheSameList)
{
    form1->Neu1->trigger();
    designHeatingRoom(QStringLiteral("Buero 2"));

    chooseW2();
    calc<QScrollBar>("ScrollBar1")->setValue(30);
    calc<QLineEdit>("Edit5")->setText(QStringLiteral("2"));

    calc<QPushButton>("Erweitern")->click();
    calc<QAction>("FreieZwangsKonv1")->trigger();
    pick("ListBox1", QStringLiteral("WFW-2L"));
    pick("ListBox3", QString());
    doubles.messages.expect(MessageKind::Message, text(197));
    calc<QPushButton>("Konweiter")->click();
    doubles.messages.verifyAllShown();
    calc<QScrollBar>("DrehzahlBar4")->setValue(1000);

    const QStringList designed = entries();
    const QStringList lines = roomList();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(session->Project.HeatingEntries[0].Count, 2);
    EXPECT_GT(session->Project.HeatingEntries[0].HeightFactor, 0);
    EXPECT_DOUBLE_EQ(session->Project.HeatingEntries[1].FanSpeed, 1000);
    calc<QAction>("Schliessen1")->trigger();

    const QString path = projectDir() + "/Walk.kon";
    doubles.dialogs.answerSave(path);
    form1->Speichern1->trigger();
    form1->Neu1->trigger();
    EXPECT_FALSE(session->Project.HeatingEntries[0].InUse);
    doubles.dialogs.answerOpen(path);
    doubles.messages.expect(MessageKind::Information, text(214)); // opened in heating mode
    form1->Laden1->trigger();
    form1->Raumdaten1->trigger();
    run();
    EXPECT_EQ(roomList(), lines);
    EXPECT_EQ(entries(), designed);
}

// The first entry chosen in a loaded list emptied by deleting its only entry is counted.
TEST_F(DesignWalk, AFirstEntryChosenInALoadedEmptiedListIsCounted)
{
    const QString path = tempPath(QStringLiteral("Leer.kon"));
    QFile::copy(QStringLiteral(TEPA_TEST_DATA_DIR "/project/emptied-list.kon"), path);
    load(path);
    ASSERT_EQ(session->Project.HeatingEntryCount, 0);
    designHeatingRoom(QStringLiteral("Leer"));
    chooseW2();

    EXPECT_EQ(session->Project.HeatingEntryCount, 1);
    EXPECT_EQ(roomList().size(), 1);
}

} // namespace
} // namespace tepa::test
