#include "MainWindowFixture.h"

namespace tepa::test {
namespace {

using DesignWalk = MainWindowFixture;

// The first entry chosen in a loaded list emptied by deleting its only entry is counted.
TEST_F(DesignWalk, AFirstEntryChosenInALoadedEmptiedListIsCounted)
{
    createCalculationWindow();
    const QString path = tempPath(QStringLiteral("Leer.kon"));
    QFile::copy(QStringLiteral(TEPA_TEST_DATA_DIR "/project/emptied-list.kon"), path);
    load(path);
    ASSERT_EQ(session->Project.HeatingEntryCount, 0);
    form1->Raumdaten1->trigger();
    form1->RadioButton1->click();
    form1->Edit13->setText(QStringLiteral("Leer"));
    form1->Edit3->setText(QStringLiteral("20"));
    form1->Edit2->setText(QStringLiteral("1500"));
    form1->Edit4->setText(QStringLiteral("75"));
    ASSERT_TRUE(form1->Berechnungen1->isEnabled());
    form1->Berechnungen1->trigger();
    ASSERT_TRUE(form2->isVisible());

    // A free W2 at its third height and first length, taken with "weiter".
    calc<QAction>("FreieKonvektion1")->trigger();
    const std::pair<const char*, int> picks[] = {{"ListBox1", -1}, {"ListBox4", 2}, {"ListBox3", 0}};
    for (const auto& [name, wanted] : picks) {
        auto* list = calc<QListWidget>(name);
        const auto found = list->findItems("W2", Qt::MatchStartsWith);
        QListWidgetItem* item = wanted < 0 ? found.value(0) : list->item(wanted);
        ASSERT_NE(item, nullptr) << name;
        list->scrollToItem(item);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
    }
    calc<QPushButton>("Konweiter")->click();

    EXPECT_EQ(session->Project.HeatingEntryCount, 1);
    EXPECT_EQ(calc<QListWidget>("ListBox2")->count(), 1);
}

} // namespace
} // namespace tepa::test
