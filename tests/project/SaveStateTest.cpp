// Nothing a planner typed is lost: the save question before close, New and Load, and the marker.
#include "MainWindowFixture.h"

namespace tepa::test {
namespace {

using platform::Answer;

// A loaded project, saved once, then edited as the planner would.
class SaveState : public MainWindowFixture
{
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        createCalculationWindow();
        loadSample();
        doubles.dialogs.answerSave(file);
        form1->Speichern1->trigger();
        original = readBytes(file);
        ASSERT_FALSE(form1->isWindowModified());
    }

    const QString file = tempPath("sample-project.kon");
    QByteArray original;
};

// Each edit, then each command with an answer to text 121: the question comes exactly when
// something would be lost, and a saved file holds the edit.
TEST_F(SaveState, EveryEditIsAskedForBeforeItCouldBeLostAndNothingElse)
{
    const std::pair<const char*, std::function<void()>> edits[] = {
        {"nothing", nullptr},
        {"title typed, panel still open", [&] { typeInto(form1->Edit15, "Neu"); }},
        {"title typed, then the room data opened", [&] { typeInto(form1->Edit15, "Neu"), form1->Raumdaten1->trigger(); }},
        {"room name typed", [&] { form1->Raumdaten1->trigger(), form1->Edit13->clear(), typeInto(form1->Edit13, "Flur"); }},
        {"unit count written back by the calculation window",
         [&] { form2->show(), session->Project.HeatingEntries[0].Count = 7, form2->hide(); }},
        {"attachment deleted", [&] { form1->ListBox2->setCurrentRow(0), form1->Del1->click(); }},
    };
    const std::pair<QAction* TForm1::*, Answer> steps[] = {
        {nullptr, Answer::No}, {nullptr, Answer::Yes}, {nullptr, Answer::Cancel}, // close
        {&TForm1::Neu1, Answer::Cancel}, {&TForm1::Neu1, Answer::Yes}, {&TForm1::Laden1, Answer::No},
        {&TForm1::Laden1, Answer::Cancel}, {&TForm1::Speichern1, Answer::No},
    };
    for (const auto& [what, edit] : edits) {
        for (const auto& [command, answer] : steps) {
            SCOPED_TRACE(testing::Message() << what << ", command " << (command ? "" : "close") << ", answer " << int(answer));
            SetUp();
            if (edit)
                edit();
            const bool modified = edit != nullptr;
            EXPECT_EQ(form1->isWindowModified(), modified) << "the title's marker";
            const bool asked = modified && command != &TForm1::Speichern1;
            const bool goesOn = !asked || answer != Answer::Cancel;
            const bool saves = command == &TForm1::Speichern1 || (asked && answer == Answer::Yes);
            if (asked)
                doubles.messages.expectQuestion(text(121), answer);
            if (saves)
                doubles.dialogs.answerSave(file);
            if (goesOn && command == &TForm1::Laden1)
                doubles.dialogs.answerOpen(std::nullopt);

            if (command)
                (form1.get()->*command)->trigger();
            else
                EXPECT_EQ(form1->close(), goesOn);
            if (command == &TForm1::Neu1)
                EXPECT_EQ(session->ProjectLoaded, !goesOn);

            doubles.messages.verifyAllShown();
            doubles.dialogs.verifyAllUsed();
            EXPECT_EQ(readBytes(file) != original, saves && modified) << "the edit is in the saved file";
            const bool replaced = command == &TForm1::Neu1 && goesOn;
            EXPECT_EQ(form1->isWindowModified(), modified && !saves && !replaced);
            TearDown();
        }
    }
}

} // namespace
} // namespace tepa::test
