#include "Monkey.h"

#include "calcwindow/FormControls.h"
#include "core/model/ProjectCodec.h"
#include "core/model/ProjectLayout.h"
#include "project/AttachmentPolicy.h"

#include <gtest/gtest.h>

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <sstream>

namespace tepa::test {
namespace {

namespace fs = std::filesystem;

// The run is stopped when one event has not returned after this long: it hangs. Events are
// checked against one second afterwards; this limit only has to end a run that never returns,
// with room for a slow sanitizer build on a busy machine.
constexpr std::chrono::seconds HangLimit{30};
constexpr qint64 EventLimitMs = 1000;
constexpr std::size_t LogLength = 40;
constexpr std::size_t SavedFilesKept = 6;
constexpr qsizetype PastedLength = 24;

std::string quoted(const QString& text)
{
    QString shown = text;
    shown.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    if (shown.size() > 120)
        shown = shown.left(120) + QStringLiteral("...");
    return "\"" + shown.toStdString() + "\"";
}

std::string nameOf(const QObject* object)
{
    return object->objectName().isEmpty() ? std::string(object->metaObject()->className())
                                          : object->objectName().toStdString();
}

std::uint64_t readLittleEndian(const QByteArray& bytes, std::size_t offset, std::size_t size)
{
    std::uint64_t value = 0;
    for (std::size_t i = size; i-- > 0;)
        value = (value << 8) | static_cast<unsigned char>(bytes[static_cast<qsizetype>(offset + i)]);
    return value;
}

void writeLittleEndian(QByteArray& bytes, std::size_t offset, std::size_t size, std::uint64_t value)
{
    for (std::size_t i = 0; i < size; ++i, value >>= 8)
        bytes[static_cast<qsizetype>(offset + i)] = static_cast<char>(value & 0xff);
}

double doubleAt(const QByteArray& bytes, std::size_t offset)
{
    const std::uint64_t bits = readLittleEndian(bytes, offset, 8);
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::int32_t int32At(const QByteArray& bytes, std::size_t offset)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(readLittleEndian(bytes, offset, 4)));
}

// A list's count and current index as the windows may leave them: a count of 1 to 12, or 0 once
// the last entry was deleted (entry 1 is then no longer in use); the index within the count.
std::optional<std::string>
listProblem(const char* list, std::int32_t count, bool firstInUse, std::int32_t index)
{
    const auto maxEntries = static_cast<std::int32_t>(MaxEntries);
    std::ostringstream problem;
    if (count < 0 || count > maxEntries || (count == 0 && firstInUse))
        problem << list << " count " << count << (firstInUse ? " (entry 1 in use)" : "");
    else if (index < 1 || index > std::max(count, 1))
        problem << list << " index " << index << " outside the count " << count;
    else
        return std::nullopt;
    return problem.str();
}

Monkey* g_running = nullptr;

void printRunningTail(const char* why)
{
    if (!g_running)
        return;
    std::fprintf(stderr, "\n== monkey: %s at seed %llu, event %ld\n%s", why,
                 static_cast<unsigned long long>(g_running->seed()), g_running->eventNumber(),
                 g_running->logTail().c_str());
    std::fflush(stderr);
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Checks

MessageRules::MessageRules(const InterfaceTexts& texts, const QString& tempDir)
    : m_tempDir(tempDir)
{
    for (const std::string& line : texts.lines())
        if (!line.empty())
            m_lines.insert(QString::fromStdString(line));
    // The information box's mail and web lines start with one character that is no part of the
    // address; without a program to open it the address itself is shown.
    for (const std::size_t line : {std::size_t{161}, std::size_t{162}})
        if (texts.line(line).size() > 1)
            m_addresses.insert(QString::fromStdString(texts.line(line)).mid(1));
}

std::optional<std::string> MessageRules::problem(const RecordingMessages::Box& box) const
{
    const QString& text = box.text;
    if (box.kind != MessageKind::Error) {
        if (m_lines.contains(text))
            return std::nullopt;
        static const QRegularExpression numbered(QStringLiteral("^Konvektor Nr (\\d+)   (.*)$"),
                                                 QRegularExpression::DotMatchesEverythingOption);
        if (const auto match = numbered.match(text); match.hasMatch()) {
            const int number = match.captured(1).toInt();
            if (number >= 1 && number <= static_cast<int>(MaxEntries) && m_lines.contains(match.captured(2)))
                return std::nullopt;
        }
        if (text == QLatin1String(LoadingErrorMessage) ||
            text == QLatin1String("KONVEKTORTYP NOCH NICHT INTEGRIERT !!"))
            return std::nullopt;
        if (text.startsWith(QString::fromUtf8(RefusedAttachmentText) + QLatin1Char('\n')))
            return std::nullopt;
        // An interface text with the file or address it is about on the next line.
        if (const qsizetype lineEnd = text.indexOf(QLatin1Char('\n'));
            lineEnd > 0 && m_lines.contains(text.left(lineEnd)))
            return std::nullopt;
        if (box.kind == MessageKind::Message && m_addresses.contains(text))
            return std::nullopt;
    } else {
        static const QRegularExpression notANumber(QStringLiteral("^'.*' ist kein gültiger Gleitkommawert$"),
                                                   QRegularExpression::DotMatchesEverythingOption);
        if (notANumber.match(text).hasMatch())
            return std::nullopt;
        // The monkey's own missing files and folders.
        if (text.startsWith(QStringLiteral("Datei ") + m_tempDir) &&
            text.endsWith(QStringLiteral(" kann nicht geöffnet werden")))
            return std::nullopt;
        if (text.startsWith(m_tempDir + QStringLiteral("/missing/")))
            return std::nullopt;
    }
    return std::string("unexpected ") + kindName(box.kind) + " " + quoted(text);
}

const std::vector<std::size_t>& projectDoubleOffsets()
{
    static const std::vector<std::size_t> offsets = [] {
        using namespace layout;
        std::vector<std::size_t> all{record::HeatingDemand.offset,     record::CoolingDemand.offset,
                                     record::HeatingRoomTemp.offset,   record::CoolingRoomTemp.offset,
                                     record::HeatingFlowTemp.offset,   record::CoolingFlowTemp.offset,
                                     record::HeatingSecondTemp.offset, record::CoolingSecondTemp.offset,
                                     record::CoolingHumidity.offset};
        const std::vector<std::size_t> shared{
            entry::Length.offset,          entry::Height.offset,   entry::HeightFactor.offset,
            entry::EffectiveLength.offset, entry::FanSpeed.offset, entry::MassFlow.offset,
            entry::FanSetting.offset,      entry::CoeffK.offset,   entry::ExponentN.offset,
            entry::ReturnTemp.offset,      entry::Output.offset};
        std::vector<std::size_t> heatingFields = shared;
        for (const std::size_t o :
             {heating::PressureDrop.offset, heating::SoundLevel.offset, heating::ReturnTempEnd.offset,
              heating::ReturnTempStart.offset, heating::MassFlowEnd.offset, heating::MassFlowStart.offset,
              heating::OutputEnd.offset, heating::OutputStart.offset, heating::CoolingNominalOutput.offset,
              heating::CoolingNominalSound.offset, heating::CoolingNominalPressureDrop.offset,
              heating::CoolingNominalMassFlow.offset})
            heatingFields.push_back(o);
        std::vector<std::size_t> coolingFields = shared;
        for (const std::size_t o :
             {cooling::PressureDrop.offset, cooling::SoundLevel.offset, cooling::HeatingNominalOutput.offset,
              cooling::HeatingNominalSound.offset, cooling::HeatingNominalPressureDrop.offset,
              cooling::HeatingNominalMassFlow.offset})
            coolingFields.push_back(o);
        for (std::size_t k = 0; k < MaxEntries; ++k) {
            for (const std::size_t o : heatingFields)
                all.push_back(record::HeatingEntries.offset + k * HeatingEntrySize + o);
            for (const std::size_t o : coolingFields)
                all.push_back(record::CoolingEntries.offset + k * CoolingEntrySize + o);
        }
        return all;
    }();
    return offsets;
}

// A double of a project image that is no number, which a save would write or a load take in.
static std::optional<std::string> nonFiniteDouble(const QByteArray& image, const std::string& where)
{
    for (const std::size_t offset : projectDoubleOffsets())
        if (const double value = doubleAt(image, offset); !std::isfinite(value))
            return where + ": byte " + std::to_string(offset) + " holds the double " + std::to_string(value);
    return std::nullopt;
}

std::optional<std::string> savedFileProblem(const QByteArray& image)
{
    using namespace layout;
    if (static_cast<std::size_t>(image.size()) != ProjectRecordSize)
        return "saved file of " + std::to_string(image.size()) + " bytes";
    if (auto problem = nonFiniteDouble(image, "saved file"))
        return problem;
    const auto decoded = ProjectCodec::decode(std::as_bytes(std::span(image.constData(), image.size())));
    if (!decoded)
        return "saved file does not decode: " + decoded.error();
    const auto inUse = [&](std::size_t entryOffset, std::size_t inUseOffset) {
        return image[static_cast<qsizetype>(entryOffset + inUseOffset)] != 0;
    };
    const std::int32_t heatingCount = int32At(image, record::HeatingEntryCount.offset);
    const std::int32_t coolingCount = int32At(image, record::CoolingEntryCount.offset);
    if (auto problem = listProblem("saved heating", heatingCount,
                                   inUse(record::HeatingEntries.offset, heating::InUse.offset), 1))
        return problem;
    return listProblem("saved cooling", coolingCount,
                       inUse(record::CoolingEntries.offset, cooling::InUse.offset), 1);
}

// ---------------------------------------------------------------------------------------------
// Set-up

Monkey::Monkey(std::uint64_t seed, bool trace)
    : m_seed(seed)
    , m_trace(trace)
    , m_random(seed)
{
    m_temp = QDir(m_tempDir.path()).canonicalPath();
    m_settings.values.insert(QStringLiteral("Arbeitsverzeichnis"), m_temp + QStringLiteral("/work"));
    m_messages.answer = [this] { return chance(50); };
    m_dialogs.open = [this](const platform::FileDialogRequest& request) { return openAnswer(request); };
    m_dialogs.save = [this](const platform::FileDialogRequest&) { return saveAnswer(); };

    const fs::path fixtures(TEPA_TEST_DATA_DIR);
    const fs::path installation(TEPA_SOURCE_DATA_DIR);
    m_sources = {fixtures / "new-project.kon", fixtures / "sample-project.kon",
                 installation / "Beispiel.kon"};

    m_session = std::make_unique<Session>();
    StartOptions options;
    options.installedDataDir = installation;
    const platform::Services services{m_settings, m_messages, m_dialogs, m_shell, &m_printer};
    m_form1 = std::make_unique<TForm1>(*m_session, services, options);
    m_form2 = std::make_unique<TForm2>(*m_session, services, m_form1.get());
    m_form2->FormCreate();
    m_form1->setCalculationWindow(m_form2.get());
    m_form1->show();
    QApplication::setActiveWindow(m_form1.get());
    QCoreApplication::processEvents();
    m_rules = std::make_unique<MessageRules>(m_session->InterfaceTexts, m_temp);

    g_running = this;
    m_watchdog = std::thread([this] {
        while (!m_stopWatchdog.load()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            const std::int64_t started = m_eventStartMs.load();
            const auto now = std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::steady_clock::now().time_since_epoch())
                                 .count();
            if (started > 0 && now - started > std::chrono::milliseconds(HangLimit).count()) {
                printRunningTail("an event hangs");
                std::abort();
            }
        }
    });
}

Monkey::~Monkey()
{
    m_stopWatchdog = true;
    m_watchdog.join();
    g_running = nullptr;
    m_form1->setCalculationWindow(nullptr);
    m_form2.reset();
    m_form1.reset();
    m_session.reset();
}

// ---------------------------------------------------------------------------------------------
// The run

void Monkey::run(long events)
{
    static const Kind kinds[] = {
        {"main menu", 10, &Monkey::mainMenu},
        {"calculation menu", 5, &Monkey::calcMenu},
        {"close window", 2, &Monkey::closeCalcWindow},
        {"list pick", 14, &Monkey::listPick},
        {"slider", 14, &Monkey::sliderMove},
        {"typing", 18, &Monkey::typeIntoEdit},
        {"count arrows", 6, &Monkey::countArrows},
        {"radio button", 7, &Monkey::radioClick},
        {"button", 12, &Monkey::buttonClick},
        {"information line", 1, &Monkey::infoLineClick},
        {"type panel", 1, &Monkey::typePanelClick},
        {"window switch", 2, &Monkey::switchWindow},
        {"convector choice", 4, &Monkey::chooseConvector},
    };
    int totalWeight = 0;
    for (const Kind& kind : kinds)
        totalWeight += kind.weight;

    for (long n = 1; n <= events; ++n) {
        m_event = n;
        // The services' own answers vary too: a desktop that cannot open a document, a cancelled
        // printer dialog.
        m_shell.result = chance(80);
        m_printer.cancel = chance(20);
        const std::size_t firstBox = m_messages.boxes.size();
        m_savesThisEvent.clear();

        QElapsedTimer timer;
        timer.start();
        m_eventStartMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                             std::chrono::steady_clock::now().time_since_epoch())
                             .count();
        bool ran = false;
        // The calculation window, once open, gets most of the planner's attention.
        m_calcWindowOnly = m_form2->isVisible() && chance(60);
        if (m_form2->isVisible())
            ++m_eventsWithCalcWindow;
        for (int attempt = 0; attempt < 100 && !ran; ++attempt) {
            if (attempt == 50)
                m_calcWindowOnly = false;
            int roll = static_cast<int>(pick(static_cast<std::size_t>(totalWeight)));
            const Kind* chosen = &kinds[0];
            for (const Kind& kind : kinds) {
                if (roll < kind.weight) {
                    chosen = &kind;
                    break;
                }
                roll -= kind.weight;
            }
            if ((this->*chosen->action)()) {
                ++m_kindsRun[chosen->name];
                ran = true;
            }
        }
        QCoreApplication::processEvents();
        const qint64 elapsed = timer.elapsed();
        m_eventStartMs = 0;

        m_slowestMs = std::max(m_slowestMs, elapsed);
        if (const auto problem = problemAfterEvent(firstBox, elapsed)) {
            fail(*problem);
            return;
        }
        tidyUp();
    }
}

