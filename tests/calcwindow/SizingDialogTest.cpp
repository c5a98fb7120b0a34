#include "calcwindow/SizingDialog.h"

#include "CalcWindowFixture.h"

#include "core/series/Series.h"
#include "core/sizing/Sizing.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

#include <algorithm>

namespace tepa::test {
namespace {

class SizingDialogTest : public CalcWindowFixture
{
protected:
    void SetUp() override
    {
        CalcWindowFixture::SetUp();
        designRoom();
        // A new project counts its first, still empty entry in each list.
        session.Project.HeatingEntryCount = 1;
        session.Project.CoolingEntryCount = 1;
        create();
    }

    // What the core search finds for the room as it stands.
    std::vector<sizing::Candidate> expected(engine::Mode mode)
    {
        return sizing::size(*sizing::loadCatalog(FixtureInstallDir, localeDecimalSeparator()),
                            sizing::roomRequest(session.Project, mode))
            .candidates;
    }

    SizingDialog* open()
    {
        control<QAction>("Auslegung1")->trigger();
        auto* dialog = form->findChild<SizingDialog*>(QStringLiteral("SizingDialog"));
        EXPECT_NE(dialog, nullptr);
        return dialog;
    }

    static void take(SizingDialog* dialog, int row)
    {
        QPushButton* ok = dialog->SizingButtons->button(QDialogButtonBox::Ok);
        EXPECT_FALSE(ok->isEnabled()) << "OK before a line is chosen";
        dialog->SizingTable->selectRow(row);
        ok->click();
        // The dialog deletes itself once closed.
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

TEST_F(SizingDialogTest, ListsTheCoreSearchAndAddsTheChosenLineAsTheNextEntry)
{
    session.HeatingMode = true;
    const auto first = expected(engine::Mode::Heating);
    ASSERT_GT(first.size(), 1u);
    SizingDialog* dialog = open();
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(dialog->SizingTable->rowCount(), static_cast<int>(first.size()));
    EXPECT_EQ(dialog->SizingTable->item(0, 0)->text().toStdString(), first[0].typeName);
    EXPECT_EQ(dialog->SizingTable->item(0, 4)->text(), QString::number(first[0].count));
    EXPECT_EQ(dialog->SizingTable->horizontalHeaderItem(0)->text(),
              form->text(TForm2::SizingHeadingsText).split('|').front());
    EXPECT_FALSE(dialog->SizingWarning->isVisibleTo(dialog)) << "no dew point in heating";
    take(dialog, 1);

    // The first entry, still unchosen, takes the line; its operating point is the window's own.
    const sizing::Candidate& c = first[1];
    EXPECT_EQ(session.Project.HeatingEntryCount, 1);
    EXPECT_TRUE(heating(1).InUse);
    EXPECT_EQ(heating(1).TypeName.text(), c.typeName);
    EXPECT_EQ(heating(1).Length, c.lengthMm);
    EXPECT_EQ(heating(1).FanSpeed, c.speedRpm);
    EXPECT_EQ(heating(1).Count, c.count);
    EXPECT_NEAR(heating(1).Output, c.outputW, 1e-6 * c.outputW);
    EXPECT_EQ(control<QLineEdit>("Edit5")->text(), QString::number(c.count));
    EXPECT_EQ(form->findChild<SizingDialog*>(), nullptr);

    // The next search covers what is left; its first line with a running fan is appended as
    // entry 2, the fan set through the window's bar.
    const auto second = expected(engine::Mode::Heating);
    std::size_t row = 0;
    while (row + 1 < second.size() && second[row].speedRpm == 0)
        ++row;
    const sizing::Candidate& fan = second[row];
    ASSERT_GT(fan.speedRpm, 0);
    // "weiter" starts an added entry's fan at rest, which a slow fan answers with its minimum.
    if (series::isSlowFan(fan.typeName))
        doubles.messages.expect(MessageKind::Message, form->text(calculation::WfwlMinimumText));
    take(open(), static_cast<int>(row));
    doubles.messages.verifyAllShown();
    EXPECT_EQ(session.Project.HeatingEntryCount, 2);
    EXPECT_EQ(heating(2).TypeName.text(), fan.typeName);
    EXPECT_EQ(heating(2).FanSpeed, fan.speedRpm);
    EXPECT_EQ(heating(2).Count, fan.count);
    EXPECT_NEAR(heating(2).Output, fan.outputW, 1e-6 * fan.outputW);
    EXPECT_EQ(heating(1).TypeName.text(), c.typeName) << "the first entry stays";
}

TEST_F(SizingDialogTest, AFullListRefusesTheLineWithItsText)
{
    session.HeatingMode = true;
    take(open(), 0);
    for (int i = 2; i <= static_cast<int>(MaxEntries); ++i)
        heating(i) = heating(1);
    session.Project.HeatingEntryCount = static_cast<std::int32_t>(MaxEntries);
    const HeatingEntry last = heating(static_cast<int>(MaxEntries));
    doubles.messages.expect(MessageKind::Message, form->text(265));
    take(open(), 0);
    doubles.messages.verifyAllShown();
    EXPECT_EQ(session.Project.HeatingEntryCount, static_cast<std::int32_t>(MaxEntries));
    EXPECT_EQ(heating(static_cast<int>(MaxEntries)), last);
}

TEST_F(SizingDialogTest, CoolingWarnsOfTheDewPointAndSetsTheFan)
{
    coolingMode();
    session.Project.CoolingHumidity = 70; // dew point about 20 °C: a flow of 16 °C is too cold
    const auto found = expected(engine::Mode::Cooling);
    ASSERT_FALSE(found.empty());
    SizingDialog* dialog = open();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->SizingWarning->isVisibleTo(dialog));
    EXPECT_EQ(dialog->SizingWarning->text(), form->text(33));
    // The first line with a fan speed of its own.
    int row = 0;
    while (row + 1 < static_cast<int>(found.size()) && found[static_cast<std::size_t>(row)].speedRpm <= 700)
        ++row;
    const sizing::Candidate& c = found[static_cast<std::size_t>(row)];
    take(dialog, row);
    EXPECT_EQ(cooling(1).TypeName.text(), c.typeName);
    EXPECT_EQ(cooling(1).FanSpeed, c.speedRpm);
    EXPECT_EQ(cooling(1).Count, c.count);
    EXPECT_NEAR(cooling(1).Output, c.outputW, 1e-6 * c.outputW);
}

// A staged unit's line in cooling sets its stage button, and the dialog shows every column.
TEST_F(SizingDialogTest, CoolingStagesReachTheirButtonsAndEveryColumnShows)
{
    coolingMode();
    const std::pair<double, const char*> stages[] = {{1000, "RadioButton6"}, {1400, "RadioButton7"}};
    for (const auto& [speed, button] : stages) {
        SCOPED_TRACE(button);
        cooling(1) = {};
        const auto found = expected(engine::Mode::Cooling);
        const auto line = std::find_if(found.begin(), found.end(), [&](const sizing::Candidate& c) {
            return c.typeName.rfind("DWF", 0) == 0 && c.speedRpm == speed;
        });
        ASSERT_NE(line, found.end());
        SizingDialog* dialog = open();
        ASSERT_NE(dialog, nullptr);
        int columns = 0;
        for (int column = 0; column < dialog->SizingTable->columnCount(); ++column)
            columns += dialog->SizingTable->columnWidth(column);
        EXPECT_GE(dialog->width(), columns);
        take(dialog, static_cast<int>(line - found.begin()));
        EXPECT_EQ(cooling(1).FanSpeed, speed);
        EXPECT_TRUE(control<QRadioButton>(button)->isChecked());
    }
}

} // namespace
} // namespace tepa::test
