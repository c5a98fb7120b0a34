// One heating design by keyboard alone through the real windows, as the user guide walks it:
// every key goes where the desktop would deliver it (the open menu, else the focused widget).
#include "project/MainWindowFixture.h"

#include <QRegularExpression>

namespace tepa::test {
namespace {

class KeyboardWalk : public MainWindowFixture
{
protected:
    static QWidget* keyTarget()
    {
        if (QWidget* popup = QApplication::activePopupWidget())
            return popup;
        // A window where no control has the focus yet gets the keys itself.
        return QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
    }
    static void key(Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* target = keyTarget();
        ASSERT_NE(target, nullptr) << "nothing has the keyboard";
        QTest::keyClick(target, k, modifiers);
        QCoreApplication::processEvents();
    }
    static void type(const QString& text) { typeInto(keyTarget(), text); }
    static std::string focused()
    {
        return QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString() : "";
    }
    // Tabs on until the control named `name` has the focus; fails after a round through the window.
    static void tabTo(const char* name)
    {
        for (int i = 0; i < 40 && focused() != name; ++i)
            key(Qt::Key_Tab);
        ASSERT_EQ(focused(), name) << "Tab does not reach " << name;
    }
};

TEST_F(KeyboardWalk, AHeatingDesignByKeyboardAloneIsWrittenBackAndListed)
{
    installedData = TEPA_SOURCE_DATA_DIR; // the real captions, with the letters the guide names
    createWindow();
    createCalculationWindow();
    form1->show();
    form1->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form1.get()));

    key(Qt::Key_P, Qt::AltModifier); // Projekt
    key(Qt::Key_N);                  // Neu
    ASSERT_TRUE(session->ProjectDataShown);
    key(Qt::Key_A, Qt::AltModifier); // Raumdaten
    ASSERT_TRUE(form1->Edit13->isVisible());
    tabTo("Edit13");
    type(QStringLiteral("Buero"));
    tabTo("Edit3"); // Raumtemperatur
    type(QStringLiteral("20"));
    tabTo("Edit2"); // Wärmebedarf
    type(QStringLiteral("1500"));
    tabTo("Edit4"); // Vorlauftemperatur
    type(QStringLiteral("75"));
    // The type list: an arrow picks a type, Enter opens the calculation window.
    key(Qt::Key_Tab);
    ASSERT_EQ(focused(), "ListBox3");
    key(Qt::Key_Down);
    key(Qt::Key_Return);
    ASSERT_TRUE(form2->isVisible());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form2.get()));

    key(Qt::Key_K, Qt::AltModifier); // Konvektoren
    key(Qt::Key_F);                  // Freie Konvektion
    auto* types = calc<QListWidget>("ListBox1");
    auto* lengths = calc<QListWidget>("ListBox3");
    auto* heights = calc<QListWidget>("ListBox4");
    ASSERT_GT(types->count(), 1);
    tabTo("ListBox1");
    key(Qt::Key_Down);
    const QString typeName = types->currentItem()->text();
    tabTo("ListBox3");
    key(Qt::Key_Down);
    ASSERT_NE(lengths->currentItem(), nullptr);
    const QString length = lengths->currentItem()->text();
    tabTo("ListBox4");
    key(Qt::Key_Down);
    ASSERT_EQ(heights->currentRow(), 2); // the third height: one below the one the type starts at
    const QString height = heights->currentItem()->text().section(QLatin1Char(' '), 0, 0);
    tabTo("Konweiter");
    key(Qt::Key_Space);

    tabTo("Edit5"); // Anzahl
    type(QStringLiteral("2"));
    tabTo("Edit1"); // the return temperature; Tab selects what the field holds
    type(QStringLiteral("60"));
    key(Qt::Key_Return);
    key(Qt::Key_F, Qt::AltModifier); // Fenster schließen: back to the main window
    EXPECT_EQ(QApplication::activeWindow(), form1.get());

    const HeatingEntry& entry = session->Project.HeatingEntries[0];
    EXPECT_EQ(session->Project.HeatingEntryCount, 1);
    EXPECT_EQ(QString::fromStdString(entry.TypeName.text()), typeName);
    EXPECT_EQ(QString::number(entry.Length), length);
    EXPECT_EQ(entry.Count, 2);
    EXPECT_DOUBLE_EQ(entry.ReturnTemp, 60);
    // The room's list: number, type, height, length, count, return temperature.
    auto* room = calc<QListWidget>("ListBox2");
    ASSERT_EQ(room->count(), 1);
    const QRegularExpression line(QStringLiteral("^ *1 %1 +%2 %3 +2 60 ").arg(typeName, height, length));
    EXPECT_TRUE(line.match(room->item(0)->text()).hasMatch()) << room->item(0)->text().toStdString();
}

} // namespace
} // namespace tepa::test
