#include "cli/Cli.h"
#include "cli/Command.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace tepa::cli {
namespace {

namespace fs = std::filesystem;

// Just enough of a JSON reader to check the command's output by structure rather than by text.
struct Json
{
    enum Kind
    {
        Null,
        Boolean,
        Number,
        String,
        Array,
        Object
    } kind = Null;
    bool flag = false;
    double number = 0;
    std::string text;
    std::vector<Json> items;
    std::vector<std::pair<std::string, Json>> members;

    const Json& operator[](std::string_view key) const
    {
        for (const auto& [name, value] : members)
            if (name == key)
                return value;
        ADD_FAILURE() << "no key " << key;
        static const Json missing;
        return missing;
    }
    const Json& operator[](std::size_t i) const { return items.at(i); }
    std::vector<std::string> keys() const
    {
        std::vector<std::string> names;
        for (const auto& member : members)
            names.push_back(member.first);
        return names;
    }
};

class JsonReader
{
public:
    explicit JsonReader(std::string_view text)
        : m_text(text)
    {}

    // Throws on anything that is not one complete JSON value.
    Json document()
    {
        Json value = parse();
        skipBlanks();
        if (m_pos != m_text.size())
            fail("text after the value");
        return value;
    }

private:
    [[noreturn]] void fail(const std::string& what)
    {
        throw std::runtime_error("JSON at " + std::to_string(m_pos) + ": " + what);
    }
    void skipBlanks()
    {
        while (m_pos < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[m_pos])))
            ++m_pos;
    }
    bool take(std::string_view word)
    {
        skipBlanks();
        if (m_text.substr(m_pos, word.size()) != word)
            return false;
        m_pos += word.size();
        return true;
    }
    void expect(char c)
    {
        if (!take(std::string_view(&c, 1)))
            fail(std::string("expected ") + c);
    }
    std::string string()
    {
        expect('"');
        std::string out;
        while (m_pos < m_text.size() && m_text[m_pos] != '"') {
            char c = m_text[m_pos++];
            if (c != '\\') {
                out += c;
                continue;
            }
            c = m_text.at(m_pos++);
            switch (c) {
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u': {
                const auto code = std::stoul(std::string(m_text.substr(m_pos, 4)), nullptr, 16);
                m_pos += 4;
                if (code >= 0x80)
                    fail("only ASCII escapes are expected");
                out += static_cast<char>(code);
                break;
            }
            default:
                out += c;
            }
        }
        expect('"');
        return out;
    }
    Json parse()
    {
        Json value;
        skipBlanks();
        if (m_pos >= m_text.size())
            fail("value expected");
        const char c = m_text[m_pos];
        if (c == '{') {
            value.kind = Json::Object;
            expect('{');
            if (!take("}")) {
                do {
                    std::string key = string();
                    expect(':');
                    value.members.emplace_back(std::move(key), parse());
                } while (take(","));
                expect('}');
            }
        } else if (c == '[') {
            value.kind = Json::Array;
            expect('[');
            if (!take("]")) {
                do
                    value.items.push_back(parse());
                while (take(","));
                expect(']');
            }
        } else if (c == '"') {
            value.kind = Json::String;
            value.text = string();
        } else if (take("true") || take("false")) {
            value.kind = Json::Boolean;
            value.flag = m_text[m_pos - 1] == 'e' && m_text[m_pos - 2] == 'u';
        } else if (take("null")) {
            value.kind = Json::Null;
        } else {
            value.kind = Json::Number;
            const std::string rest(m_text.substr(m_pos, 40));
            char* end = nullptr;
            value.number = std::strtod(rest.c_str(), &end);
            if (end == rest.c_str())
                fail("number expected");
            m_pos += static_cast<std::size_t>(end - rest.c_str());
        }
        return value;
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
};

struct Outcome
{
    int exitCode;
    std::string out;
    std::string err;
};

Outcome show(std::vector<std::string> args)
{
    args.insert(args.begin(), "show");
    std::ostringstream out, err;
    const int code = run(args, out, err, Context{TEPA_TEST_DATA_DIR});
    return {code, out.str(), err.str()};
}

fs::path fixture(const char* name)
{
    return fs::path(TEPA_TEST_DATA_DIR) / name;
}

std::string readBytes(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class ShowCommandFiles : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::random_device seed;
        m_dir = fs::temp_directory_path() / ("tepa-show-" + std::to_string(seed()));
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    fs::path write(const char* name, const std::string& bytes)
    {
        const auto file = m_dir / name;
        std::ofstream(file, std::ios::binary) << bytes;
        return file;
    }

    fs::path m_dir;
};

