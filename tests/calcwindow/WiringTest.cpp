// Each control of the calculation window reaches its rule, and each part of what the rule returns
// reaches its widget: every test runs tests/data/calcwindow/Wiring.<test>.steps and compares the
// walk with Wiring.<test>.txt. The rules themselves are tested in the core.
#include "CalcWindowFixture.h"

namespace tepa::test {
namespace {

class Wiring : public CalcWindowFixture
{
protected:
    void SetUp() override
    {
        CalcWindowFixture::SetUp();
        session.Project.HeatingEntryCount = session.Project.CoolingEntryCount = 1;
        session.CentreReturnTemp = true;
        create().enableMainPrintMenu = [this] { ++printMenuEnabled; };
        form->enableMainConvectorList = [this] { ++convectorListEnabled; };
        form->disableMainTypeList = [this] { ++typeListDisabled; };
        form->connectOperatingPointInputs();
        form->show();
    }

    // The main window's calls, the fan's memory and every entry of both lists.
    void moreStates(std::map<QString, QString>& all) override
    {
        all[QStringLiteral("main")] = QStringLiteral("print menu %1, convector list %2, type list off %3")
                                          .arg(printMenuEnabled).arg(convectorListEnabled).arg(typeListDisabled);
        all[QStringLiteral("window")] = QStringLiteral("row selected %1, air flow limit %2")
                                            .arg(form->RowSelected).arg(form->Fan.airFlowLimit);
        for (int i = 1; i <= session.Project.HeatingEntryCount; ++i)
            all[QStringLiteral("heating %1").arg(i)] = entryText(heating(i));
        for (int i = 1; i <= session.Project.CoolingEntryCount; ++i)
            all[QStringLiteral("cooling %1").arg(i)] = entryText(cooling(i));
    }

    int printMenuEnabled = 0, convectorListEnabled = 0, typeListDisabled = 0;
};

TEST_F(Wiring, TheTypePanelAndWeiter) { run(); }
TEST_F(Wiring, DesignsOfEachKind) { run(); }
TEST_F(Wiring, TheHeatingOperatingPoint) { run(); }
TEST_F(Wiring, TheHeatingFan) { run(); }
TEST_F(Wiring, TheCoolingOperatingPoint) { run(); }
TEST_F(Wiring, TheListButtons) { run(); }
TEST_F(Wiring, AFirstEntryChosenAfterDeletingTheOnlyOneIsCounted) { run(); }
TEST_F(Wiring, TheListView) { run(); }
TEST_F(Wiring, ClosingCommitsTheFieldStillBeingTypedIn) { run(); }
TEST_F(Wiring, SizingListsTheCoreSearchAndAddsTheChosenLineAsTheNextEntry) { run(); }
TEST_F(Wiring, SizingInCoolingWarnsOfTheDewPointAndSetsTheFan) { run(); }

} // namespace
} // namespace tepa::test