std::optional<std::string> Monkey::problemAfterEvent(std::size_t firstBox, qint64 elapsedMs)
{
    if (elapsedMs > EventLimitMs)
        return "the event took " + std::to_string(elapsedMs) + " ms";
    for (std::size_t i = firstBox; i < m_messages.boxes.size(); ++i)
        if (auto problem = m_rules->problem(m_messages.boxes[i]))
            return problem;
    if (auto problem = stateProblem())
        return problem;
    for (const QString& path : m_savesThisEvent) {
        QFile file(path);
        if (!file.exists())
            continue; // the save did not happen (room data changed, a failed write)
        if (!file.open(QIODevice::ReadOnly))
            return "cannot read the saved file " + path.toStdString();
        if (auto problem = savedFileProblem(file.readAll()))
            return *problem + " (" + path.toStdString() + ")";
        if (std::find(m_savedFiles.begin(), m_savedFiles.end(), path) == m_savedFiles.end())
            m_savedFiles.push_back(path);
    }
    return std::nullopt;
}

std::optional<std::string> Monkey::stateProblem() const
{
    const Session& s = *m_session;
    const ProjectRecord& p = s.Project;
    if (auto problem =
            listProblem("heating", p.HeatingEntryCount, p.HeatingEntries[0].InUse, s.HeatingEntryIndex))
        return problem;
    // A value that is no number would be saved with the next save command.
    const std::vector<std::byte> image = ProjectCodec::encode(p);
    const QByteArray bytes(reinterpret_cast<const char*>(image.data()), static_cast<qsizetype>(image.size()));
    if (auto problem = nonFiniteDouble(bytes, "project in memory"))
        return problem;
    return listProblem("cooling", p.CoolingEntryCount, p.CoolingEntries[0].InUse, s.CoolingEntryIndex);
}

