// Each control of the calculation window reaches its rule, and each part of what the rule returns
// reaches its widget: every test runs the steps of tests/data/calcwindow/Wiring.<test>.steps and
// compares the walk (each step, then the controls it changed) with Wiring.<test>.txt. The rules
// themselves are tested in the core (tests/core/calculation).
#include "CalcWindowFixture.h"

#include <QApplication>

#include <functional>

namespace tepa::test {
namespace {

// The words of a step, the quoted text ('x' in `type 'x' into Edit1`) counting as one word.
struct Words
{
    explicit Words(const std::string& line)
    {
        std::string rest = line;
        if (const std::size_t quote = line.find('\''); quote != std::string::npos) {
            const std::size_t end = line.find('\'', quote + 1);
            quoted = QString::fromStdString(line.substr(quote + 1, end - quote - 1));
            rest = line.substr(0, quote) + " '' " + line.substr(end + 1);
        }
        std::istringstream in(rest);
        for (std::string w; in >> w;)
            words.push_back(w);
    }
    const char* operator[](std::size_t i) const { return i < words.size() ? words[i].c_str() : ""; }
    int number(std::size_t i) const { return std::atoi((*this)[i]); }
    double real(std::size_t i) const { return std::atof((*this)[i]); }
    std::vector<std::string> words;
    QString quoted;
};

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
        baseline();
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

    // Runs the test's steps. Set-up steps (set, fill, expect, call, text, focus, dclick, activate,
    // close, destroy) add no line; every other step adds itself, `record <what>` its words.
    void run()
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::ifstream steps(std::string(TEPA_TEST_DATA_DIR "/calcwindow/Wiring.") + info->name() + ".steps");
        ASSERT_TRUE(steps) << "no steps for " << info->name();
        m_recording = false;
        for (std::string line; std::getline(steps, line);) {
            if (line.empty() || line[0] == '#')
                continue;
            SCOPED_TRACE(line);
            if (!quiet(Words(line)))
                record(line.rfind("record ", 0) == 0 ? line.substr(7) : line);
            if (!form)
                break;
        }
    }

    // Does the step; true for a set-up step.
    bool quiet(const Words& w)
    {
        const std::string verb = w[0];
        if (verb == "set")
            set(w);
        else if (verb == "fill") {
            const int i = w.number(2);
            const TypeRecord type = fixtureType(w[3], true);
            w.words[1] == "heating" ? fill(heating(i), type, w[3], i, w.real(4))
                                    : fill(cooling(i), type, w[3], i, w.real(4));
        } else if (verb == "expect") {
            const std::map<std::string, MessageKind> kinds = {{"Message", MessageKind::Message},
                                                              {"Information", MessageKind::Information},
                                                              {"YesNo", MessageKind::YesNo},
                                                              {"Error", MessageKind::Error}};
            const bool yes = std::string(w[3]) != "no";
            if (w.words.size() < 3)
                doubles.messages.expectAny(kinds.at(w[1]), yes);
            else
                doubles.messages.expect(kinds.at(w[1]), text(static_cast<std::size_t>(w.number(2))), yes);
        } else if (verb == "call")
            call(w[1], w.number(2));
        else if (verb == "text")
            control<QLineEdit>(w[1])->setText(w.quoted);
        else if (verb == "check")
            control<QRadioButton>(w[1])->setChecked(true);
        else if (verb == "focus")
            control<QLineEdit>(w[1])->setFocus();
        else if (verb == "dclick")
            QTest::mouseDClick(control<QLineEdit>(w[1]), Qt::LeftButton);
        else if (verb == "activate") {
            form->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        } else if (verb == "close")
            form->close();
        else if (verb == "destroy")
            form.reset();
        else if (verb != "record") {
            act(w);
            return false;
        }
        return verb == "record" ? false : true;
    }

    // A step of the user's.
    void act(const Words& w)
    {
        const std::string verb = w[0];
        if (verb == "menu")
            trigger(w[1]);
        else if (verb == "press")
            press(w[1]);
        else if (verb == "choose") // choose <type> length row <n> from <menu> [height row <n>]
            chooseType(w[6], QString::fromLatin1(w[1]), w.number(4), w.words.size() > 9 ? w.number(9) : -1);
        else if (verb == "click")
            clickRow(control<QListWidget>(w[1]), w.number(3));
        else if (verb == "key")
            QTest::keyClick(control<QListWidget>(w[3]), std::string(w[1]) == "End" ? Qt::Key_End : Qt::Key_Down);
        else if (verb == "radio")
            control<QRadioButton>(w[1])->click();
        else if (verb == "step")
            control<UpDown>(w[1])->stepBy(std::string(w[2]) == "up" ? 1 : -1);
        else if (verb == "type")
            type(w[3], w.quoted);
        else if (verb == "edit" || verb == "delete") { // edit row <n>, delete row <n> [answer no]
            control<QListWidget>("ListBox2")->setCurrentRow(w.number(2));
            control<QListWidget>("ListBox2")->item(w.number(2))->setSelected(true);
            if (verb == "delete")
                doubles.messages.expect(MessageKind::YesNo, text(94), std::string(w[4]) != "no");
            press(verb == "edit" ? "Bearbeiten" : "Loeschen");
        } else if (std::string(w[1]) == "to") { // <slider or arrows> to <value>
            if (auto* bar = form->findChild<QAbstractSlider*>(QString::fromLatin1(w[0])))
                bar->setValue(w.number(2));
            else
                control<UpDown>(w[0])->setValue(w.number(2));
        } else if (std::string(w[4]) == "listed") // <n> <type> heating|cooling entries listed [at <speed>]
            list(std::string(w[2]) == "heating", w[1], w.number(0), w.real(6));
        else
            ADD_FAILURE() << "no such step";
    }

