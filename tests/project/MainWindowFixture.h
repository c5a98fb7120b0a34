#pragma once

#include "PlatformDoubles.h"
#include "core/GoldenCalls.h"

#include "app/TForm1.h"
#include "calcwindow/TForm2.h"
#include "core/model/ProjectCodec.h"
#include "core/model/Session.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <map>
#include <memory>
#include <utility>

namespace tepa::test {

// Message boxes that a walk writes down instead of expecting them; questions get `answer`.
class RecordingMessages : public ScriptedMessages
{
public:
    void showMessage(const QString& text) override { boxes << "message '" + text + "'"; }
    void showInformation(const QString& text) override
    {
        boxes << "information '" + text + "'";
        if (const auto then = std::exchange(afterInformation, nullptr))
            then();
    }
    bool askYesNo(const QString& text) override { return boxes << "question '" + text + "'", answer; }
    platform::Answer askYesNoCancel(const QString& text) override { return askYesNo(text) ? platform::Answer::Yes : platform::Answer::No; }
    void showError(const QString& text) override { boxes << "error '" + text + "'"; }
    // The boxes shown since the last call, on one line.
    QString taken() { return std::exchange(boxes, {}).join(' ').replace('\n', " / "); }
    QStringList boxes;
    bool answer = true;
    std::function<void()> afterInformation; // run once, while the next information box is shown
};

// The lines a walk writes, one per step, compared with tests/data/project/<suite>.<test>.txt.
class GoldenLines
{
public:
    void operator()(const QStringList& fields) { m_out += fields.join(" | ").toStdString() + '\n'; }
    ~GoldenLines()
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        compareWithGoldenFile(std::string(TEPA_TEST_DATA_DIR "/project/") + info->test_suite_name() + "." + info->name() + ".txt", m_out);
    }

private:
    std::string m_out;
};