void Monkey::fail(const std::string& problem)
{
    ADD_FAILURE() << "monkey seed " << m_seed << ", event " << m_event.load() << ": " << problem
                  << "\nreplay: TEPA_MONKEY_SEED=" << m_seed << " TEPA_MONKEY_EVENTS=" << m_event.load()
                  << " TEPA_MONKEY_TRACE=1 test_monkey --gtest_filter=Monkey.Replay\nlast events:\n"
                  << logTail();
}

void Monkey::tidyUp()
{
    for (const QString& path : m_scratchFiles)
        QFile::remove(path);
    m_scratchFiles.clear();
    while (m_savedFiles.size() > SavedFilesKept) {
        QFile::remove(m_savedFiles.front());
        m_savedFiles.pop_front();
    }
    m_messages.boxes.clear();
    m_printer.jobs.clear();
    m_printer.jobNames.clear();
    m_shell.opened.clear();
}

std::string Monkey::summary() const
{
    std::ostringstream out;
    out << "monkey seed " << m_seed << ", slowest event " << m_slowestMs << " ms, calculation window open in "
        << m_eventsWithCalcWindow << " events:";
    for (const auto& [kind, count] : m_kindsRun)
        out << " " << kind << " " << count << ";";
    return out.str();
}

std::string Monkey::logTail() const
{
    const std::lock_guard lock(m_logMutex);
    std::string tail;
    for (const std::string& line : m_log)
        tail += "  " + line + "\n";
    return tail;
}

