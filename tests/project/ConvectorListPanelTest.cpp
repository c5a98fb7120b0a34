// The convector list panel: the list command and what hides and brings back the panel.
#include "MainWindowFixture.h"

namespace tepa::test {
namespace {

using ConvectorListPanel = MainWindowFixture;

TEST_F(ConvectorListPanel, Walk)
{
    form1->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form1.get()));
    const auto changed = [&](const std::vector<std::string>&) {
        return QString("changed %1%2%3, list shown %4")
            .arg(session->DemandChanged).arg(session->FlowTempChanged).arg(session->RoomTempChanged)
            .arg(session->ListShown);
    };
    runScript("ConvectorListPanel.txt",
              {{"changed", changed},
               {"change",
                [&](const std::vector<std::string>& words) {
                    session->DemandChanged = session->FlowTempChanged = session->RoomTempChanged = true;
                    return changed(words);
                }},
               {"entry", // a heating entry in use: type, height, length, count
                [&](const std::vector<std::string>& w) {
                    HeatingEntry& e = session->Project.HeatingEntries[0];
                    e.TypeName.setText(w[1]), e.Height = std::stod(w[2]), e.Length = std::stod(w[3]);
                    e.Count = std::stoi(w[4]), e.InUse = true;
                    session->Project.RoomCount = session->Project.HeatingEntryCount = 1;
                    return QString();
                }}});
}

} // namespace
} // namespace tepa::test