// A main window as the program starts it, offscreen with the platform doubles, on the installation
// `installedData`, in a fresh temporary folder (also HOME) that the settings name as the working
// directory, so start-up asks nothing.
class MainWindowFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_tempDir.isValid());
        m_savedCurrentDir = QDir::currentPath();
        m_savedHome = qgetenv("HOME");
        QDir().mkpath(tempPath("home"));
        qputenv("HOME", tempPath("home").toLocal8Bit());
        // A closed window must not leave a quit request behind for a later test.
        QApplication::setQuitOnLastWindowClosed(false);
        doubles.settings.values.insert("Arbeitsverzeichnis", tempPath("work"));
        createWindow();
    }

    void TearDown() override
    {
        destroyWindow();
        doubles.messages.verifyAllShown();
        doubles.dialogs.verifyAllUsed();
        QCoreApplication::processEvents();
        QApplication::setQuitOnLastWindowClosed(true);
        QDir::setCurrent(m_savedCurrentDir);
        qputenv("HOME", m_savedHome);
    }

    // Builds the main window afresh with these command-line arguments (after the program name).
    void createWindow(const QStringList& arguments = {}, const QString& startDirectory = {})
    {
        destroyWindow();
        // Started from a folder of its own: a window before made its program folder current.
        QDir::setCurrent(startFolder.isEmpty() ? m_tempDir.path() : startFolder);
        session = std::make_unique<Session>();
        form1 = std::make_unique<TForm1>(*session, services(), StartOptions{installedData, arguments, startDirectory});
        QCoreApplication::processEvents();
    }

    // Adds the calculation window, hidden, as at program start.
    void createCalculationWindow()
    {
        form2 = std::make_unique<TForm2>(*session, services(), form1.get());
        form2->FormCreate();
        form1->setCalculationWindow(form2.get());
    }

    platform::Services services()
    {
        platform::Services s = doubles.services();
        return recordBoxes ? platform::Services{s.settings, boxes, s.dialogs, s.shell, s.printer} : s;
    }

    void destroyWindow()
    {
        if (form1)
            form1->setCalculationWindow(nullptr);
        form2.reset();
        form1.reset();
        session.reset();
    }

    // A control of the calculation window, or of the main window, by its name.
    template <class W> W* calc(const char* name) const { return child<W>(form2.get(), name); }
    template <class W> W* control(const char* name) const { return child<W>(form1.get(), name); }
    template <class W> static W* child(QObject* window, const char* name)
    {
        W* widget = window->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << "no control named " << name;
        return widget;
    }

    QString text(std::size_t n) const { return QString::fromStdString(session->InterfaceTexts.line(n)); }

    // Types `text` key by key; QTest::keyClicks knows only ASCII keys, so others come as key events.
    static void typeInto(QWidget* widget, const QString& text)
    {
        for (const QChar c : text) {
            if (c.unicode() < 0x80) {
                QTest::keyClick(widget, c.toLatin1());
            } else {
                QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
                QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
                QApplication::sendEvent(widget, &press);
                QApplication::sendEvent(widget, &release);
            }
        }
    }

    // A step of a script: the words of its line; returns what it shows.
    using Step = std::function<QString(const std::vector<std::string>&)>;

    // Runs the steps of tests/data/project/<script> as checkGoldenCalls does: the test's own
    // `steps`, else those of `step` on controls of either window; with `recordBoxes` the message
    // boxes a step showed follow what it shows.
    void runScript(const std::string& script, const std::map<std::string, Step>& steps = {})
    {
        checkGoldenCalls(std::string(TEPA_TEST_DATA_DIR) + "/project/" + script, [&](const std::string& line) {
            const std::vector<std::string> words = callWords(line);
            const auto own = steps.find(words[0]);
            QString shown = own != steps.end() ? own->second(words) : step(words);
            if (recordBoxes && !boxes.boxes.isEmpty())
                shown += (shown.isEmpty() ? "" : " | ") + boxes.taken();
            return shown.toStdString();
        });
    }

    QString step(const std::vector<std::string>& words)
    {
        if (words[0] == "restart") {
            const bool withCalculationWindow = form2 != nullptr;
            createWindow();
            if (withCalculationWindow)
                createCalculationWindow();
            return {};
        }
        if (words[0] == "loadSample")
            return loadSample(), QString();
        QObject* target = words.size() > 1 ? named(words[1]) : nullptr;
        const QString argument = words.size() > 2 ? QString::fromStdString(words[2]) : QString();
        if (!target)
            return "no control";
        if (words[0] == "show") {
            QStringList states;
            for (std::size_t i = 1; i < words.size(); ++i)
                states << described(named(words[i]));
            return states.join(" | ");
        }
        if (words[0] == "trigger") {
            qobject_cast<QAction*>(target)->trigger();
        } else if (words[0] == "click") {
            qobject_cast<QAbstractButton*>(target)->click();
        } else if (words[0] == "row") {
            qobject_cast<QListWidget*>(target)->setCurrentRow(argument.toInt());
        } else if (words[0] == "press") {
            auto* list = qobject_cast<QListWidget*>(target);
            const QPoint row = list->visualItemRect(list->item(argument.toInt())).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row);
        } else if (words[0] == "open") {
            qobject_cast<QWidget*>(target)->show();
        } else if (words[0] == "enable") {
            target->setProperty("enabled", true);
        } else {
            ADD_FAILURE() << "no step " << words[0];
        }
        return {};
    }

    // A control of the main window, else of the calculation window ("calc:<name>": only there).
    QObject* named(const std::string& name) const
    {
        QString objectName = QString::fromStdString(name);
        QObject* found = objectName.startsWith("calc:") ? nullptr : form1->findChild<QObject*>(objectName);
        if (!found && form2)
            found = form2->findChild<QObject*>(objectName.remove("calc:"));
        EXPECT_NE(found, nullptr) << "no control named " << name;
        return found;
    }

    // How a control stands: hidden, disabled, checked, its text or title, a list's rows.
    static QString described(QObject* object)
    {
        if (!object)
            return "none";
        QString s = object->objectName();
        if (auto* action = qobject_cast<QAction*>(object))
            return s + (action->isEnabled() ? "" : " disabled") + (action->isChecked() ? " checked" : "");
        auto* widget = qobject_cast<QWidget*>(object);
        if (widget->isHidden())
            return s + " hidden";
        if (!widget->isEnabled())
            s += " disabled";
        if (auto* edit = qobject_cast<QLineEdit*>(widget))
            s += " '" + edit->text() + "'";
        else if (auto* label = qobject_cast<QLabel*>(widget))
            s += " '" + label->text() + "'";
        else if (auto* group = qobject_cast<QGroupBox*>(widget))
            s += " '" + group->title() + "'";
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            s += button->isChecked() ? " checked" : "";
        else if (auto* list = qobject_cast<QListWidget*>(widget)) {
            s += QString(" %1 rows, row %2").arg(list->count()).arg(list->currentRow());
            for (int row = 0; row < list->count() && list->count() <= 10; ++row)
                s += " '" + list->item(row)->text() + "'";
        }
        return s;
    }

    void load(const QString& path)
    {
        doubles.dialogs.answerOpen(path);
        form1->Laden1->trigger();
    }
    // Loads a copy of the sample project (an open project is locked against other tests).
    void loadSample()
    {
        const QString copy = tempPath(QStringLiteral("sample-project.kon"));
        QFile::remove(copy);
        ASSERT_TRUE(QFile::copy(TEPA_TEST_DATA_DIR "/sample-project.kon", copy));
        if (!recordBoxes)
            doubles.messages.expect(MessageKind::Information, text(213));
        load(copy);
    }

    void newProject()
    {
        form1->Neu1->trigger();
        ASSERT_TRUE(session->ProjectDataShown);
        ASSERT_FALSE(form1->GroupBox1->isHidden());
    }

    static void writeFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
        file.write(bytes);
    }
    static QString qPath(const std::filesystem::path& path) { return QString::fromStdU16String(path.u16string()); }
    static bool isDir(const QString& path) { return QFileInfo(path).isDir(); }

    static QByteArray imageOf(const ProjectRecord& record)
    {
        const std::vector<std::byte> image = ProjectCodec::encode(record);
        return QByteArray(reinterpret_cast<const char*>(image.data()), static_cast<qsizetype>(image.size()));
    }
    static ProjectRecord decoded(const QByteArray& bytes)
    {
        auto record = ProjectCodec::decode(std::as_bytes(std::span(bytes.constData(), bytes.size())));
        EXPECT_TRUE(record.ok());
        return record.ok() ? record.value() : ProjectRecord{};
    }

    static QByteArray readBytes(const QString& path)
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        return file.readAll();
    }

    QString tempPath(const QString& name) const { return m_tempDir.path() + "/" + name; }
    QString projectDir() const { return tempPath("work/Projekte"); }

    static std::filesystem::path installDir() { return std::filesystem::path(TEPA_TEST_DATA_DIR) / "install"; }

    PlatformDoubles doubles;
    RecordingMessages boxes;
    bool recordBoxes = false; // windows built from now on show their boxes to `boxes`
    std::filesystem::path installedData = installDir();
    QString startFolder; // the current folder the window starts in; empty: the temporary folder
    std::unique_ptr<Session> session;
    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TForm2> form2;

private:
    QTemporaryDir m_tempDir;
    QString m_savedCurrentDir;
    QByteArray m_savedHome;
};

constexpr int StillRunning = 77;

// Runs `action` in the event loop: 0 when it made the application quit, else StillRunning.
inline int exitCodeAfter(const std::function<void()>& action)
{
    QTimer stillRunning;
    stillRunning.setSingleShot(true);
    QObject::connect(&stillRunning, &QTimer::timeout, qApp, [] { QCoreApplication::exit(StillRunning); });
    QTimer::singleShot(0, qApp, [&] {
        action();
        // Not at once: a timer due in the same pass would overwrite the quit's exit code.
        stillRunning.start(100);
    });
    return QApplication::exec();
}

} // namespace tepa::test