void Monkey::note(const std::string& kind, const std::string& detail)
{
    std::string line = "#" + std::to_string(m_event.load()) + " " + kind + ": " + detail;
    if (m_trace)
        std::fprintf(stderr, "%s\n", line.c_str());
    const std::lock_guard lock(m_logMutex);
    m_log.push_back(std::move(line));
    if (m_log.size() > LogLength)
        m_log.pop_front();
}

// ---------------------------------------------------------------------------------------------
// Helpers

std::size_t Monkey::pick(std::size_t n)
{
    return n == 0 ? 0 : static_cast<std::size_t>(m_random() % n);
}

bool Monkey::chance(int percent)
{
    return static_cast<int>(pick(100)) < percent;
}

// A control the planner can reach now: shown, enabled, in a shown window, and not covered by
// another control at its centre (the type panel lies over the operating-point panels).
template <class W> std::vector<W*> Monkey::reachable() const
{
    std::vector<W*> found;
    for (QWidget* window : {static_cast<QWidget*>(m_form1.get()), static_cast<QWidget*>(m_form2.get())}) {
        if (!window->isVisible() || (m_calcWindowOnly && window != m_form2.get()))
            continue;
        for (W* widget : window->findChildren<W*>()) {
            if (!widget->isVisible() || !widget->isEnabled())
                continue;
            const QPoint centre = widget->mapTo(window, widget->rect().center());
            QWidget* hit = window->childAt(centre);
            if (hit == widget || (hit && widget->isAncestorOf(hit)))
                found.push_back(widget);
        }
    }
    std::sort(found.begin(), found.end(), [](const W* a, const W* b) {
        return a->objectName() < b->objectName() || (a->objectName() == b->objectName() && a < b);
    });
    return found;
}

// A press on a control gives it the focus first, when it takes focus by click: the edit that had
// it finishes its editing before the control acts.
void Monkey::giveFocus(QWidget* widget)
{
    QApplication::setActiveWindow(widget->window());
    if (widget->focusPolicy() & Qt::ClickFocus)
        widget->setFocus(Qt::MouseFocusReason);
}

