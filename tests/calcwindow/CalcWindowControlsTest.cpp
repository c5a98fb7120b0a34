// The radio buttons of the calculation window exclude each other only within their panel.
#include "CalcWindowFixture.h"

#include <QRadioButton>

namespace tepa::test {
namespace {

using CalcWindowControls = CalcWindowFixture;

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
