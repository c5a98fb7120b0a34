// Random use of both windows, with the invariants checked after every event. A failure or a hang
// names the seed and event for a replay: TEPA_MONKEY_SEED=n runs that seed instead of the fixed
// ones, TEPA_MONKEY_TRACE=1 prints every event as it starts.
#include "PlatformDoubles.h"

#include "app/TForm1.h"
#include "calcwindow/FormControls.h"
#include "calcwindow/TForm2.h"
#include "core/model/ProjectCodec.h"
#include "project/AttachmentPolicy.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QtWidgets>

#include <cstring>
#include <random>
#include <thread>

namespace tepa::test {
namespace {

// An event running for HangLimitMs hangs (room for a sanitizer build under load); a slow one fails.
constexpr qint64 HangLimitMs = 30000, EventLimitMs = 1000;

std::string quoted(QString text)
{
    text.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return '"' + (text.size() > 120 ? text.left(120) + "..." : text).toStdString() + '"';
}

// A list's count is 1 to 12, or 0 once its last entry was deleted; the index lies within it.
std::optional<std::string> listProblem(const char* list, int count, bool firstInUse, int index)
{
    if (count < 0 || count > int(MaxEntries) || (count == 0 && firstInUse) || index < 1 ||
        index > std::max(count, 1))
        return std::string(list) + " count " + std::to_string(count) +
               (firstInUse ? " (entry 1 in use)" : "") + ", index " + std::to_string(index);
    return std::nullopt;
}

QByteArray imageOf(const ProjectRecord& project)
{
    const std::vector<std::byte> image = ProjectCodec::encode(project);
    return QByteArray(reinterpret_cast<const char*>(image.data()), qsizetype(image.size()));
}

// The reader must take a project image back unchanged; what no program may write (a double that
// is no number, a count outside its list, an overlong string) comes back changed.
std::optional<std::string> imageProblem(const QByteArray& image)
{
    auto decoded = ProjectCodec::decode(std::as_bytes(std::span(image.constData(), image.size())));
    if (!decoded)
        return "an image that does not decode: " + decoded.error();
    // The room count is read as 1 whatever it holds.
    std::memcpy(&decoded->RoomCount, image.constData() + layout::record::RoomCount.offset, 4);
    if (const qsizetype changed = firstDifference(image, imageOf(*decoded)); changed >= 0)
        return "byte " + std::to_string(changed) + " of the image reads back changed";
    return std::nullopt;
}

// A box may show an interface text or a fixed text, alone, after an entry's number or above the
// file or address it is about; errors only of the files the monkey hands over and of numbers.
struct MessageRules
{
    MessageRules(const InterfaceTexts& texts, const QString& tempDir)
        : tempDir(tempDir)
    {
        for (const std::string& line : texts.lines())
            lines.insert(QString::fromStdString(line));
        // Without a program to open them, the mail and web addresses are shown.
        for (const std::size_t line : {161, 162})
            lines.insert(QString::fromStdString(texts.line(line)).mid(1));
        lines += {QString::fromUtf8(LoadingErrorMessage), QString::fromUtf8(RefusedAttachmentText),
                  QStringLiteral("KONVEKTORTYP NOCH NICHT INTEGRIERT !!")};
        lines.remove(QString());
    }

    std::optional<std::string> problem(MessageKind kind, const QString& text) const
    {
        static const QRegularExpression numbered(QStringLiteral("^Konvektor Nr (\\d+)   (.*)$"),
                                                 QRegularExpression::DotMatchesEverythingOption);
        static const QRegularExpression notANumber(QStringLiteral("^'.*' ist kein gültiger Gleitkommawert$"),
                                                   QRegularExpression::DotMatchesEverythingOption);
        const auto match = numbered.match(text);
        const int number = match.captured(1).toInt(); // 0 without a match
        const bool allowed =
            kind != MessageKind::Error
                ? lines.contains(text.section(QLatin1Char('\n'), 0, 0)) ||
                      (number >= 1 && number <= int(MaxEntries) && lines.contains(match.captured(2)))
                : notANumber.match(text).hasMatch() ||
                      text.startsWith(tempDir + QStringLiteral("/missing/")) ||
                      (text.startsWith(QStringLiteral("Datei ") + tempDir) &&
                       text.endsWith(QStringLiteral(" kann nicht geöffnet werden")));
        return allowed ? std::nullopt
                       : std::optional(std::string("unexpected ") + kindName(kind) + " " + quoted(text));
    }