QString Monkey::randomText()
{
    static const char* const odd[] = {"nan",
                                      "inf",
                                      "-inf",
                                      "NaN",
                                      "abc",
                                      "12a",
                                      "1,2,3",
                                      "--5",
                                      "5-",
                                      "1e",
                                      "e5",
                                      ".",
                                      "-",
                                      ",",
                                      "+",
                                      "1e308",
                                      "1E309",
                                      "-1e400",
                                      "1e-400",
                                      "99999999999999999999",
                                      "2147483648",
                                      "-2147483649",
                                      "0x7fffffff",
                                      "$FFFFFFFF",
                                      "0x",
                                      "$",
                                      "-0",
                                      "00000",
                                      "1.7976931348623157e308",
                                      "4.9e-324",
                                      "1..2",
                                      "1.2.3",
                                      "١٢",
                                      "12°",
                                      "½"};
    switch (pick(11)) {
    case 0:
        return QString::number(static_cast<int>(pick(251)) - 50);
    case 1:
        return QString::number(static_cast<int>(pick(120)) - 10) +
               (chance(50) ? QStringLiteral(".") : QStringLiteral(",")) + QString::number(pick(100));
    case 2:
        return QString::fromUtf8(odd[pick(std::size(odd))]);
    case 3:
        return QString();
    case 4:
        return QStringLiteral("  ") + QString::number(pick(100)) + QStringLiteral("  ");
    case 5: {
        static const QString signs = QStringLiteral("-+.,eE0123456789 ");
        QString text;
        for (std::size_t i = 0, n = 1 + pick(8); i < n; ++i)
            text += signs[static_cast<qsizetype>(pick(static_cast<std::size_t>(signs.size())))];
        return text;
    }
    case 6: {
        // Random characters: control characters, Latin-1, anything of the basic plane.
        QString text;
        for (std::size_t i = 0, n = 1 + pick(12); i < n; ++i) {
            switch (pick(4)) {
            case 0:
                text += QChar(static_cast<char16_t>(1 + pick(31)));
                break;
            case 1:
                text += QChar(static_cast<char16_t>(0x20 + pick(0x5f)));
                break;
            case 2:
                text += QChar(static_cast<char16_t>(0xa0 + pick(0x60)));
                break;
            default:
                text += QChar(static_cast<char16_t>(0x100 + pick(0xd700)));
                break;
            }
        }
        return text;
    }
    case 7: {
        QString text;
        const char digit = chance(50) ? '9' : 'x';
        text.fill(QLatin1Char(digit), static_cast<qsizetype>(40 + pick(300)));
        return text;
    }
    case 8:
        return QString::number(static_cast<int>(pick(16)));
    case 9:
        return QString::number(static_cast<int>(10 + pick(80)));
    default:
        return QString::number(static_cast<double>(pick(100000)) / 7, 'f', static_cast<int>(pick(4)));
    }
}

