// Random use of both windows (see Monkey.h). The default run is four fixed seeds of 5000 events;
// the environment changes that:
//   TEPA_MONKEY_SEED=n     run only Monkey.Replay, with this seed
//   TEPA_MONKEY_EVENTS=n   events per run (5000)
//   TEPA_MONKEY_TRACE=1    print every event as it starts
#include "Monkey.h"

#include "core/text/InterfaceTexts.h"

#include <gtest/gtest.h>

#include <QFile>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <limits>
#include <string>

namespace tepa::test {
namespace {

constexpr long DefaultEvents = 5000;

// The variable's text, or nothing when it is not set or empty.
const char* environment(const char* name)
{
    const char* text = std::getenv(name);
    return text && *text ? text : nullptr;
}

std::optional<std::uint64_t> seedFromEnvironment()
{
    const char* text = environment("TEPA_MONKEY_SEED");
    return text ? std::optional(std::strtoull(text, nullptr, 10)) : std::nullopt;
}

void runMonkey(std::uint64_t seed)
{
    const char* trace = environment("TEPA_MONKEY_TRACE");
    const char* events = environment("TEPA_MONKEY_EVENTS");
    Monkey monkey(seed, trace && std::strcmp(trace, "0") != 0);
    monkey.run(events ? std::strtol(events, nullptr, 10) : DefaultEvents);
    std::cout << monkey.summary() << std::endl;
}

class MonkeySeed : public ::testing::TestWithParam<std::uint64_t>
{
};

TEST_P(MonkeySeed, BothWindowsSurviveRandomUse)
{
    if (seedFromEnvironment())
        GTEST_SKIP() << "TEPA_MONKEY_SEED is set: only Monkey.Replay runs";
    runMonkey(GetParam());
}

INSTANTIATE_TEST_SUITE_P(Monkey, MonkeySeed, ::testing::Values(20261206u, 7u, 4242u, 99991u));

TEST(Monkey, Replay)
{
    const auto seed = seedFromEnvironment();
    if (!seed)
        GTEST_SKIP() << "set TEPA_MONKEY_SEED to run a seed of your own";
    runMonkey(*seed);
}

// The monkey's checks must be able to fail, or a clean run proves nothing.
QByteArray fileBytes(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path;
    return file.readAll();
}

TEST(MonkeyChecks, SavedFileWithANonFiniteDoubleOrABadCountIsCaught)
{
    const QByteArray intact = fileBytes(TEPA_SOURCE_DATA_DIR "/Beispiel.kon");
    EXPECT_EQ(savedFileProblem(intact), std::nullopt);

    // The last double of the last cooling entry, and a heating count beyond the list.
    QByteArray notFinite = intact;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::memcpy(notFinite.data() + projectDoubleOffsets().back(), &nan, sizeof nan);
    EXPECT_NE(savedFileProblem(notFinite), std::nullopt);

    QByteArray tooMany = intact;
    const std::int32_t thirteen = 13;
    std::memcpy(tooMany.data() + 7605, &thirteen, sizeof thirteen); // HeatingEntryCount
    EXPECT_NE(savedFileProblem(tooMany), std::nullopt);

    EXPECT_NE(savedFileProblem(intact.left(15000)), std::nullopt);
}

TEST(MonkeyChecks, OnlyInterfaceTextsAndTheProgramsOwnMessagesPass)
{
    auto texts = InterfaceTexts::load(TEPA_SOURCE_DATA_DIR);
    ASSERT_TRUE(texts.ok()) << texts.error();
    const MessageRules rules(texts.value(), QStringLiteral("/tmp/monkey"));
    const QString line118 = QString::fromStdString(texts.value().line(118));
    struct Case
    {
        MessageKind kind;
        QString text;
        bool allowed;
    };
    const Case cases[] = {
        {MessageKind::Information, QString::fromStdString(texts.value().line(78)), true},
        {MessageKind::Message, QStringLiteral("Konvektor Nr 3   ") + line118, true},
        {MessageKind::Message, QStringLiteral("Konvektor Nr 3 ") + line118, false},
        {MessageKind::Message, QStringLiteral("Loading - Error"), true},
        {MessageKind::Message, QString(), false},
        {MessageKind::Message, QStringLiteral("nan"), false},
        {MessageKind::Error, QStringLiteral("'x1' ist kein gültiger Gleitkommawert"), true},
        {MessageKind::Error, QStringLiteral("Datei /tmp/monkey/gone.kon kann nicht geöffnet werden"), true},
        {MessageKind::Error, QStringLiteral("Datei /usr/x.kon kann nicht geöffnet werden"), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        EXPECT_EQ(rules.problem({c.kind, c.text}) == std::nullopt, c.allowed);
    }
}

} // namespace
} // namespace tepa::test