    QSet<QString> lines;
    QString tempDir;
};

// The monkey is the message boxes and file dialogs too: it answers questions at random and hands
// the dialogs its own files, damaged ones among them.
class Monkey : public platform::Messages, public platform::FileDialogs
{
public:
    explicit Monkey(std::uint64_t seed)
        : m_seed(seed)
        , m_random(seed)
        , m_temp(QDir(m_tempDir.path()).canonicalPath())
    {
        m_settings.values.insert(QStringLiteral("Arbeitsverzeichnis"), m_temp + QStringLiteral("/work"));
        const platform::Services services{m_settings, *this, *this, m_shell, &m_printer};
        StartOptions options;
        options.installedDataDir = TEPA_SOURCE_DATA_DIR;
        m_form1 = std::make_unique<TForm1>(m_session, services, options);
        m_form2 = std::make_unique<TForm2>(m_session, services, m_form1.get());
        m_form2->FormCreate();
        m_form1->setCalculationWindow(m_form2.get());
        m_form1->show();
        QCoreApplication::processEvents();
        m_rules.emplace(m_session.InterfaceTexts, m_temp);
        m_watchdog = std::jthread([this](const std::stop_token& stop) {
            for (; !stop.stop_requested(); std::this_thread::sleep_for(std::chrono::milliseconds(200)))
                if (const qint64 started = m_eventStartMs; started > 0 && nowMs() - started > HangLimitMs) {
                    std::fprintf(stderr, "monkey seed %lu: event %ld hangs\n", ulong(m_seed), long(m_event));
                    std::abort();
                }
        });
    }

    ~Monkey() override { m_form1->setCalculationWindow(nullptr); }

    void run(long events)
    {
        // Each kind as often as its weight; false: nothing of the kind is reachable.
        static const std::array kinds{&Monkey::menuCommand, &Monkey::clickControl, &Monkey::moveSlider,
                                      &Monkey::typeIntoEdit};
        std::discrete_distribution<std::size_t> weights{18, 40, 14, 18};
        for (long n = 1; n <= events; ++n) {
            m_event = n;
            m_shell.result = chance(80);
            m_printer.cancel = chance(20);
            const qint64 started = m_eventStartMs = nowMs();
            for (int attempt = 0; attempt < 100 && !(this->*kinds[weights(m_random)])(); ++attempt) {
            }
            QCoreApplication::processEvents();
            m_eventStartMs = 0;
            if (const auto problem = problemAfterEvent(nowMs() - started)) {
                ADD_FAILURE() << "monkey seed " << m_seed << ", event " << n << ": " << *problem
                              << "\nreplay: TEPA_MONKEY_SEED=" << m_seed << " TEPA_MONKEY_TRACE=1";
                return;
            }
            m_savesThisEvent.clear();
            m_boxes.clear();
            m_printer.jobs.clear();
        }
    }

    void showMessage(const QString& box) override { m_boxes.emplace_back(MessageKind::Message, box); }
    void showInformation(const QString& box) override { m_boxes.emplace_back(MessageKind::Information, box); }
    void showError(const QString& box) override { m_boxes.emplace_back(MessageKind::Error, box); }
    bool askYesNo(const QString& text) override
    {
        m_boxes.emplace_back(MessageKind::YesNo, text);
        return chance(50);
    }

