// The controls of the calculation window: names, grouping, ranges and defaults, fonts and
// colours, and the menu.
#include "CalcWindowFixture.h"

#include "calcwindow/FormControls.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>

namespace tepa::test {
namespace {

using CalcWindowControls = CalcWindowFixture;

TEST_F(CalcWindowControls, EveryLabelExistsOnce)
{
    create();
    // The window numbers its labels 1 to 113 without gaps; the handlers address them by name.
    for (int n = 1; n <= 113; ++n) {
        const QString name = QStringLiteral("Label%1").arg(n);
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(form->findChildren<QLabel*>(name).size(), 1);
    }
}

TEST_F(CalcWindowControls, OtherControlsExistOnceWithTheirKind)
{
    create();
    const auto countOf = [this](const char* name) {
        return form->findChildren<QObject*>(QString::fromLatin1(name)).size();
    };
    for (int n = 1; n <= 16; ++n) {
        const QString name = QStringLiteral("Panel%1").arg(n);
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(form->findChildren<QFrame*>(name).size(), 1);
        EXPECT_EQ(form->findChildren<QGroupBox*>(name).size(), 0);
    }
    for (const char* name : {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6", "Edit8", "Edit9"}) {
        SCOPED_TRACE(name);
        EXPECT_NE(control<QLineEdit>(name), nullptr);
        EXPECT_EQ(countOf(name), 1);
    }
    EXPECT_EQ(countOf("Edit7"), 0);
    for (const char* name : {"ListBox1", "ListBox2", "ListBox3", "ListBox4"})
        EXPECT_NE(control<QListWidget>(name), nullptr) << name;
    for (const char* name : {"ScrollBar1", "ScrollBar2", "ScrollBar3", "ScrollBar4", "DrehzahlBar4"})
        EXPECT_NE(control<QScrollBar>(name), nullptr) << name;
    for (const char* name : {"UpDown1", "UpDown2", "UpDown3"})
        EXPECT_NE(control<QSpinBox>(name), nullptr) << name;
    for (const char* name : {"GroupBox1", "GroupBox2", "GroupBox3", "GroupBox4"})
        EXPECT_NE(control<QGroupBox>(name), nullptr) << name;
    for (const char* name : {"Konweiter", "Bearbeiten", "Erweitern", "Loeschen", "Button1"})
        EXPECT_NE(control<QPushButton>(name), nullptr) << name;
    for (const char* name : {"RadioButton1", "RadioButton2", "RadioButton3", "RadioButton4", "RadioButton5",
                             "RadioButton6", "RadioButton7", "TR_Schalter", "MS_Schalter"})
        EXPECT_NE(control<QRadioButton>(name), nullptr) << name;
}

struct ParentCase
{
    const char* child;
    const char* parent;
};

TEST_F(CalcWindowControls, ControlsSitInTheirPanels)
{
    create();
    // clang-format off
    const ParentCase cases[] = {
        {"Label15", "Panel4"}, {"ListBox1", "Panel4"}, {"ListBox3", "Panel4"}, {"ListBox4", "Panel4"},
        {"Label83", "Panel4"}, {"Panel9", "Panel4"}, {"Label51", "Panel9"}, {"Label52", "Panel9"},
        {"Konweiter", "Panel4"},
        {"Label5", "Panel3"}, {"Edit5", "Panel3"}, {"UpDown1", "Panel3"}, {"Panel6", "Panel3"},
        {"Label19", "Panel6"}, {"DrehzahlBar4", "Panel6"}, {"Edit4", "Panel6"}, {"Label101", "Panel6"},
        {"Panel14", "Panel3"}, {"Label62", "Panel14"}, {"RadioButton1", "Panel14"}, {"RadioButton4", "Panel14"},
        {"TR_Schalter", "Panel3"}, {"MS_Schalter", "Panel3"}, {"ScrollBar1", "Panel3"}, {"Edit3", "Panel3"},
        {"Panel5", "Panel3"}, {"Panel2", "Panel3"}, {"Label27", "Panel2"}, {"Label28", "Panel2"},
        {"Label2", "Panel1"}, {"Edit9", "Panel1"}, {"UpDown2", "Panel1"}, {"Edit6", "Panel1"},
        {"UpDown3", "Panel1"}, {"Panel7", "Panel1"}, {"ScrollBar4", "Panel7"}, {"Edit8", "Panel7"},
        {"Label102", "Panel7"}, {"Panel15", "Panel1"}, {"RadioButton5", "Panel15"}, {"RadioButton7", "Panel15"},
        {"Label100", "Panel15"}, {"Panel8", "Panel1"}, {"Label43", "Panel8"}, {"Label57", "Panel8"},
        {"Panel11", "Panel1"}, {"Label66", "Panel11"}, {"Label70", "Panel11"}, {"GroupBox3", "Panel1"},
        {"Label77", "GroupBox3"}, {"Button1", "GroupBox3"},
        {"ListBox2", "Panel12"}, {"Bearbeiten", "GroupBox1"}, {"Loeschen", "GroupBox1"},
        {"Label36", "GroupBox2"}, {"Label96", "GroupBox2"}, {"Label61", "GroupBox4"}, {"Label105", "GroupBox4"},
        {"Label106", "Panel13"}, {"Label110", "Panel13"}, {"Label111", "Panel10"}, {"Label85", "Panel10"},
        {"Label103", "Panel16"}, {"Label112", "Panel16"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.child);
        auto* child = control<QWidget>(c.child);
        ASSERT_NE(child, nullptr);
        ASSERT_NE(child->parentWidget(), nullptr);
        EXPECT_EQ(child->parentWidget()->objectName().toStdString(), c.parent);
    }
    // The stage panels and the list area lie on the window's client area itself.
    const QWidget* client = form->centralWidget();
    for (QWidget* w : {static_cast<QWidget*>(form->Panel1), static_cast<QWidget*>(form->Panel3),
                       static_cast<QWidget*>(form->Panel4), static_cast<QWidget*>(form->Panel12),
                       static_cast<QWidget*>(form->GroupBox1), static_cast<QWidget*>(form->GroupBox2),
                       static_cast<QWidget*>(form->GroupBox4), static_cast<QWidget*>(form->Panel13),
                       static_cast<QWidget*>(form->Panel10), static_cast<QWidget*>(form->Panel16),
                       static_cast<QWidget*>(form->Label8), static_cast<QWidget*>(form->Label94)})
        EXPECT_EQ(w->parentWidget(), client) << w->objectName().toStdString();
}

struct BarCase
{
    const char* name;
    int minimum, maximum, position, largeStep;
};

TEST_F(CalcWindowControls, ScrollBarsStartWithTheirRanges)
{
    create();
    const BarCase cases[] = {
        {"DrehzahlBar4", 0, 1600, 30, 10},
        {"ScrollBar1", 0, 100, 0, 10},
        {"ScrollBar4", 0, 2000, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto* bar = control<QScrollBar>(c.name);
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(bar->orientation(), Qt::Horizontal);
        EXPECT_EQ(bar->minimum(), c.minimum);
        EXPECT_EQ(bar->maximum(), c.maximum);
        EXPECT_EQ(bar->value(), c.position);
        EXPECT_EQ(bar->pageStep(), c.largeStep);
        EXPECT_EQ(bar->singleStep(), 1);
    }
    // The heating sliders show a place within the current window in percent.
    for (QScrollBar* bar : {form->ScrollBar2, form->ScrollBar3}) {
        EXPECT_EQ(bar->minimum(), 0);
        EXPECT_EQ(bar->maximum(), 100);
    }
}

TEST_F(CalcWindowControls, CountAndTemperatureFieldsStartWithTheirDefaults)
{
    create();
    struct UpDownCase
    {
        const char* upDown;
        const char* edit;
        int minimum, maximum, position;
        const char* text;
    };
    const UpDownCase cases[] = {
        {"UpDown1", "Edit5", 1, 15, 1, "1"},
        {"UpDown2", "Edit9", 1, 15, 1, "1"},
        {"UpDown3", "Edit6", 10, 30, 10, "10"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.upDown);
        auto* upDown = control<QSpinBox>(c.upDown);
        auto* edit = control<QLineEdit>(c.edit);
        ASSERT_NE(upDown, nullptr);
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(upDown->minimum(), c.minimum);
        EXPECT_EQ(upDown->maximum(), c.maximum);
        EXPECT_EQ(upDown->value(), c.position);
        EXPECT_EQ(edit->text().toStdString(), c.text);
    }
    EXPECT_EQ(form->Edit4->text().toStdString(), "0");
    EXPECT_EQ(form->ListBox3->selectionMode(), QAbstractItemView::SingleSelection);
}

TEST_F(CalcWindowControls, RadioButtonsStartSelectedAndExcludeOnlyWithinTheirPanel)
{
    create();
    const struct
    {
        QRadioButton* button;
        bool checked;
    } start[] = {
        {form->RadioButton1, true},  {form->RadioButton2, false}, {form->RadioButton3, false},
        {form->RadioButton4, false}, {form->RadioButton5, true},  {form->RadioButton6, false},
        {form->RadioButton7, false}, {form->TR_Schalter, true},   {form->MS_Schalter, false},
    };
    for (const auto& s : start)
        EXPECT_EQ(s.button->isChecked(), s.checked) << s.button->objectName().toStdString();

    form->RadioButton3->click();
    EXPECT_TRUE(form->RadioButton3->isChecked());
    EXPECT_FALSE(form->RadioButton1->isChecked());
    EXPECT_TRUE(form->RadioButton5->isChecked());
    EXPECT_TRUE(form->TR_Schalter->isChecked());

    form->MS_Schalter->click();
    EXPECT_FALSE(form->TR_Schalter->isChecked());
    EXPECT_TRUE(form->RadioButton3->isChecked());

    form->RadioButton7->click();
    EXPECT_FALSE(form->RadioButton5->isChecked());
    EXPECT_TRUE(form->RadioButton3->isChecked());
    EXPECT_TRUE(form->MS_Schalter->isChecked());
}

struct FontCase
{
    const char* name;
    int points;
    bool bold;
    bool underline;
};

TEST_F(CalcWindowControls, CaptionFonts)
{
    create();
    // clang-format off
    const FontCase cases[] = {
        {"Label15", 14, true, true},  {"Label2", 14, true, true},
        {"Label4", 10, true, false},  {"Label18", 10, true, false}, {"Label1", 10, true, false},
        {"Label10", 10, true, false}, {"TR_Schalter", 10, true, false}, {"MS_Schalter", 10, true, false},
        {"Label27", 10, true, false}, {"Bearbeiten", 10, true, false}, {"Loeschen", 10, true, false},
        {"Label106", 10, true, false}, {"Label85", 10, true, false},
        // Panel8 is bold throughout; the stage panels are 10 pt without bold.
        {"Label42", 10, true, false}, {"Label56", 10, true, false},
        {"Label64", 10, false, false}, {"RadioButton2", 10, false, false}, {"Label98", 10, false, false},
        {"Label39", 8, false, false}, {"Label93", 8, false, false}, {"Label107", 8, false, false},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto* w = control<QWidget>(c.name);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->font().pointSize(), c.points);
        EXPECT_EQ(w->font().bold(), c.bold);
        EXPECT_EQ(w->font().underline(), c.underline);
    }
    EXPECT_EQ(form->ListBox2->font().family().toStdString(), "Courier");
    EXPECT_EQ(form->ListBox2->font().pointSize(), 12);
}

TEST_F(CalcWindowControls, Colours)
{
    create();
    EXPECT_EQ(panelColour(form.get()), QColor(221, 215, 208));
    EXPECT_TRUE(form->autoFillBackground());

    const QColor face = QApplication::palette().color(QPalette::Button);
    for (QWidget* panel : {static_cast<QWidget*>(form->Panel12), static_cast<QWidget*>(form->Panel3),
                           static_cast<QWidget*>(form->Panel1), static_cast<QWidget*>(form->Panel13)}) {
        EXPECT_EQ(panelColour(panel), face) << panel->objectName().toStdString();
        EXPECT_TRUE(panel->autoFillBackground()) << panel->objectName().toStdString();
    }
    EXPECT_EQ(panelColour(form->Panel4), QColor(160, 160, 164));
    EXPECT_EQ(panelColour(form->GroupBox3), QColor(192, 192, 192));
    EXPECT_EQ(panelColour(form->Panel5), QColor(192, 192, 192));

    const QColor red(255, 0, 0);
    for (QLabel* label : {form->Label77, form->Label61, form->Label106, form->Label85, form->Label112})
        EXPECT_EQ(label->palette().color(QPalette::WindowText), red) << label->objectName().toStdString();
    EXPECT_EQ(form->Label2->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_NE(form->Label78->palette().color(QPalette::WindowText), red);
}

TEST_F(CalcWindowControls, MenuHasTheTypeListsAndCloseLast)
{
    create();
    const QList<QAction*> bar = form->menuBar()->actions();
    ASSERT_GE(bar.size(), 2);
    EXPECT_EQ(bar.front(), form->Konvektoren1->menuAction());
    EXPECT_EQ(bar.back(), form->Schliessen1);
    const QList<QAction*> items = form->Konvektoren1->actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0], form->FreieKonvektion1);
    EXPECT_EQ(items[1], form->FreieZwangsKonv1);
    EXPECT_EQ(form->Konvektoren1->objectName().toStdString(), "Konvektoren1");
}

} // namespace
} // namespace tepa::test
