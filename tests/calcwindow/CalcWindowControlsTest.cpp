// The controls of the calculation window the handlers rely on: ranges and defaults, and the
// radio buttons that exclude each other only within their panel.
#include "CalcWindowFixture.h"

#include "calcwindow/FormControls.h"

#include <QLineEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>

namespace tepa::test {
namespace {

using CalcWindowControls = CalcWindowFixture;

TEST_F(CalcWindowControls, RangesAndDefaults)
{
    create();
    struct Case
    {
        const char* name;
        int minimum, maximum, position;
        const char* edit; // the field the control writes into
        const char* text;
    };
    const Case cases[] = {
        {"DrehzahlBar4", 0, 1600, 30, "Edit4", "0"}, {"ScrollBar1", 0, 100, 0, nullptr, nullptr},
        {"ScrollBar2", 0, 100, 0, nullptr, nullptr}, {"ScrollBar4", 0, 2000, 0, nullptr, nullptr},
        {"UpDown1", 1, 15, 1, "Edit5", "1"},         {"UpDown2", 1, 15, 1, "Edit9", "1"},
        {"UpDown3", 10, 30, 10, "Edit6", "10"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto* range = form->findChild<QAbstractSlider*>(QString::fromLatin1(c.name));
        auto* spin = form->findChild<QSpinBox*>(QString::fromLatin1(c.name));
        ASSERT_TRUE(range || spin);
        EXPECT_EQ(range ? range->minimum() : spin->minimum(), c.minimum);
        EXPECT_EQ(range ? range->maximum() : spin->maximum(), c.maximum);
        EXPECT_EQ(range ? range->value() : spin->value(), c.position);
        if (c.edit) {
            EXPECT_EQ(control<QLineEdit>(c.edit)->text().toStdString(), c.text);
        }
    }
}

TEST_F(CalcWindowControls, RadioButtonsStartSelectedAndExcludeOnlyWithinTheirPanel)
{
    create();
    const std::pair<QRadioButton*, bool> start[] = {
        {form->RadioButton1, true},  {form->RadioButton3, false}, {form->RadioButton5, true},
        {form->RadioButton7, false}, {form->TR_Schalter, true},   {form->MS_Schalter, false},
    };
    for (const auto& [button, checked] : start)
        EXPECT_EQ(button->isChecked(), checked) << button->objectName().toStdString();

    form->RadioButton3->click();
    EXPECT_FALSE(form->RadioButton1->isChecked());
    EXPECT_TRUE(form->RadioButton5->isChecked());
    EXPECT_TRUE(form->TR_Schalter->isChecked());

    form->MS_Schalter->click();
    form->RadioButton7->click();
    EXPECT_FALSE(form->TR_Schalter->isChecked());
    EXPECT_FALSE(form->RadioButton5->isChecked());
    EXPECT_TRUE(form->RadioButton3->isChecked());
    EXPECT_TRUE(form->MS_Schalter->isChecked());
}

} // namespace
} // namespace tepa::test