    // The project file dialog has a title; the attachment dialog takes any file.
    std::optional<QString> openFile(const platform::FileDialogRequest& request) override
    {
        static const char* const names[] = {"/anhang/plan.pdf", "/anhang/setup.exe", "/Übersicht °C.txt",
                                            "/start.bat. ",     "/gone.kon",         ""};
        const std::size_t roll = pick(10);
        QString path = roll == 0 ? QString() : m_temp + QString::fromUtf8(names[pick(std::size(names))]);
        if (roll == 1 && request.title.isEmpty())
            path = m_temp + QLatin1Char('/') + QString(200 + pickInt(200), QChar(u'ä'));
        else if (roll > 1 && !request.title.isEmpty())
            path = damagedProjectFile();
        note(path.isEmpty() ? "cancel" : quoted(path), "open dialog");
        return path.isEmpty() ? std::nullopt : std::optional(path);
    }

    std::optional<QString> saveFile(const platform::FileDialogRequest&) override
    {
        const std::size_t roll = pick(100);
        const QString path = roll < 10   ? QString()
                             : roll < 14 ? m_temp + QStringLiteral("/missing/projekt.kon")
                                         : m_temp + QStringLiteral("/save-%1.kon").arg(pick(40));
        note(path.isEmpty() ? "cancel" : quoted(path), "save dialog");
        m_savesThisEvent.push_back(path); // a cancel's empty path is never opened
        return path.isEmpty() ? std::nullopt : std::optional(path);
    }

private:
    static qint64 nowMs() { return QDateTime::currentMSecsSinceEpoch(); }

    std::optional<std::string> problemAfterEvent(qint64 elapsedMs)
    {
        if (elapsedMs > EventLimitMs)
            return "the event took " + std::to_string(elapsedMs) + " ms";
        for (const auto& [kind, text] : m_boxes)
            if (auto problem = m_rules->problem(kind, text))
                return problem;
        const ProjectRecord& p = m_session.Project;
        const Session& s = m_session;
        for (const auto& problem :
             {listProblem("heating", p.HeatingEntryCount, p.HeatingEntries[0].InUse, s.HeatingEntryIndex),
              listProblem("cooling", p.CoolingEntryCount, p.CoolingEntries[0].InUse, s.CoolingEntryIndex)})
            if (problem)
                return problem;
        if (auto problem = imageProblem(imageOf(p)))
            return "project in memory: " + *problem;
        for (const QString& path : m_savesThisEvent) {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly))
                continue; // the save did not happen (room data changed, a failed write)
            if (auto problem = imageProblem(file.readAll()))
                return "saved file " + path.toStdString() + ": " + *problem;
            if (!m_savedFiles.contains(path))
                m_savedFiles.push_back(path);
        }
        return std::nullopt;
    }

    void note(const std::string& detail, const char* kind = "")
    {
        static const char* const trace = std::getenv("TEPA_MONKEY_TRACE");
        if (trace && *trace && std::strcmp(trace, "0") != 0)
            std::fprintf(stderr, "#%ld %s%s%s\n", long(m_event), kind, *kind ? ": " : "", detail.c_str());
    }

    std::size_t pick(std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(m_random() % n); }
    int pickInt(int n) { return static_cast<int>(pick(static_cast<std::size_t>(std::max(n, 0)))); }
    bool chance(int percent) { return pickInt(100) < percent; }

    // A control `keep` accepts that can be reached now: shown, enabled, not covered at its centre;
    // it gets the focus as a press would.
    template <class W> W* pickReachable(const std::function<bool(W*)>& keep)
    {
        const bool calcWindowOnly = m_form2->isVisible() && chance(60);
        std::vector<W*> found;
        for (QWidget* window : {static_cast<QWidget*>(m_form1.get()), static_cast<QWidget*>(m_form2.get())}) {
            if (!window->isVisible() || (calcWindowOnly && window != m_form2.get()))
                continue;
            for (W* widget : window->findChildren<W*>()) {
                QWidget* hit = window->childAt(widget->mapTo(window, widget->rect().center()));
                if (widget->isVisible() && widget->isEnabled() && hit &&
                    (hit == widget || widget->isAncestorOf(hit)) && keep(widget))
                    found.push_back(widget);
            }
        }
        if (found.empty())
            return nullptr;
        W* widget = found[pick(found.size())];
        note(widget->metaObject()->className() + (" " + widget->objectName().toStdString()));
        QApplication::setActiveWindow(widget->window());
        if (widget->focusPolicy() & Qt::ClickFocus)
            widget->setFocus(Qt::MouseFocusReason);
        return widget;
    }

