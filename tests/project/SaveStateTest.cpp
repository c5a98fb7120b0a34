// Nothing a planner typed is lost: the save question before close, New and Load, the modified
// marker and the project data kept across panels.
#include "MainWindowFixture.h"

#include <functional>

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
        file = tempPath("Haus.kon");
        QFile::remove(file);
        QFile::copy(QString::fromStdString(testData("sample-project.kon").string()), file);
        doubles.messages.expect(MessageKind::Information, text(213));
        load(file);
        doubles.dialogs.answerSave(file);
        form1->Speichern1->trigger();
        original = readBytes(file);
        ASSERT_FALSE(form1->isWindowModified());
    }

public:
    // The edits of the table below work on these.
    using MainWindowFixture::form1;
    using MainWindowFixture::form2;
    using MainWindowFixture::session;
    using MainWindowFixture::typeInto;
    QString file;
    QByteArray original;
};

// One edit, and how its trace is found in a saved file.
struct Edit
{
    const char* what;
    std::function<void(SaveState&)> apply; // nothing: no edit at all
    std::function<bool(const ProjectRecord&)> saved;
};

enum class Command
{
    Close,
    New,
    Load,
    Save
};

const Edit edits[] = {
    {"nothing", nullptr, nullptr},
    {"title typed, panel still open", [](SaveState& t) { SaveState::typeInto(t.form1->Edit15, "Neu"); },
     [](const ProjectRecord& r) { return r.Title.text().ends_with("Neu"); }},
    {"title typed, then the room data opened",
     [](SaveState& t) {
         SaveState::typeInto(t.form1->Edit15, "Neu");
         t.form1->Raumdaten1->trigger();
     },
     [](const ProjectRecord& r) { return r.Title.text().ends_with("Neu"); }},
    {"room name typed",
     [](SaveState& t) {
         t.form1->Raumdaten1->trigger();
         t.form1->Edit13->clear();
         SaveState::typeInto(t.form1->Edit13, "Flur");
     },
     [](const ProjectRecord& r) { return r.RoomName.text() == "Flur"; }},
    {"unit count written back by the calculation window",
     [](SaveState& t) {
         t.form2->show();
         t.session->Project.HeatingEntries[0].Count = 7;
         t.form2->hide();
     },
     [](const ProjectRecord& r) { return r.HeatingEntries[0].Count == 7; }},
    {"attachment deleted",
     [](SaveState& t) {
         t.form1->ListBox2->setCurrentRow(0);
         t.form1->Del1->click();
     },
     [](const ProjectRecord& r) { return r.Attachments[1].empty(); }},
};

struct Step
{
    Command command;
    Answer answer; // to text 121, when it is asked
};

const Step steps[] = {
    {Command::Close, Answer::No},    {Command::Close, Answer::Yes}, {Command::Close, Answer::Cancel},
    {Command::New, Answer::Cancel},  {Command::New, Answer::Yes},   {Command::Load, Answer::No},
    {Command::Load, Answer::Cancel}, {Command::Save, Answer::No},
};

TEST_F(SaveState, EveryEditIsAskedForBeforeItCouldBeLostAndNothingElse)
{
    for (const Edit& e : edits) {
        for (const Step& step : steps) {
            SCOPED_TRACE(testing::Message()
                         << e.what << ", command " << int(step.command) << ", answer " << int(step.answer));
            SetUp();
            if (e.apply)
                e.apply(*this);
            const bool modified = e.apply != nullptr;
            EXPECT_EQ(form1->isWindowModified(), modified) << "the title's marker";
            const bool asked = modified && step.command != Command::Save;
            const bool goesOn = !asked || step.answer != Answer::Cancel;
            const bool saves = step.command == Command::Save || (asked && step.answer == Answer::Yes);
            if (asked)
                doubles.messages.expectQuestion(text(121), step.answer);
            if (saves)
                doubles.dialogs.answerSave(file);
            if (goesOn && step.command == Command::Load)
                doubles.dialogs.answerOpen(std::nullopt);

            switch (step.command) {
            case Command::Close:
                EXPECT_EQ(form1->close(), goesOn);
                break;
            case Command::New:
                form1->Neu1->trigger();
                EXPECT_EQ(session->ProjectLoaded, !goesOn);
                break;
            case Command::Load:
                form1->Laden1->trigger();
                break;
            case Command::Save:
                form1->Speichern1->trigger();
                break;
            }

            doubles.messages.verifyAllShown();
            doubles.dialogs.verifyAllUsed();
            const QByteArray now = readBytes(file);
            if (saves && modified) {
                EXPECT_TRUE(e.saved(decoded(now)));
            } else {
                EXPECT_EQ(now, original);
            }
            const bool replaced = step.command == Command::New && goesOn;
            EXPECT_EQ(form1->isWindowModified(), modified && !saves && !replaced);
            TearDown();
        }
    }
}

TEST_F(SaveState, ProjectDataTypedSurviveAnyWayOfLeavingThePanel)
{
    const std::function<void()> leaves[] = {
        [&] { form1->Raumdaten1->trigger(); },
        [&] { form1->Info2->trigger(); },
        [&] { form1->GroupBox1->hide(); },
    };
    for (const auto& leave : leaves) {
        form1->GroupBox1->hide();
        form1->Projektdaten1->trigger();
        form1->Edit16->clear();
        typeInto(form1->Edit16, "4711");
        leave();
        form1->GroupBox2->hide();
        form1->GroupBox1->hide();
        form1->Projektdaten1->trigger();
        EXPECT_EQ(form1->Edit16->text().toStdString(), "4711");
        EXPECT_EQ(session->Project.Number.text(), "4711");
        form1->Edit16->setText("x");
        session->Project.Number.setText("x");
    }
}

} // namespace
} // namespace tepa::test