    // set <session value> <v>; set heating|cooling [<entry>] <field> <v> (without a number the
    // current entry).
    void set(const Words& w)
    {
        const std::string what = w[1];
        if (what == "heating" || what == "cooling") {
            const bool numbered = std::isdigit(static_cast<unsigned char>(w[2][0]));
            const std::size_t f = numbered ? 3 : 2;
            if (what == "heating")
                setEntry(numbered ? heating(w.number(2)) : heating(), w[f], w[f + 1]);
            else
                setEntry(numbered ? cooling(w.number(2)) : cooling(), w[f], w[f + 1]);
            return;
        }
        ProjectRecord& p = session.Project;
        const double v = w.real(2);
        const std::map<std::string, std::function<void()>> values = {
            {"HeatingMode", [&] { session.HeatingMode = v != 0; }},
            {"CoolingMode", [&] { session.CoolingMode = v != 0; }},
            {"HeatingDualUseOn", [&] { session.HeatingDualUseOn = v != 0; }},
            {"HeatingPanelReady", [&] { session.HeatingPanelReady = v != 0; }},
            {"EntryBeingAdded", [&] { session.EntryBeingAdded = v != 0; }},
            {"ProjectLoaded", [&] { session.ProjectLoaded = v != 0; }},
            {"HeatingEntryIndex", [&] { session.HeatingEntryIndex = static_cast<std::int32_t>(v); }},
            {"ProgramDir", [&] { session.ProgramDir = w[2]; }},
            {"HeatingInUse", [&] { p.HeatingInUse = v != 0; }},
            {"HeatingDemand", [&] { p.HeatingDemand = v; }},
            {"CoolingDemand", [&] { p.CoolingDemand = v; }},
            {"CoolingFlowTemp", [&] { p.CoolingFlowTemp = v; }},
            {"CoolingSecondTemp", [&] { p.CoolingSecondTemp = v; }},
            {"CoolingHumidity", [&] { p.CoolingHumidity = v; }},
            {"CoolingEntryCount", [&] { p.CoolingEntryCount = static_cast<std::int32_t>(v); }},
        };
        values.at(what)();
    }
    template <class Entry> static void setEntry(Entry& e, const std::string& field, const std::string& value)
    {
        const double v = std::atof(value.c_str());
        if (field == "TypeName")
            e.TypeName.setText(value);
        else if (field == "Count")
            e.Count = static_cast<std::int32_t>(v);
        else if (field == "Output")
            e.Output = v;
        else if (field == "ReturnTemp")
            e.ReturnTemp = v;
        else if (field == "FanSpeed")
            e.FanSpeed = v;
        else if constexpr (std::is_same_v<Entry, HeatingEntry>) {
            if (field == "MassFlowStart")
                e.MassFlowStart = v;
            else if (field == "MassFlowEnd")
                e.MassFlowEnd = v;
            else
                ADD_FAILURE() << "no entry field " << field;
        } else
            ADD_FAILURE() << "no entry field " << field;
    }

    // call <routine of the window> [<entry>]
    void call(const std::string& routine, int i)
    {
        const std::map<std::string, std::function<void()>> routines = {
            {"Panel4Click", [&] { form->Panel4Click(); }},
            {"RadioButton2Click", [&] { form->RadioButton2Click(); }},
            {"update_grenzen", [&] { form->update_grenzen(i); }},
            {"update1", [&] { form->update1(i); }},
            {"update1_K", [&] { form->update1_K(i); }},
            {"Restwaerme", [&] { form->Restwaerme(); }},
            {"Balken_grenzwerte", [&] { form->Balken_grenzwerte(i); }},
            {"Listenaufbau", [&] { form->Listenaufbau(); }},
            {"showCoolingSummary", [&] { form->showCoolingSummary(); }},
            {"showCoolingList", [&] { form->showCoolingList(); }},
            {"prepareHeatingRun", [&] { form->prepareHeatingRun(); }},
        };
        routines.at(routine)();
    }

    int printMenuEnabled = 0, convectorListEnabled = 0, typeListDisabled = 0;
};

TEST_F(Wiring, TheTypePanelAndWeiter) { run(); }
// Free convectors at two height factors, a fan, a slow fan and a staged unit, as designed.
TEST_F(Wiring, DesignsOfEachKind) { run(); }
// The heating sliders and fields, each with a decimal comma and a refused value; a free convector
// whose height factor is not 1 shows and takes the entry's own output.
TEST_F(Wiring, TheHeatingOperatingPoint) { run(); }
// The heating fan bar and setting field (on Enter, on entry, on a double click).
TEST_F(Wiring, TheHeatingFan) { run(); }
// The cooling count, stage, fan bar and setting, and return temperature.
TEST_F(Wiring, TheCoolingOperatingPoint) { run(); }
TEST_F(Wiring, TheListButtons) { run(); }
// Deleting the only entry hides the list; a type chosen then is the new first entry, counted
// and listed.
TEST_F(Wiring, AFirstEntryChosenAfterDeletingTheOnlyOneIsCounted) { run(); }
// The list rules reach ListBox2, the total and the series notes.
TEST_F(Wiring, TheListView) { run(); }

TEST_F(Wiring, ClosingCommitsTheFieldStillBeingTypedIn)
{
    list(true, "W1", 1);
    auto* returnTemp = control<QLineEdit>("Edit1");
    QSignalSpy committed(returnTemp, &QLineEdit::editingFinished);
    QApplication::setActiveWindow(form.get());
    returnTemp->setFocus();
    returnTemp->selectAll();
    QTest::keyClicks(returnTemp, "55");
    ASSERT_EQ(committed.count(), 0);
    trigger("Schliessen1");
    EXPECT_EQ(committed.count(), 1);
}

} // namespace
} // namespace tepa::test