// Key by key as the planner types. QTest's ASCII keys carry their text; other characters arrive
// as key events carrying the character.
void Monkey::typeText(QWidget* widget, const QString& text)
{
    for (const QChar c : text) {
        if (!widget->isVisible() || !widget->isEnabled() || widget != QApplication::focusWidget())
            return;
        if (c.unicode() >= 0x20 && c.unicode() < 0x7f) {
            QTest::keyClick(widget, c.toLatin1());
        } else {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(widget, &press);
            QApplication::sendEvent(widget, &release);
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Events

bool Monkey::mainMenu()
{
    if (m_calcWindowOnly)
        return false;
    TForm1& f = *m_form1;
    // Not the exit command: it ends the application.
    std::vector<QAction*> actions{f.Neu1,          f.Laden1,     f.Speichern1,    f.Konvliste,
                                  f.Projektdaten1, f.Raumdaten1, f.Berechnungen1, f.Info2};
    if (f.Drucken1->isEnabled() && f.Drucken1->menuAction()->isEnabled())
        for (QAction* item : {f.normal1, f.Orvapapier1, f.normal2, f.Orvapapier2})
            actions.push_back(item);
    return triggerOne(actions, "main menu", m_form1.get());
}

bool Monkey::calcMenu()
{
    TForm2& f = *m_form2;
    if (!f.isVisible())
        return false;
    std::vector<QAction*> actions{f.Schliessen1};
    if (f.Konvektoren1->isEnabled() && f.Konvektoren1->menuAction()->isEnabled())
        for (QAction* item : {f.FreieKonvektion1, f.FreieZwangsKonv1})
            actions.push_back(item);
    return triggerOne(actions, "calculation menu", m_form2.get());
}

bool Monkey::triggerOne(std::vector<QAction*> actions, const char* kind, QWidget* window)
{
    std::erase_if(actions, [](const QAction* a) { return !a->isEnabled(); });
    if (actions.empty())
        return false;
    QAction* action = actions[pick(actions.size())];
    note(kind, nameOf(action));
    giveFocus(window);
    action->trigger();
    return true;
}

bool Monkey::closeCalcWindow()
{
    if (!m_form2->isVisible())
        return false;
    note("close window", "calculation window frame");
    m_form2->close();
    return true;
}

bool Monkey::listPick()
{
    std::vector<QListWidget*> lists = reachable<QListWidget>();
    std::erase_if(lists, [](const QListWidget* l) { return l->count() == 0; });
    if (lists.empty())
        return false;
    QListWidget* list = lists[pick(lists.size())];
    const int row = static_cast<int>(pick(static_cast<std::size_t>(list->count())));
    QListWidgetItem* item = list->item(row);
    const bool twice = chance(25);
    note("list pick", nameOf(list) + inCalc(list) + " row " +
                          std::to_string(row) + (twice ? " double click" : "") + " " + quoted(item->text()));
    giveFocus(list);
    // The focus change may have finished an edit whose handler rebuilt this list.
    if (row >= list->count() || !list->isVisible())
        return true;
    item = list->item(row);
    list->scrollToItem(item);
    const QPoint centre = list->visualItemRect(item).center();
    if (!list->viewport()->rect().contains(centre))
        return true;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
    if (twice && list->isVisible() && list->isEnabled())
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
    return true;
}

// The planner's usual way through the type panel: a type, a length, a height, then "weiter",
// each by a click on what the panel shows at that moment.
bool Monkey::chooseConvector()
{
    TForm2& f = *m_form2;
    if (!f.isVisible() || !f.Panel4->isVisible() || f.ListBox1->count() == 0)
        return false;
    note("convector choice", "type, length, height, weiter");
    for (QListWidget* list : {f.ListBox1, f.ListBox3, f.ListBox4}) {
        const std::vector<QListWidget*> lists = reachable<QListWidget>();
        if (list->count() == 0 || std::find(lists.begin(), lists.end(), list) == lists.end())
            continue;
        const int row = static_cast<int>(pick(static_cast<std::size_t>(list->count())));
        note("  pick", nameOf(list) + " " + quoted(list->item(row)->text()));
        giveFocus(list);
        if (row >= list->count() || !list->isVisible())
            continue;
        QListWidgetItem* item = list->item(row);
        list->scrollToItem(item);
        const QPoint centre = list->visualItemRect(item).center();
        if (list->viewport()->rect().contains(centre))
            QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, centre);
    }
    const std::vector<QPushButton*> buttons = reachable<QPushButton>();
    if (std::find(buttons.begin(), buttons.end(), f.Konweiter) != buttons.end()) {
        note("  button", "Konweiter");
        giveFocus(f.Konweiter);
        f.Konweiter->click();
    }
    return true;
}

bool Monkey::sliderMove()
{
    const std::vector<QScrollBar*> bars = reachable<QScrollBar>();
    std::vector<QScrollBar*> own;
    // The window's own sliders, not the scroll bars of its lists.
    for (QScrollBar* bar : bars)
        if (bar->window() == m_form2.get() && bar->parentWidget() && !bar->objectName().isEmpty())
            own.push_back(bar);
    if (own.empty())
        return false;
    QScrollBar* bar = own[pick(own.size())];
    giveFocus(bar);
    if (chance(50)) {
        const int span = bar->maximum() - bar->minimum();
        const int value = bar->minimum() + static_cast<int>(pick(static_cast<std::size_t>(span) + 1));
        note("slider", nameOf(bar) + " to " + std::to_string(value) + " of " +
                           std::to_string(bar->minimum()) + ".." + std::to_string(bar->maximum()));
        bar->setValue(value);
    } else {
        static const QAbstractSlider::SliderAction actions[] = {
            QAbstractSlider::SliderSingleStepAdd, QAbstractSlider::SliderSingleStepSub,
            QAbstractSlider::SliderPageStepAdd,   QAbstractSlider::SliderPageStepSub,
            QAbstractSlider::SliderToMinimum,     QAbstractSlider::SliderToMaximum};
        const std::size_t a = pick(std::size(actions));
        note("slider", nameOf(bar) + " action " + std::to_string(static_cast<int>(actions[a])) + " at " +
                           std::to_string(bar->value()));
        bar->triggerAction(actions[a]);
    }
    return true;
}

bool Monkey::typeIntoEdit()
{
    std::vector<QWidget*> fields;
    for (QLineEdit* edit : reachable<QLineEdit>())
        if (!edit->isReadOnly() && !qobject_cast<QAbstractSpinBox*>(edit->parentWidget()))
            fields.push_back(edit);
    for (QPlainTextEdit* memo : reachable<QPlainTextEdit>())
        fields.push_back(memo);
    if (fields.empty())
        return false;
    QWidget* field = fields[pick(fields.size())];
    const bool memo = qobject_cast<QPlainTextEdit*>(field) != nullptr;
    QString text = randomText();
    if (memo && chance(50))
        text += QLatin1Char('\n') + randomText();
    const bool replace = chance(80);
    const std::size_t ending = pick(10); // 0-4 Enter, 5-7 focus elsewhere, 8-9 left in the field
    note("typing", nameOf(field) + inCalc(field) +
                       (replace ? " replaced by " : " appended ") +
                       (text.size() > PastedLength ? "pasted " : "") + quoted(text) +
                       (ending < 5   ? " + Enter"
                        : ending < 8 ? " + focus out"
                                     : ""));
    giveFocus(field);
    if (replace)
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    else
        QTest::keyClick(field, Qt::Key_End);
    if (text.size() > PastedLength) {
        // A long text arrives in one paste, as a planner would enter it: typed key by key it
        // would be hundreds of user actions in one event.
        QGuiApplication::clipboard()->setText(text);
        QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    } else if (memo) {
        // A line break is a key of its own in the memo.
        const QStringList lines = text.split(QLatin1Char('\n'));
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0)
                QTest::keyClick(field, Qt::Key_Return);
            typeText(field, lines[i]);
        }
    } else {
        typeText(field, text);
    }
    if (ending < 5 && !memo && field->hasFocus()) {
        QTest::keyClick(field, Qt::Key_Return);
    } else if (ending < 8 && field->hasFocus()) {
        std::vector<QWidget*> others;
        for (QWidget* w : reachable<QWidget>())
            if (w != field && w->window() == field->window() && (w->focusPolicy() & Qt::ClickFocus) &&
                !field->isAncestorOf(w))
                others.push_back(w);
        if (others.empty())
            field->clearFocus();
        else
            others[pick(others.size())]->setFocus(Qt::MouseFocusReason);
    }
    return true;
}

bool Monkey::countArrows()
{
    const std::vector<UpDown*> arrows = reachable<UpDown>();
    if (arrows.empty())
        return false;
    UpDown* upDown = arrows[pick(arrows.size())];
    static const Qt::Key keys[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown};
    const Qt::Key key = keys[pick(std::size(keys))];
    const std::size_t presses = 1 + pick(3);
    note("count arrows", nameOf(upDown) + " key " + std::to_string(static_cast<int>(key)) + " x" +
                             std::to_string(presses) + " at " + std::to_string(upDown->value()));
    giveFocus(upDown);
    for (std::size_t i = 0; i < presses && upDown->isVisible() && upDown->isEnabled(); ++i)
        QTest::keyClick(upDown, key);
    return true;
}