TEST(ShowCommand, JsonHasEveryFieldByNameWithItsValue)
{
    const auto result = show({fixture("sample-project.kon").string(), "--json"});
    ASSERT_EQ(result.exitCode, ExitOk) << result.err;
    EXPECT_EQ(result.err, "");
    const Json project = JsonReader(result.out).document();

    // clang-format off
    const std::vector<std::string> recordKeys = {
        "Title", "Number", "Date", "RemarkLines", "DataLines",
        "Attachments", "RoomName", "HeatingDemand", "CoolingDemand", "HeatingRoomTemp",
        "CoolingRoomTemp", "HeatingFlowTemp", "CoolingFlowTemp", "HeatingSecondTemp", "CoolingSecondTemp",
        "CoolingHumidity", "HeatingEntryCount", "CoolingEntryCount", "ReturnTempFixed", "MassFlowFixed",
        "HeatingEntries", "CoolingEntries", "CalculationDone", "HeatingInUse", "CoolingInUse",
        "CoolingDualUse", "HeatingDualUse", "RoomCount",
    };
    // clang-format on
    EXPECT_EQ(project.keys(), recordKeys);
    EXPECT_EQ(project["RemarkLines"].items.size(), 25u);
    EXPECT_EQ(project["DataLines"].items.size(), 7u);
    EXPECT_EQ(project["Attachments"].items.size(), 20u);
    ASSERT_EQ(project["HeatingEntries"].items.size(), 12u);
    ASSERT_EQ(project["CoolingEntries"].items.size(), 12u);
    EXPECT_EQ(project["HeatingEntries"][11].keys().size(), 30u);
    EXPECT_EQ(project["CoolingEntries"][11].keys().size(), 22u);

    // Values of the sample project; texts come back from Windows-1252 as UTF-8.
    EXPECT_EQ(project["Title"].text, "Bürogebäude Nordring 12");
    EXPECT_EQ(project["Date"].text, "14.03.2025");
    EXPECT_EQ(project["RemarkLines"][2].text, "Vorlauf 70 °C laut Heizungsplanung.");
    EXPECT_EQ(project["Attachments"][1].text, "C:\\ORVA\\Projekte\\Nordring\\Heizlast.xls");
    EXPECT_EQ(project["Attachments"][2].text, "");
    EXPECT_EQ(project["RoomName"].text, "Besprechung 2.1");
    EXPECT_EQ(project["HeatingFlowTemp"].number, 70.0);
    EXPECT_EQ(project["CoolingHumidity"].number, 50.0);
    EXPECT_EQ(project["HeatingEntryCount"].number, 2.0);
    EXPECT_EQ(project["ReturnTempFixed"].number, 1.0);
    EXPECT_EQ(project["RoomCount"].number, 1.0);
    EXPECT_EQ(project["CoolingInUse"].kind, Json::Boolean);
    EXPECT_TRUE(project["CoolingInUse"].flag);
    EXPECT_FALSE(project["HeatingDualUse"].flag);

    const Json& freeEntry = project["HeatingEntries"][0];
    EXPECT_EQ(freeEntry["TypeName"].text, "W2");
    EXPECT_EQ(freeEntry["Count"].number, 2.0);
    EXPECT_TRUE(freeEntry["FreeConvection"].flag);
    EXPECT_TRUE(freeEntry["InUse"].flag);
    // 68.8 has no exact binary form; 17 digits bring back the very same double.
    EXPECT_EQ(freeEntry["MassFlow"].number, 68.8);
    EXPECT_EQ(project["HeatingEntries"][1]["FanSpeed"].number, 900.0);
    EXPECT_EQ(project["HeatingEntries"][1]["TypeText2"].text, "700 1600 38.5");
    const Json& coolEntry = project["CoolingEntries"][0];
    EXPECT_EQ(coolEntry["HeatingNominalOutput"].number, 1730.0);
    EXPECT_EQ(coolEntry["Count"].number, 3.0);
    EXPECT_FALSE(project["CoolingEntries"][1]["InUse"].flag);
    EXPECT_EQ(project["CoolingEntries"][1]["Count"].number, 1.0); // cleared by New
}