    // Numbers, odd ones, long ones, and any characters of the basic plane among those of numbers.
    QString randomText()
    {
        static const QStringList odd =
            QStringLiteral("nan|-inf|12a|1,2,3|--5|5-|1e|.|-|,|1E309|-1e400|1e-400|"
                           "99999999999999999999|2147483648|0x7fffffff|$FFFFFFFF|"
                           "-0|4.9e-324|1..2|١٢|12°|½|  42  ")
                .split(QLatin1Char('|'));
        static const std::pair<char16_t, int> ranges[] = {
            {1, 31}, {0x20, 0x5f}, {0xa0, 0x60}, {0x100, 0xd700}};
        QString text = QString::number(pickInt(251) - 50) + QStringLiteral(".,")[pickInt(2)] +
                       QString::number(pick(1000));
        if (const std::size_t way = pick(5); way < 2)
            return text.left(pickInt(int(text.size())) + 1); // counts, temperatures, lengths
        else if (way == 2)
            return odd[pickInt(int(odd.size()))];
        else if (way == 3)
            return text.fill(QLatin1Char(chance(50) ? '9' : 'x'), 40 + pickInt(120));
        text.clear();
        for (int i = 0, n = 1 + pickInt(12); i < n; ++i) {
            const auto& [first, size] = ranges[pick(4)];
            text += chance(50) ? QStringLiteral("-+.,eE0123456789 ")[pickInt(17)]
                               : QChar(char16_t(first + pickInt(size)));
        }
        return text;
    }

    // A menu command of a shown window (not Exit), or the calculation window's close button.
    bool menuCommand()
    {
        if (m_form2->isVisible() && chance(10)) {
            note("calculation window frame");
            return m_form2->close();
        }
        TForm1& f = *m_form1;
        std::vector<QAction*> actions{f.Neu1,          f.Laden1,     f.Speichern1,    f.Konvliste,
                                      f.Projektdaten1, f.Raumdaten1, f.Berechnungen1, f.Info2};
        if (f.Drucken1->isEnabled() && f.Drucken1->menuAction()->isEnabled())
            actions.insert(actions.end(), {f.normal1, f.Orvapapier1, f.normal2, f.Orvapapier2});
        for (const char* name : {"Schliessen1", "FreieKonvektion1", "FreieZwangsKonv1"})
            if (m_form2->isVisible())
                actions.push_back(m_form2->findChild<QAction*>(name));
        std::erase_if(actions, [](const QAction* a) { return !a->isEnabled(); });
        if (actions.empty())
            return false;
        QAction* action = actions[pick(actions.size())];
        note(action->objectName().toStdString(), "menu");
        const bool calcWindow = m_form2->findChildren<QAction*>().contains(action);
        QApplication::setActiveWindow(calcWindow ? static_cast<QWidget*>(m_form2.get()) : m_form1.get());
        action->trigger();
        return true;
    }

    // A list row (now and then twice), a button, a count's arrows or an information line.
    bool clickControl()
    {
        QWidget* control = pickReachable<QWidget>([this](QWidget* w) {
            const auto* list = qobject_cast<QListWidget*>(w);
            return (list && list->count() > 0) || qobject_cast<QPushButton*>(w) ||
                   qobject_cast<QRadioButton*>(w) || qobject_cast<UpDown*>(w) || w == m_form1->Label2 ||
                   w == m_form1->Label4;
        });
        if (auto* list = qobject_cast<QListWidget*>(control)) {
            const int row = pickInt(list->count());
            const bool twice = chance(25);
            // The focus change may have rebuilt the list.
            if (row >= list->count() || !list->isVisible())
                return true;
            note(quoted(list->item(row)->text()) + (twice ? " double click" : ""), "row");
            list->scrollToItem(list->item(row));
            const QPoint centre = list->visualItemRect(list->item(row)).center();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
            if (twice && list->isVisible() && list->isEnabled())
                QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
        } else if (auto* upDown = qobject_cast<UpDown*>(control)) {
            const Qt::Key key =
                std::array{Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown}[pick(4)];
            for (std::size_t i = 0, n = 1 + pick(3); i < n && upDown->isVisible() && upDown->isEnabled(); ++i)
                QTest::keyClick(upDown, key);
        } else if (auto* button = qobject_cast<QAbstractButton*>(control)) {
            if (button->isVisible() && button->isEnabled())
                button->click();
        } else if (control) {
            QTest::mouseClick(control, Qt::LeftButton);
        }
        return control;
    }