template <class B> bool Monkey::clickOne(const char* kind)
{
    const std::vector<B*> buttons = reachable<B>();
    if (buttons.empty())
        return false;
    B* button = buttons[pick(buttons.size())];
    note(kind, nameOf(button) + inCalc(button) + (button->isCheckable() && button->isChecked() ? " (checked)" : ""));
    giveFocus(button);
    if (button->isVisible() && button->isEnabled())
        button->click();
    return true;
}

bool Monkey::radioClick()
{
    return clickOne<QRadioButton>("radio button");
}

bool Monkey::buttonClick()
{
    return clickOne<QPushButton>("button");
}

std::string Monkey::inCalc(const QWidget* widget) const
{
    return widget->window() == m_form2.get() ? " (calculation)" : "";
}

bool Monkey::infoLineClick()
{
    std::vector<QLabel*> lines;
    if (m_calcWindowOnly)
        return false;
    for (QLabel* label : {m_form1->Label2, m_form1->Label4})
        if (label->isVisible() && label->isEnabled())
            lines.push_back(label);
    if (lines.empty())
        return false;
    QLabel* label = lines[pick(lines.size())];
    note("information line", nameOf(label) + (m_shell.result ? "" : " (no program opens it)"));
    QTest::mouseClick(label, Qt::LeftButton);
    return true;
}

bool Monkey::typePanelClick()
{
    ClickPanel* panel = m_form2->Panel4;
    if (!m_form2->isVisible() || !panel->isVisible())
        return false;
    // A spot of the panel's own surface, where no control lies.
    for (int attempt = 0; attempt < 20; ++attempt) {
        const QPoint spot(static_cast<int>(pick(static_cast<std::size_t>(std::max(1, panel->width())))),
                          static_cast<int>(pick(static_cast<std::size_t>(std::max(1, panel->height())))));
        if (panel->childAt(spot))
            continue;
        note("type panel", "click at " + std::to_string(spot.x()) + "," + std::to_string(spot.y()));
        giveFocus(m_form2.get());
        QTest::mouseClick(panel, Qt::LeftButton, Qt::NoModifier, spot);
        return true;
    }
    return false;
}

