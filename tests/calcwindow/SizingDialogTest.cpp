// The sizing dialog lists the core's search for the room and adds the chosen line as an entry
// through the window's own controls. Its first lines, the line taken and what the taking set are
// walks, compared with tests/data/calcwindow/SizingDialogTest.<test>.txt.
#include "calcwindow/SizingDialog.h"

#include "CalcWindowFixture.h"

#include "core/calculation/HeatingFan.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QTableWidget>

#include <functional>

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
        baseline();
    }

    // Opens the dialog, writes its warning and lines into the walk, and takes the first line
    // whose cells (type, length, height, setting, ...) `wanted` accepts.
    void take(const std::function<bool(const QStringList&)>& wanted)
    {
        trigger("Auslegung1");
        record("menu Auslegung1");
        auto* dialog = form->findChild<SizingDialog*>(QStringLiteral("SizingDialog"));
        ASSERT_NE(dialog, nullptr);
        QTableWidget* table = dialog->SizingTable;
        const bool warned = dialog->SizingWarning->isVisibleTo(dialog);
        std::string lines = "lines, warning '" + (warned ? dialog->SizingWarning->text().toStdString() : "") + "'";
        lines += "\n  heading " + table->horizontalHeaderItem(0)->text().toStdString();
        int chosen = -1, columns = 0;
        for (int row = 0; row < table->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < table->columnCount(); ++column)
                cells << table->item(row, column)->text();
            // The first lines, and the one taken, stand for the list.
            const bool taken = chosen < 0 && wanted(cells);
            if (row < 3 || taken)
                lines += "\n  " + std::to_string(row) + ": " + cells.join(QStringLiteral(" | ")).toStdString();
            if (taken)
                chosen = row;
        }
        lines += "\n  of " + std::to_string(table->rowCount());
        record(lines);
        // Wide enough for every column of its lines.
        for (int column = 0; column < table->columnCount(); ++column)
            columns += table->columnWidth(column);
        EXPECT_GE(dialog->width(), columns);
        ASSERT_GE(chosen, 0) << "no such line";
        QPushButton* ok = dialog->SizingButtons->button(QDialogButtonBox::Ok);
        EXPECT_FALSE(ok->isEnabled()) << "OK before a line is chosen";
        table->selectRow(chosen);
        ok->click();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(form->findChild<SizingDialog*>(), nullptr) << "the dialog deletes itself once closed";
        record("line " + std::to_string(chosen) + " taken");
    }
};

TEST_F(SizingDialogTest, ListsTheCoreSearchAndAddsTheChosenLineAsTheNextEntry)
{
    // The first entry, still unchosen, takes the second line; its operating point is the
    // window's own.
    int line = 0;
    take([&line](const QStringList&) { return line++ == 1; });
    // The next search covers what is left; its first line with a running fan is appended as
    // entry 2, the fan set through the window's bar. "weiter" starts an added entry's fan at
    // rest, which a slow fan answers with its minimum.
    doubles.messages.expect(MessageKind::Message, text(calculation::WfwlMinimumText));
    take([](const QStringList& cells) { return cells[3] != QLatin1String("-"); });
    ASSERT_EQ(session.Project.HeatingEntryCount, 2);

    // A full list refuses the line with its text.
    for (int i = 3; i <= static_cast<int>(MaxEntries); ++i)
        heating(i) = heating(1);
    session.Project.HeatingEntryCount = static_cast<std::int32_t>(MaxEntries);
    const HeatingEntry last = heating(static_cast<int>(MaxEntries));
    doubles.messages.expect(MessageKind::Message, text(265));
    take([](const QStringList&) { return true; });
    EXPECT_EQ(heating(static_cast<int>(MaxEntries)), last);
}

// In cooling: the dew-point warning, and each fan setting reaches its control (a staged unit's
// stage its button).
TEST_F(SizingDialogTest, CoolingWarnsOfTheDewPointAndSetsTheFan)
{
    session.HeatingMode = false;
    session.CoolingMode = true;
    session.Project.CoolingHumidity = 70; // dew point about 20 °C: a flow of 16 °C is too cold
    for (const char* setting : {" %", "1000 1/min", "1400 1/min"}) {
        cooling(1) = {};
        take([setting](const QStringList& cells) { return cells[3].endsWith(QLatin1String(setting)); });
    }
}

} // namespace
} // namespace tepa::test