    // The calculation window's sliders (not its lists' scroll bars): set, or moved by an action.
    bool moveSlider()
    {
        QScrollBar* bar = pickReachable<QScrollBar>(
            [this](QScrollBar* b) { return b->window() == m_form2.get() && !b->objectName().isEmpty(); });
        if (bar && chance(50))
            bar->setValue(bar->minimum() + pickInt(bar->maximum() - bar->minimum() + 1));
        else if (bar)
            bar->triggerAction(QAbstractSlider::SliderAction(1 + pick(6)));
        return bar;
    }

    bool typeIntoEdit()
    {
        QWidget* field = pickReachable<QWidget>([](QWidget* w) {
            const auto* edit = qobject_cast<QLineEdit*>(w);
            return qobject_cast<QPlainTextEdit*>(w) ||
                   (edit && !edit->isReadOnly() && !qobject_cast<QAbstractSpinBox*>(edit->parentWidget()));
        });
        if (!field)
            return false;
        const bool memo = qobject_cast<QPlainTextEdit*>(field) != nullptr;
        const QString text =
            memo && chance(50) ? randomText() + QLatin1Char('\n') + randomText() : randomText();
        const bool replace = chance(80);
        const int ending = pickInt(10); // 0-4 Enter, 5-7 focus out, 8-9 left in the field
        note((replace ? "replaced by " : "appended ") + quoted(text) + ", ending " + std::to_string(ending),
             "text");
        QTest::keyClick(field, replace ? Qt::Key_A : Qt::Key_End,
                        replace ? Qt::ControlModifier : Qt::NoModifier);
        // Key by key; only a line break's key matters to the windows.
        for (const QChar c : text) {
            if (!field->isVisible() || !field->isEnabled() || field != QApplication::focusWidget())
                break;
            QTest::sendKeyEvent(QTest::Click, field,
                                c == QLatin1Char('\n') ? Qt::Key_Return : Qt::Key_unknown, QString(c),
                                Qt::NoModifier);
        }
        if (ending < 5 && !memo && field->hasFocus())
            QTest::keyClick(field, Qt::Key_Return);
        else if (ending < 8 && field->hasFocus())
            field->clearFocus();
        return true;
    }

    // An intact or saved project file, or one with bytes flipped, cut short or grown, or random.
    QString damagedProjectFile()
    {
        QStringList sources{QStringLiteral(TEPA_TEST_DATA_DIR "/new-project.kon"),
                            QStringLiteral(TEPA_SOURCE_DATA_DIR "/Beispiel.kon")};
        QFile in((sources + m_savedFiles)[pickInt(int(sources.size() + m_savedFiles.size()))]);
        if (!in.open(QIODevice::ReadOnly))
            return in.fileName();
        QByteArray image = in.readAll();
        const auto size = static_cast<std::size_t>(image.size());
        static const char* const ways[] = {"intact", "bytes flipped", "cut or grown", "random"};
        const std::size_t way = pick(std::size(ways));
        for (std::size_t i = 0, n = way == 1 ? 1 + pick(16) : 0; i < n && size > 0; ++i)
            image[qsizetype(pick(size))] ^= static_cast<char>(1 + pick(255));
        if (way == 2)
            image.resize(qsizetype(pick(size + 100)));
        if (way == 3)
            std::generate(image.begin(), image.end(), [this] { return static_cast<char>(pick(256)); });
        const QString path =
            m_temp + (chance(80) ? QStringLiteral("/load.kon") : QStringLiteral("/load.orv"));
        if (QFile out(path); out.open(QIODevice::WriteOnly))
            out.write(image);
        note(QFileInfo(in).fileName().toStdString() + " " + ways[way]);
        return path;
    }