bool Monkey::switchWindow()
{
    if (!m_form2->isVisible())
        return false;
    QWidget* other = QApplication::activeWindow() == m_form1.get() ? static_cast<QWidget*>(m_form2.get())
                                                                   : static_cast<QWidget*>(m_form1.get());
    note("window switch", nameOf(other));
    QApplication::setActiveWindow(other);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Dialog answers

std::optional<QString> Monkey::openAnswer(const platform::FileDialogRequest& request)
{
    // The project file dialog has a title; the attachment dialog offers every file.
    if (!request.title.isEmpty())
        return damagedProjectFile();
    return attachmentPath();
}

std::optional<QString> Monkey::damagedProjectFile()
{
    const std::size_t roll = pick(100);
    if (roll < 8) {
        note("  open dialog", "cancel");
        return std::nullopt;
    }
    if (roll < 11) {
        note("  open dialog", "a file that does not exist");
        return m_temp + QStringLiteral("/gone.kon");
    }
    if (roll < 13) {
        note("  open dialog", "a folder");
        return m_temp;
    }
    std::vector<QString> sources;
    for (const fs::path& source : m_sources)
        sources.push_back(QString::fromStdString(source.string()));
    for (const QString& saved : m_savedFiles)
        sources.push_back(saved);
    const QString source = sources[pick(sources.size())];
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return source;
    QByteArray image = in.readAll();
    damage(image);
    const QString path = m_temp + QStringLiteral("/load-") + QString::number(++m_fileCounter) +
                         (chance(80) ? QStringLiteral(".kon") : QStringLiteral(".orv"));
    QFile out(path);
    if (out.open(QIODevice::WriteOnly))
        out.write(image);
    m_scratchFiles.push_back(path);
    note("  open dialog", QFileInfo(source).fileName().toStdString() + " damaged to " +
                              std::to_string(image.size()) + " bytes");
    return path;
}

void Monkey::damage(QByteArray& image)
{
    using namespace layout;
    const auto size = static_cast<std::size_t>(image.size());
    switch (pick(7)) {
    case 0:
        return; // intact
    case 1:
        for (std::size_t i = 0, n = 1 + pick(16); i < n && size > 0; ++i)
            image[static_cast<qsizetype>(pick(size))] ^= static_cast<char>(1 + pick(255));
        return;
    case 2:
    case 3: {
        // The fields a reader has to guard: counts, doubles, string lengths, flags.
        if (size < ProjectRecordSize)
            return;
        for (std::size_t i = 0, n = 1 + pick(6); i < n; ++i) {
            switch (pick(4)) {
            case 0: {
                static const std::int64_t counts[] = {0,
                                                      -1,
                                                      13,
                                                      100,
                                                      std::numeric_limits<std::int32_t>::min(),
                                                      std::numeric_limits<std::int32_t>::max(),
                                                      12,
                                                      1};
                const std::size_t field =
                    std::array{record::HeatingEntryCount.offset, record::CoolingEntryCount.offset,
                               record::RoomCount.offset}[pick(3)];
                writeLittleEndian(image, field, 4,
                                  static_cast<std::uint64_t>(counts[pick(std::size(counts))]));
                break;
            }
            case 1: {
                static const double values[] = {std::numeric_limits<double>::quiet_NaN(),
                                                std::numeric_limits<double>::infinity(),
                                                -std::numeric_limits<double>::infinity(),
                                                1e308,
                                                -1e308,
                                                4.9e-324,
                                                -0.0,
                                                1e12};
                const std::size_t offset = projectDoubleOffsets()[pick(projectDoubleOffsets().size())];
                std::uint64_t bits;
                std::memcpy(&bits, &values[pick(std::size(values))], sizeof bits);
                writeLittleEndian(image, offset, 8, bits);
                break;
            }
            case 2: {
                const std::size_t entry = pick(MaxEntries);
                const std::size_t lengths[] = {
                    record::Title.offset,
                    record::Number.offset,
                    record::Date.offset,
                    record::RoomName.offset,
                    record::Attachments.offset + pick(record::AttachmentCount) * 256,
                    record::HeatingEntries.offset + entry * HeatingEntrySize,
                    record::HeatingEntries.offset + entry * HeatingEntrySize + entry::TypeText1.offset,
                    record::CoolingEntries.offset + entry * CoolingEntrySize,
                    record::CoolingEntries.offset + entry * CoolingEntrySize + entry::TypeText2.offset};
                image[static_cast<qsizetype>(lengths[pick(std::size(lengths))])] =
                    static_cast<char>(pick(256));
                break;
            }
            default: {
                const std::size_t entry = pick(MaxEntries);
                const std::size_t flags[] = {
                    record::CalculationDone.offset,
                    record::HeatingInUse.offset,
                    record::CoolingInUse.offset,
                    record::CoolingDualUse.offset,
                    record::HeatingDualUse.offset,
                    record::HeatingEntries.offset + entry * HeatingEntrySize + heating::InUse.offset,
                    record::HeatingEntries.offset + entry * HeatingEntrySize + heating::FreeConvection.offset,
                    record::CoolingEntries.offset + entry * CoolingEntrySize + cooling::InUse.offset,
                    record::ReturnTempFixed.offset};
                image[static_cast<qsizetype>(flags[pick(std::size(flags))])] = static_cast<char>(pick(256));
                break;
            }
            }
        }
        return;
    }
    case 4:
        image.truncate(static_cast<qsizetype>(pick(size + 1)));
        return;
    case 5:
        for (std::size_t i = 0, n = 1 + pick(100); i < n; ++i)
            image.append(static_cast<char>(pick(256)));
        return;
    default:
        for (qsizetype i = 0; i < image.size(); ++i)
            image[i] = static_cast<char>(pick(256));
        return;
    }
}

std::optional<QString> Monkey::attachmentPath()
{
    static const char* const names[] = {
        "plan.pdf",         "setup.exe",     "run.sh",      "Notiz mit Leerzeichen.txt",
        "Übersicht °C.txt", "archiv.tar.gz", "ohne-endung", "start.bat. "};
    const std::size_t roll = pick(10);
    QString path;
    if (roll < 2)
        path = QString();
    else if (roll < 8)
        path = m_temp + QStringLiteral("/anhang/") + QString::fromUtf8(names[pick(std::size(names))]);
    else
        path = m_temp + QStringLiteral("/") + QString(static_cast<qsizetype>(200 + pick(200)), QChar(u'ä'));
    note("  open dialog", path.isEmpty() ? std::string("cancel") : quoted(path));
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

std::optional<QString> Monkey::saveAnswer()
{
    const std::size_t roll = pick(100);
    if (roll < 10) {
        note("  save dialog", "cancel");
        return std::nullopt;
    }
    QString path;
    if (roll < 14)
        path = m_temp + QStringLiteral("/missing/projekt.kon");
    else if (roll < 24 && !m_savedFiles.empty())
        path = m_savedFiles.back(); // over the last save
    else
        path = m_temp + QStringLiteral("/save-") + QString::number(++m_fileCounter) + QStringLiteral(".kon");
    note("  save dialog", path.toStdString());
    m_savesThisEvent.push_back(path);
    return path;
}

} // namespace tepa::test

// Sanitizer reports end the process; the events before it are printed first. Without a
// sanitizer a crash signal does the same, with the stack, and then ends the process as it would.
#if !defined(__SANITIZE_ADDRESS__)
#include <csignal>
#include <execinfo.h>
#include <unistd.h>
namespace {
void onCrash(int signal)
{
    tepa::test::printRunningTail(strsignal(signal));
    void* frames[64];
    backtrace_symbols_fd(frames, backtrace(frames, 64), STDERR_FILENO);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}
[[maybe_unused]] const bool crashHandlerSet = [] {
    for (const int signal : {SIGSEGV, SIGBUS, SIGFPE, SIGILL})
        std::signal(signal, onCrash);
    return true;
}();
} // namespace
#endif
#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/common_interface_defs.h>
namespace {
[[maybe_unused]] const bool deathCallbackSet = [] {
    __sanitizer_set_death_callback([] { tepa::test::printRunningTail("sanitizer report"); });
    return true;
}();
} // namespace
#endif