std::vector<std::string> words(const std::string& line)
{
    std::istringstream in(line);
    return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

// The line after `heading` whose first word is `number`.
std::vector<std::string>
entryLine(const std::string& text, const std::string& heading, const std::string& number)
{
    std::istringstream in(text.substr(text.find(heading)));
    std::string line;
    while (std::getline(in, line)) {
        const auto w = words(line);
        if (!w.empty() && w.front() == number)
            return w;
    }
    return {};
}

TEST(ShowCommand, SummaryListsRoomDataAndEntriesInUse)
{
    const auto result = show({fixture("sample-project.kon").string()});
    ASSERT_EQ(result.exitCode, ExitOk) << result.err;
    const std::string& text = result.out;
    EXPECT_NE(text.find("Besprechung 2.1"), std::string::npos);
    EXPECT_NE(text.find("2400.0 W"), std::string::npos);
    EXPECT_NE(text.find("70.0 °C"), std::string::npos);
    EXPECT_NE(text.find("50.0 %"), std::string::npos);

    // No, type, length mm, height mm, count, output W, mass flow kg/h, return °C, pressure drop Pa,
    // sound dB(A).
    using Words = std::vector<std::string>;
    EXPECT_EQ(entryLine(text, "Heating entries", "1"),
              (Words{"1", "W2", "1200", "500", "2", "1200.0", "68.8", "55.0", "35.2", "0.0"}));
    EXPECT_EQ(entryLine(text, "Heating entries", "2"),
              (Words{"2", "WFW", "1000", "200", "1", "1250.0", "107.5", "60.0", "1480.0", "31.5"}));
    EXPECT_EQ(entryLine(text, "Cooling entries", "1"),
              (Words{"1", "WFW", "1000", "200", "3", "600.0", "258.0", "18.0", "5210.0", "36.0"}));
    EXPECT_EQ(entryLine(text, "Cooling entries", "2"), Words{});
}

TEST(ShowCommand, NewProjectHasNoEntriesInUse)
{
    const auto result = show({fixture("new-project.kon").string()});
    ASSERT_EQ(result.exitCode, ExitOk) << result.err;
    std::size_t count = 0;
    for (auto at = result.out.find("no entry in use"); at != std::string::npos;
         at = result.out.find("no entry in use", at + 1))
        ++count;
    EXPECT_EQ(count, 2u);
}

TEST_F(ShowCommandFiles, DamagedFileIsShownWithinTheLimits)
{
    std::string image = readBytes(fixture("sample-project.kon"));
    ASSERT_EQ(image.size(), 15858u);
    image[0] = '\xFF';                                              // Title length 255, at most 50
    image.replace(7605, 4, "\xFF\xFF\xFF\x7F");                     // HeatingEntryCount 2^31 - 1
    image.replace(7533, 8, std::string("\0\0\0\0\0\0\xF8\x7F", 8)); // HeatingDemand NaN
    const auto result = show({write("kaputt.kon", image).string(), "--json"});
    ASSERT_EQ(result.exitCode, ExitOk) << result.err;
    const Json project = JsonReader(result.out).document();
    EXPECT_EQ(project["HeatingEntryCount"].number, 12.0);
    EXPECT_EQ(project["HeatingDemand"].kind, Json::Number);
    EXPECT_EQ(project["HeatingDemand"].number, 0.0);
    // The 50 bytes behind the length byte: the 23 characters of the title, then the zeros of the
    // unused tail, which come out as control characters.
    EXPECT_EQ(project["Title"].text.substr(0, 25), "Bürogebäude Nordring 12");
    EXPECT_EQ(project["Title"].text.size(), 25u + 27u);
}

TEST_F(ShowCommandFiles, ErrorsAndUsage)
{
    const auto shortFile = write("kurz.kon", readBytes(fixture("sample-project.kon")).substr(0, 15857));
    const auto missing = m_dir / "fehlt.kon";
    struct Case
    {
        const char* name;
        std::vector<std::string> args;
        int exitCode;
        std::string inErr;
        std::string inOut;
    };
    const Case cases[] = {
        {"short file", {shortFile.string()}, ExitBadInput, "Loading - Error", ""},
        {"short file, json", {shortFile.string(), "--json"}, ExitBadInput, "Loading - Error", ""},
        {"missing file",
         {missing.string()},
         ExitBadInput,
         "Datei " + missing.string() + " kann nicht geöffnet werden",
         ""},
        {"no file", {}, ExitUsage, "usage: tepa show", ""},
        {"two files", {shortFile.string(), missing.string()}, ExitUsage, "usage: tepa show", ""},
        {"unknown option", {"--xml", shortFile.string()}, ExitUsage, "unknown option --xml", ""},
        {"help", {"--help"}, ExitOk, "", "usage: tepa show PROJECT.kon [--json]"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto result = show(c.args);
        EXPECT_EQ(result.exitCode, c.exitCode);
        if (c.inOut.empty())
            EXPECT_EQ(result.out, "");
        else
            EXPECT_NE(result.out.find(c.inOut), std::string::npos) << result.out;
        if (c.inErr.empty())
            EXPECT_EQ(result.err, "");
        else
            EXPECT_NE(result.err.find(c.inErr), std::string::npos) << result.err;
    }
}

} // namespace
} // namespace tepa::cli
