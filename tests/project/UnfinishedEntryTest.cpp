// An entry appended with "Erweitern" and not yet completed belongs to one list of one project.
#include "MainWindowFixture.h"

namespace tepa::test {
namespace {

using UnfinishedEntry = MainWindowFixture;

TEST_F(UnfinishedEntry, Walk)
{
    recordBoxes = true;
    createWindow();
    createCalculationWindow();
    const auto done = [](const std::vector<std::string>&) { return QString(); };
    runScript("UnfinishedEntry.txt",
              {{"lists", // two heating entries and one cooling entry, in this mode
                [&](const std::vector<std::string>& words) {
                    const bool heating = words[1] == "heating";
                    session->Project.HeatingEntryCount = 2;
                    session->Project.CoolingEntryCount = 1;
                    session->Project.HeatingEntries[0].InUse = session->Project.CoolingEntries[0].InUse = true;
                    (heating ? form1->RadioButton1 : form1->RadioButton2)->setChecked(true);
                    session->HeatingMode = heating;
                    session->CoolingMode = !heating;
                    return done(words);
                }},
               {"entries",
                [&](const std::vector<std::string>&) {
                    return QString("adding %1, heating %2 of %3, cooling %4 of %5")
                        .arg(session->EntryBeingAdded).arg(session->HeatingEntryIndex).arg(session->Project.HeatingEntryCount)
                        .arg(session->CoolingEntryIndex).arg(session->Project.CoolingEntryCount);
                }},
               {"answer", [&](const std::vector<std::string>& words) { return boxes.answer = words[1] == "yes", QString(); }},
               {"Erweitern", [&](const std::vector<std::string>& words) { return form2->ErweiternClick(), done(words); }},
               {"Schliessen", [&](const std::vector<std::string>& words) { return form2->Schliessen1Click(), done(words); }},
               {"Bearbeiten", [&](const std::vector<std::string>& words) { return form2->BearbeitenClick(), done(words); }},
               {"Listenaufbau", [&](const std::vector<std::string>& words) { return form2->Listenaufbau(), done(words); }}});
}

} // namespace
} // namespace tepa::test
