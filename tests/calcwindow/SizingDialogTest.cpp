#include "calcwindow/SizingDialog.h"

#include "CalcWindowFixture.h"

#include "core/series/Series.h"
#include "core/sizing/Sizing.h"

#include <QApplication>
#include <QDialogButtonBox>
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
        // A new project counts its first, still empty entry in each list.
        session.Project.HeatingEntryCount = session.Project.CoolingEntryCount = 1;
        create();
    }

    // What the core search finds for the room as it stands.
    std::vector<sizing::Candidate> expected()
    {
        const engine::Mode mode = session.HeatingMode ? engine::Mode::Heating : engine::Mode::Cooling;
        return sizing::size(*sizing::loadCatalog(FixtureInstallDir, localeDecimalSeparator()),
                            sizing::roomRequest(session.Project, mode))
            .candidates;
    }

    SizingDialog* open()
    {
        trigger("Auslegung1");
        return form->findChild<SizingDialog*>(QStringLiteral("SizingDialog"));
    }

    // Takes line `row` of the dialog; the dialog deletes itself once closed.
    static void take(SizingDialog* dialog, std::size_t row)
    {
        ASSERT_NE(dialog, nullptr);
        QPushButton* ok = dialog->SizingButtons->button(QDialogButtonBox::Ok);
        EXPECT_FALSE(ok->isEnabled()) << "OK before a line is chosen";
        dialog->SizingTable->selectRow(static_cast<int>(row));
        ok->click();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    template <class Entry> static void expectTaken(const Entry& e, const sizing::Candidate& c)
    {
        EXPECT_EQ(e.TypeName.text(), c.typeName);
        EXPECT_EQ(e.FanSpeed, c.speedRpm);
        EXPECT_EQ(e.Count, c.count);
        EXPECT_NEAR(e.Output, c.outputW, 1e-6 * c.outputW);
    }
};

TEST_F(SizingDialogTest, ListsTheCoreSearchAndAddsTheChosenLineAsTheNextEntry)
{
    const auto first = expected();
    ASSERT_GT(first.size(), 1u);
    SizingDialog* dialog = open();
    ASSERT_NE(dialog, nullptr);
    ASSERT_EQ(dialog->SizingTable->rowCount(), static_cast<int>(first.size()));
    EXPECT_EQ(dialog->SizingTable->item(0, 1)->text(), QString::number(first[0].lengthMm));
    EXPECT_EQ(dialog->SizingTable->item(0, 4)->text(), QString::number(first[0].count));
    EXPECT_EQ(dialog->SizingTable->horizontalHeaderItem(0)->text(),
              text(TForm2::SizingHeadingsText).split('|').front());
    EXPECT_FALSE(dialog->SizingWarning->isVisibleTo(dialog)) << "no dew point in heating";
    // Wide enough for every column of its lines.
    int columns = 0;
    for (int column = 0; column < dialog->SizingTable->columnCount(); ++column)
        columns += dialog->SizingTable->columnWidth(column);
    EXPECT_GE(dialog->width(), columns);
    take(dialog, 1);
    // The first entry, still unchosen, takes the line; its operating point is the window's own.
    EXPECT_EQ(session.Project.HeatingEntryCount, 1);
    expectTaken(heating(1), first[1]);
    EXPECT_EQ(fieldText("Edit5"), QString::number(first[1].count));
    EXPECT_EQ(form->findChild<SizingDialog*>(), nullptr);

    // The next search covers what is left; its first line with a running fan is appended as
    // entry 2, the fan set through the window's bar.
    const auto second = expected();
    const auto fan = std::find_if(second.begin(), second.end(), [](const auto& c) { return c.speedRpm > 0; });
    ASSERT_NE(fan, second.end());
    // "weiter" starts an added entry's fan at rest, which a slow fan answers with its minimum.
    if (series::isSlowFan(fan->typeName))
        doubles.messages.expect(MessageKind::Message, text(calculation::WfwlMinimumText));
    take(open(), static_cast<std::size_t>(fan - second.begin()));
    EXPECT_EQ(session.Project.HeatingEntryCount, 2);
    expectTaken(heating(2), *fan);
    EXPECT_EQ(heating(1).TypeName.text(), first[1].typeName) << "the first entry stays";

    // A full list refuses the line with its text.
    for (int i = 3; i <= static_cast<int>(MaxEntries); ++i)
        heating(i) = heating(1);
    session.Project.HeatingEntryCount = static_cast<std::int32_t>(MaxEntries);
    const HeatingEntry last = heating(static_cast<int>(MaxEntries));
    doubles.messages.expect(MessageKind::Message, text(265));
    take(open(), 0);
    doubles.messages.verifyAllShown();
    EXPECT_EQ(heating(static_cast<int>(MaxEntries)), last);
}

// In cooling: the dew-point warning, and each fan setting reaches its control (a staged unit's
// stage its button).
TEST_F(SizingDialogTest, CoolingWarnsOfTheDewPointAndSetsTheFan)
{
    coolingMode();
    session.Project.CoolingHumidity = 70; // dew point about 20 °C: a flow of 16 °C is too cold
    struct Case
    {
        const char* type;
        double speed; // 0: the first line with a speed of its own
        const char* button;
    };
    const Case cases[] = {{"", 0, nullptr}, {"DWF", 1000, "RadioButton6"}, {"DWF", 1400, "RadioButton7"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button ? c.button : "speed");
        cooling(1) = {};
        const auto found = expected();
        const auto line = std::find_if(found.begin(), found.end(), [&](const sizing::Candidate& f) {
            return c.speed > 0 ? f.typeName.rfind(c.type, 0) == 0 && f.speedRpm == c.speed : f.speedRpm > 700;
        });
        ASSERT_NE(line, found.end());
        SizingDialog* dialog = open();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->SizingWarning->isVisibleTo(dialog) ? dialog->SizingWarning->text() : QString(),
                  text(33));
        take(dialog, static_cast<std::size_t>(line - found.begin()));
        expectTaken(cooling(1), *line);
        if (c.button)
            EXPECT_TRUE(control<QRadioButton>(c.button)->isChecked());
    }
}

} // namespace
} // namespace tepa::test
