// One heating design by keyboard alone through the real windows, as the user guide walks it:
// every key goes where the desktop would deliver it (the open menu, else the focused widget).
#include "project/MainWindowFixture.h"

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
    const auto fill = [](std::initializer_list<std::pair<const char*, const char*>> fields) {
        for (const auto& [name, typed] : fields) {
            tabTo(name);
            typeInto(keyTarget(), QString::fromLatin1(typed));
        }
    };

    key(Qt::Key_P, Qt::AltModifier); // Projekt, Neu, Raumdaten
    key(Qt::Key_N);
    key(Qt::Key_A, Qt::AltModifier);
    fill({{"Edit13", "Buero"}, {"Edit3", "20"}, {"Edit2", "1500"}, {"Edit4", "75"}});
    // The type list: an arrow picks a type, Enter opens the calculation window.
    key(Qt::Key_Tab);
    ASSERT_EQ(focused(), "ListBox3");
    key(Qt::Key_Down);
    key(Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitForWindowActive(form2.get()));

    key(Qt::Key_K, Qt::AltModifier); // Konvektoren, Freie Konvektion
    key(Qt::Key_F);
    QString picked[3];
    const char* lists[] = {"ListBox1", "ListBox3", "ListBox4"};
    for (int i = 0; i < 3; ++i) {
        tabTo(lists[i]);
        key(Qt::Key_Down);
        ASSERT_NE(calc<QListWidget>(lists[i])->currentItem(), nullptr);
        picked[i] = calc<QListWidget>(lists[i])->currentItem()->text();
    }
    ASSERT_EQ(calc<QListWidget>("ListBox4")->currentRow(), 2); // one below the one the type starts at
    tabTo("Konweiter");
    key(Qt::Key_Space);
    fill({{"Edit5", "2"}, {"Edit1", "60"}}); // Tab selects what the field holds
    key(Qt::Key_Return);
    key(Qt::Key_F, Qt::AltModifier); // Fenster schließen: back to the main window
    EXPECT_EQ(QApplication::activeWindow(), form1.get());

    const HeatingEntry& entry = session->Project.HeatingEntries[0];
    EXPECT_EQ(session->Project.HeatingEntryCount, 1);
    EXPECT_EQ(QString::fromStdString(entry.TypeName.text()), picked[0]);
    EXPECT_EQ(QString::number(entry.Length), picked[1]);
    EXPECT_EQ(QString::number(entry.Height), picked[2].section(QLatin1Char(' '), 0, 0));
    EXPECT_EQ(entry.Count, 2);
    EXPECT_DOUBLE_EQ(entry.ReturnTemp, 60);
    EXPECT_EQ(calc<QListWidget>("ListBox2")->count(), 1);
}

} // namespace
} // namespace tepa::test