    const std::uint64_t m_seed;
    std::mt19937_64 m_random;
    QTemporaryDir m_tempDir;
    const QString m_temp;
    MemorySettings m_settings;
    RecordingShell m_shell;
    RecordingPrinter m_printer;
    Session m_session;
    std::unique_ptr<TForm1> m_form1;
    std::unique_ptr<TForm2> m_form2;
    std::optional<MessageRules> m_rules;

    std::vector<std::pair<MessageKind, QString>> m_boxes; // shown during the event
    QStringList m_savedFiles;                             // saves, loaded again now and then
    QStringList m_savesThisEvent;                         // save answers given during the event
    std::atomic<long> m_event = 0;
    std::atomic<qint64> m_eventStartMs{0};
    std::jthread m_watchdog; // stopped first
};

std::vector<std::uint64_t> seeds()
{
    if (const char* seed = std::getenv("TEPA_MONKEY_SEED"); seed && *seed)
        return {std::strtoull(seed, nullptr, 10)};
    return {20261206u, 7u, 4242u, 99991u};
}

using MonkeySeed = ::testing::TestWithParam<std::uint64_t>;

TEST_P(MonkeySeed, BothWindowsSurviveRandomUse)
{
    Monkey(GetParam()).run(5000);
}

INSTANTIATE_TEST_SUITE_P(Monkey, MonkeySeed, ::testing::ValuesIn(seeds()));

// The monkey's checks must be able to fail, or a clean run proves nothing.
TEST(MonkeyChecks, BrokenImagesListsAndUnknownMessagesAreCaught)
{
    using namespace layout;
    QFile file(QStringLiteral(TEPA_SOURCE_DATA_DIR "/Beispiel.kon"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray intact = file.readAll();
    EXPECT_EQ(imageProblem(intact), std::nullopt);
    // a double that is no number, 13 heating entries, a cut image
    for (const QByteArray& image :
         {QByteArray(intact).replace(record::CoolingEntries.offset + entry::Output.offset, 8,
                                     QByteArray(8, '\xff')),
          QByteArray(intact).replace(record::HeatingEntryCount.offset, 1, "\x0d"), intact.left(15000)})
        EXPECT_NE(imageProblem(image), std::nullopt);
    EXPECT_EQ(listProblem("heating", 0, false, 1), std::nullopt);
    EXPECT_NE(listProblem("heating", 0, true, 1), std::nullopt);
    EXPECT_NE(listProblem("heating", 3, true, 4), std::nullopt);

    auto texts = InterfaceTexts::load(TEPA_SOURCE_DATA_DIR);
    ASSERT_TRUE(texts.ok()) << texts.error();
    const MessageRules rules(texts.value(), QStringLiteral("/tmp/monkey"));
    const QString line118 = QString::fromStdString(texts.value().line(118));
    const std::tuple<MessageKind, QString, bool> cases[] = {
        {MessageKind::Information, QString::fromStdString(texts.value().line(78)), true},
        {MessageKind::Message, QStringLiteral("Konvektor Nr 3   ") + line118, true},
        {MessageKind::Message, QStringLiteral("Konvektor Nr 13   ") + line118, false},
        {MessageKind::Message, QStringLiteral("Loading - Error\n/tmp/x.kon"), true},
        {MessageKind::Error, QStringLiteral("'x1' ist kein gültiger Gleitkommawert"), true},
        {MessageKind::Error, QStringLiteral("Datei /tmp/monkey/gone.kon kann nicht geöffnet werden"), true},
        {MessageKind::Error, QStringLiteral("Datei /usr/x.kon kann nicht geöffnet werden"), false},
    };
    for (const auto& [kind, text, allowed] : cases)
        EXPECT_EQ(rules.problem(kind, text) == std::nullopt, allowed) << text.toStdString();
}

} // namespace
} // namespace tepa::test
