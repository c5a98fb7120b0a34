#pragma once

#include "PlatformDoubles.h"

#include "calcwindow/FormControls.h"
#include "calcwindow/SizingDialog.h"
#include "calcwindow/TForm2.h"
#include "core/model/Session.h"
#include "core/productdata/ProductData.h"
#include "core/text/InterfaceTexts.h"
#include "core/GoldenCalls.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>

#include <cctype>
#include <map>
#include <set>

namespace tepa::test {

// The words of a step; missing words read as empty.
inline std::vector<std::string> stepWords(const std::string& line)
{
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    words.resize(std::max<std::size_t>(words.size(), 10));
    return words;
}
inline double number(const std::string& word) { return std::atof(word.c_str()); }

inline const std::filesystem::path FixtureInstallDir = TEPA_TEST_DATA_DIR "/install";

// A calculation window as the program creates it at start, with the fixture installation's texts
// and program directory and a plain widget as its main window; `create()` builds it. The room is
// heated 75/20 °C for 2000 W and cooled 16/26 °C at 40 % for 1500 W.
class CalcWindowFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto texts = InterfaceTexts::load(FixtureInstallDir);
        ASSERT_TRUE(texts.ok()) << texts.error();
        session.InterfaceTexts = std::move(texts.value());
        session.ProgramDir = FixtureInstallDir;
        mainWindow.move(120, 80);
        ProjectRecord& p = session.Project;
        p.HeatingFlowTemp = 75, p.HeatingRoomTemp = 20, p.HeatingDemand = 2000;
        p.CoolingFlowTemp = 16, p.CoolingRoomTemp = 26, p.CoolingSecondTemp = 16;
        p.CoolingHumidity = 40, p.CoolingDemand = 1500;
    }

    // A test that recorded a walk compares it with tests/data/calcwindow/<suite>.<test>.txt;
    // TEPA_WRITE_GOLDEN=1 rewrites the file instead.
    void TearDown() override
    {
        if (!m_walk.str().empty())
            compareWithGoldenFile(dataFile(".txt"), m_walk.str());
    }
    static std::string dataFile(const char* extension)
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        return std::string(TEPA_TEST_DATA_DIR "/calcwindow/") + info->test_suite_name() + "." + info->name() + extension;
    }

    // One line of the walk: the step, then each control (and the current entry, as "entry")
    // whose state changed since the line before, and the boxes shown meanwhile.
    void record(const std::string& step)
    {
        std::map<QString, QString> now = states();
        m_walk << step << ':';
        for (const auto& [name, state] : now)
            if (const auto was = m_states.find(name); was == m_states.end() || was->second != state)
                m_walk << ' ' << name.toStdString() << '=' << state.toStdString() << ';';
        const QStringList& boxes = doubles.messages.shown();
        for (; m_boxes < boxes.size(); ++m_boxes)
            m_walk << " box '" << boxes[m_boxes].toStdString() << "';";
        m_walk << '\n';
        m_states = std::move(now);
    }
    TForm2& create()
    {
        form = std::make_unique<TForm2>(session, doubles.services(), &mainWindow);
        return *form;
    }

    // The type of the fixture installation whose line starts with `name`.
    static TypeRecord fixtureType(const std::string& name, bool forced)
    {
        auto types = readAllTypes(FixtureInstallDir, forced);
        EXPECT_TRUE(types.ok());
        if (types.ok())
            for (const TypeRecord& type : types.value())
                if (type.name.rfind(name, 0) == 0)
                    return type;
        ADD_FAILURE() << "no fixture type " << name;
        return {};
    }

    // Entry `n` (1-based) of each list, and the current one.
    HeatingEntry& heating(int n) { return session.Project.HeatingEntries[static_cast<std::size_t>(n - 1)]; }
    CoolingEntry& cooling(int n) { return session.Project.CoolingEntries[static_cast<std::size_t>(n - 1)]; }
    HeatingEntry& heating() { return session.currentHeatingEntry(); }
    CoolingEntry& cooling() { return session.currentCoolingEntry(); }

    // `count` entries of one type calculated as the window does; heating free convectors unless
    // a fan speed is given.
    void list(bool heatingMode, const char* name, int count, double speed)
    {
        session.HeatingMode = heatingMode;
        session.CoolingMode = !heatingMode;
        const TypeRecord type = fixtureType(name, speed > 0 || !heatingMode);
        for (int i = 1; i <= count; ++i)
            heatingMode ? fill(heating(i), type, name, i, speed) : fill(cooling(i), type, name, i, speed);
        (heatingMode ? session.Project.HeatingEntryCount : session.Project.CoolingEntryCount) = count;
        for (int i = count; i >= 1; --i)
            heatingMode ? (form->update0(i), form->update_grenzen(i), form->update1(i))
                        : (form->update0_K(i), form->update1_K(i));
        form->Listenaufbau();
    }
    template <class Entry> void fill(Entry& e, const TypeRecord& type, const char* name, int i, double speed)
    {
        e.TypeName.setText(name);
        e.TypeText1.setText(type.dataLine);
        e.TypeText2.setText(type.fanLine);
        e.Length = speed > 0 ? 1250 : 800 + 200 * i;
        e.Height = speed > 0 ? 140 : 200;
        e.HeightFactor = 1;
        e.FanSpeed = speed;
        e.Count = i;
        e.ReturnTemp = session.HeatingMode ? 60 : 18;
        e.InUse = true;
        if constexpr (std::is_same_v<Entry, HeatingEntry>)
            e.FreeConvection = speed == 0;
    }

    // A mouse click on `row` of a list, as the user picks an item.
    void clickRow(QListWidget* list, int row)
    {
        ASSERT_LT(row, list->count()) << list->objectName().toStdString();
        list->scrollToItem(list->item(row));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }

    // The control of the window with this name and type; a missing one fails the test.
    template <class Control> Control* control(const std::string& name)
    {
        auto* found = form->findChild<Control*>(QString::fromStdString(name));
        EXPECT_NE(found, nullptr) << "no control " << name << " of the expected kind";
        return found;
    }

    QString text(std::size_t line) { return QString::fromStdString(session.InterfaceTexts.line(line)); }
    void press(const std::string& button) { control<QPushButton>(button)->click(); }
    void trigger(const std::string& action) { control<QAction>(action)->trigger(); }

    // What the user sees of each named control, and the current entry.
    std::map<QString, QString> states()
    {
        std::map<QString, QString> all;
        for (const QWidget* w : form->findChildren<QWidget*>()) {
            if (w->objectName().isEmpty() || w->objectName().startsWith(QLatin1String("qt_")))
                continue;
            QString s = w->isHidden() ? QStringLiteral("hidden ") : QString();
            if (!w->isEnabled())
                s += QStringLiteral("off ");
            if (const auto* l = qobject_cast<const QLabel*>(w)) {
                s += l->text();
                if (const QColor c = l->palette().color(QPalette::WindowText); c != Qt::black)
                    s += QLatin1Char(' ') + c.name();
            }
            else if (const auto* e = qobject_cast<const QLineEdit*>(w))
                s += e->text();
            else if (const auto* bar = qobject_cast<const QScrollBar*>(w))
                s += QStringLiteral("%1 of %2..%3").arg(bar->value()).arg(bar->minimum()).arg(bar->maximum());
            else if (const auto* arrows = qobject_cast<const UpDown*>(w))
                s += QStringLiteral("%1 of %2..%3").arg(arrows->value()).arg(arrows->minimum()).arg(arrows->maximum());
            else if (const auto* b = qobject_cast<const QRadioButton*>(w))
                s += b->isChecked() ? QStringLiteral("checked") : QString();
            else if (const auto* list = qobject_cast<const QListWidget*>(w)) {
                // The room's lines in full, of the others the one chosen.
                s += QStringLiteral("row %1 of %2").arg(list->currentRow()).arg(list->count());
                for (int row = 0; row < list->count(); ++row)
                    if (row == list->currentRow() || w->objectName() == QLatin1String("ListBox2"))
                        s += QStringLiteral(" |") + list->item(row)->text();
            } else if (w->autoFillBackground())
                s += panelColour(w).name();
            all[w->objectName()] = s;
        }
        for (const QAction* a : form->findChildren<QAction*>())
            if (!a->objectName().isEmpty())
                all[a->objectName()] = a->text() + (a->isEnabled() ? QString() : QStringLiteral(" off"));
        const ProjectRecord& p = session.Project;
        all[QStringLiteral("entry")] =
            QStringLiteral("%1 of %2/%3 ").arg(session.HeatingMode ? session.HeatingEntryIndex : session.CoolingEntryIndex)
                .arg(p.HeatingEntryCount).arg(p.CoolingEntryCount) +
            (session.HeatingMode ? entryText(heating()) : entryText(cooling())) +
            (p.HeatingInUse ? QStringLiteral(" heating designed") : QString());
        moreStates(all);
        return all;
    }
    // What a fixture adds to the states of the walk.
    virtual void moreStates(std::map<QString, QString>&) {}
    template <class Entry> static QString entryText(const Entry& e)
    {
        return QStringLiteral("%1 %2x%3*%4 n%5 tr%6 m%7 q%8 dp%9 ")
                   .arg(QString::fromStdString(e.TypeName.text()))
                   .arg(e.Length).arg(e.Height).arg(e.HeightFactor, 0, 'g', 8).arg(e.Count)
                   .arg(e.ReturnTemp, 0, 'g', 8).arg(e.MassFlow, 0, 'g', 8).arg(e.Output, 0, 'g', 8)
                   .arg(e.PressureDrop, 0, 'g', 8) +
               QStringLiteral("fan%1 L%2 %3").arg(e.FanSpeed).arg(e.SoundLevel, 0, 'g', 8)
                   .arg(e.InUse ? QStringLiteral("in use") : QString());
    }

    // Runs the test's steps from the window as it stands. Set-up steps (set, fill, expect, call, text,
    // check, focus, dclick, activate, close, destroy) add no line; every other step adds itself,
    // `record <what>` its words.
    void run()
    {
        std::ifstream steps(dataFile(".steps"));
        ASSERT_TRUE(steps) << "no steps";
        m_states = states();
        m_boxes = doubles.messages.shown().size();
        for (std::string line; std::getline(steps, line) && form;) {
            if (line.empty() || line[0] == '#')
                continue;
            SCOPED_TRACE(line);
            const std::vector<std::string> w = stepWords(line);
            doStep(w);
            if (!std::set<std::string>{"set", "fill", "expect", "call", "text", "check", "focus", "dclick",
                                       "activate", "close", "destroy"}.contains(w[0]))
                record(w[0] == "record" ? line.substr(7) : line);
        }
    }

    void doStep(const std::vector<std::string>& w)
    {
        const std::string& verb = w[0];
        if (verb == "set")
            set(w);
        else if (verb == "fill") {
            const int i = std::stoi(w[2]);
            const TypeRecord type = fixtureType(w[3], true);
            w[1] == "heating" ? fill(heating(i), type, w[3].c_str(), i, number(w[4]))
                              : fill(cooling(i), type, w[3].c_str(), i, number(w[4]));
        } else if (verb == "expect") {
            const std::map<std::string, MessageKind> kinds = {
                {"Message", MessageKind::Message}, {"Information", MessageKind::Information},
                {"YesNo", MessageKind::YesNo}, {"Error", MessageKind::Error}};
            if (w[2].empty())
                doubles.messages.expectAny(kinds.at(w[1]));
            else
                doubles.messages.expect(kinds.at(w[1]), text(std::stoul(w[2])), w[3] != "no");
        } else if (verb == "call")
            call(w[1], std::atoi(w[2].c_str()));
        else if (verb == "text")
            control<QLineEdit>(w[1])->setText(QString::fromStdString(w[2]));
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
        else if (verb == "menu")
            trigger(w[1]);
        else if (verb == "press")
            press(w[1]);
        else if (verb == "choose") { // choose <type> length row <n> from <menu> [height row <n>], then "weiter"
            trigger(w[6]);
            auto* types = control<QListWidget>("ListBox1");
            const auto items = types->findItems(QString::fromStdString(w[1]), Qt::MatchStartsWith);
            ASSERT_FALSE(items.empty()) << "no such type";
            clickRow(types, types->row(items.front()));
            clickRow(control<QListWidget>("ListBox3"), std::stoi(w[4]));
            if (!w[9].empty()) // else the height the window preselects
                clickRow(control<QListWidget>("ListBox4"), std::stoi(w[9]));
            press("Konweiter");
        }
        else if (verb == "click")
            clickRow(control<QListWidget>(w[1]), std::stoi(w[3]));
        else if (verb == "key")
            QTest::keyClick(control<QWidget>(w[3]), std::map<std::string, Qt::Key>{
                                                        {"Up", Qt::Key_Up}, {"Down", Qt::Key_Down}, {"End", Qt::Key_End}}
                                                        .at(w[1]));
        else if (verb == "radio")
            control<QRadioButton>(w[1])->click();
        else if (verb == "step")
            control<UpDown>(w[1])->stepBy(w[2] == "up" ? 1 : -1);
        else if (verb == "type") { // type <text> into <field> [unconfirmed]: replaced as by the user
            auto* edit = control<QLineEdit>(w[3]);
            edit->setFocus();
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_Backspace);
            QTest::keyClicks(edit, QString::fromStdString(w[1]));
            if (w[4].empty())
                QTest::keyClick(edit, Qt::Key_Return);
        } else if (verb == "edit" || verb == "delete") { // edit row <n>, delete row <n> [answer no]
            control<QListWidget>("ListBox2")->setCurrentRow(std::stoi(w[2])); // selects it too
            if (verb == "delete")
                doubles.messages.expect(MessageKind::YesNo, text(94), w[4] != "no");
            press(verb == "edit" ? "Bearbeiten" : "Loeschen");
        } else if (w[1] == "to") // <slider or arrows> to <value>
            control<QWidget>(w[0])->setProperty("value", std::stoi(w[2]));
        else if (verb == "size") // size line <n> | size setting <end of the setting cell>
            size(w[1] == "line" ? std::stoi(w[2]) : -1, QString::fromStdString(w[2] + (w[3].empty() ? "" : " " + w[3])));
        else if (w[4] == "listed") // <n> <type> heating|cooling entries listed [at <speed>]
            list(w[2] == "heating", w[1].c_str(), std::stoi(w[0]), number(w[6]));
        else if (verb != "record")
            ADD_FAILURE() << "no such step";
    }

    // Opens the sizing dialog, writes its warning and first lines into the walk, and takes line
    // `row`, or with -1 the first line whose setting (4th cell) ends with `setting`.
    void size(int row, const QString& setting)
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
        for (int r = 0; r < table->rowCount(); ++r) {
            QStringList cells;
            for (int column = 0; column < table->columnCount(); ++column)
                cells << table->item(r, column)->text();
            const bool taken = chosen < 0 && (row < 0 ? cells[3].endsWith(setting) : r == row);
            if (r < 3 || taken)
                lines += "\n  " + std::to_string(r) + ": " + cells.join(QStringLiteral(" | ")).toStdString();
            if (taken)
                chosen = r;
        }
        record(lines + "\n  of " + std::to_string(table->rowCount()));
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
    }

    // set <session value> <v>; set heating|cooling [<entry>] <field> <v> (without a number the
    // current entry).
    void set(const std::vector<std::string>& w)
    {
        const std::string& what = w[1];
        if (what == "heating" || what == "cooling") {
            const bool numbered = std::isdigit(static_cast<unsigned char>(w[2][0]));
            const std::size_t f = numbered ? 3 : 2;
            if (what == "heating")
                setEntry(numbered ? heating(std::stoi(w[2])) : heating(), w[f], w[f + 1]);
            else
                setEntry(numbered ? cooling(std::stoi(w[2])) : cooling(), w[f], w[f + 1]);
            return;
        }
        ProjectRecord& p = session.Project;
        const double v = number(w[2]);
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

    Session session;
    PlatformDoubles doubles;
    QWidget mainWindow;
    std::unique_ptr<TForm2> form; // destroyed first, while the doubles still exist
    std::ostringstream m_walk;
    std::map<QString, QString> m_states;
    qsizetype m_boxes = 0;
    bool m_recording = false;
};

} // namespace tepa::test
