#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iomanip>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

namespace tepa::test {

// A result's number with `digits` significant digits.
inline std::string numberText(double x, int digits = 10)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.*g", digits, x);
    return text;
}

// Words of a call line; "..." holds blanks (a backslash is no escape there).
inline std::vector<std::string> callWords(const std::string& line)
{
    std::istringstream in(line);
    std::vector<std::string> result;
    for (std::string word; in >> std::quoted(word, '"', '\x01');)
        result.push_back(word);
    return result;
}

// Compares `actual` byte for byte with the golden `file`; TEPA_WRITE_GOLDEN=1 writes it into the
// file instead, to be checked by hand (git diff) before it is committed.
inline void compareWithGoldenFile(const std::filesystem::path& file, const std::string& actual)
{
    if (std::getenv("TEPA_WRITE_GOLDEN"))
        std::ofstream(file, std::ios::binary) << actual;
    std::ifstream in(file, std::ios::binary);
    EXPECT_EQ(actual, std::string(std::istreambuf_iterator<char>(in), {})) << file;
}

// The lines of a golden file other than its "= " result lines.
inline std::vector<std::string> goldenInputLines(const std::string& file)
{
    std::ifstream in(file, std::ios::binary);
    EXPECT_TRUE(in) << file;
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        if (!line.starts_with("= "))
            lines.push_back(line);
    return lines;
}

// The step lines of tests/data/<file> (neither empty nor "#" comments) as words.
inline std::vector<std::vector<std::string>> stepLines(const std::string& file)
{
    std::vector<std::vector<std::string>> steps;
    for (const std::string& line : goldenInputLines(TEPA_TEST_DATA_DIR "/" + file))
        if (!line.empty() && !line.starts_with("#"))
            steps.push_back(callWords(line));
    return steps;
}

// A golden file of calls: each line that is neither empty nor a "#" comment is a call, and the
// "= " line after it holds the call's result.
inline void checkGoldenCalls(const std::string& file,
                             const std::function<std::string(const std::string&)>& call)
{
    std::string actual;
    for (const std::string& line : goldenInputLines(file)) {
        actual += line + "\n";
        if (!line.empty() && !line.starts_with("#")) {
            SCOPED_TRACE(line);
            actual += "= " + call(line) + "\n";
        }
    }
    compareWithGoldenFile(file, actual);
}

// A golden file of cases: a "case:" line opens a case, each following line that is neither empty
// nor a "#" comment is one of its steps, and the "= " lines after the steps hold the lines `run`
// returns for them.
inline void
checkGoldenCases(const std::string& file,
                 const std::function<std::vector<std::string>(const std::vector<std::string>&)>& run)
{
    std::string actual;
    std::optional<std::vector<std::string>> steps;
    const auto finish = [&] {
        if (steps)
            for (const std::string& result : run(*steps))
                actual += "= " + result + "\n";
        steps.reset();
    };
    for (const std::string& line : goldenInputLines(file)) {
        if (steps && !line.empty() && !line.starts_with("#") && !line.starts_with("case:")) {
            steps->push_back(line);
        } else {
            finish();
            if (line.starts_with("case:"))
                steps.emplace();
        }
        actual += line + "\n";
    }
    finish();
    compareWithGoldenFile(file, actual);
}

// The states a test walks through, one line per step, compared with the golden file
// tests/data/<folder>/<Suite>.<Test>.txt.
class Golden
{
public:
    explicit Golden(std::string folder = "calculation")
        : m_folder(std::move(folder))
    {}

    // A line of `label` and the values shown: texts quoted, a missing value as "-".
    template <class... T> void operator()(const std::string& label, const T&... values)
    {
        m_out << label << ':';
        (put(values), ...);
        m_out << '\n';
    }

    ~Golden()
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        compareWithGoldenFile(std::filesystem::path(TEPA_TEST_DATA_DIR) / m_folder /
                                  (std::string(info->test_suite_name()) + "." + info->name() + ".txt"),
                              m_out.str());
    }

private:
    template <class T> void put(const T& v)
    {
        if constexpr (std::is_same_v<T, std::string>)
            m_out << " '" << v << "'";
        else if constexpr (requires { v.minimum + v.maximum; }) // a bar's range
            m_out << ' ' << v.minimum << ".." << v.maximum;
        else if constexpr (requires { v.laminarFlow + v.highPressureDrop; }) // the water side's warnings
            m_out << " warn " << v.laminarFlow << v.highPressureDrop;
        else if constexpr (std::is_enum_v<T>)
            m_out << ' ' << static_cast<int>(v);
        else if constexpr (requires { v.has_value(); }) {
            if (v)
                put(*v);
            else
                m_out << " -";
        } else if constexpr (requires { v.begin(); }) {
            m_out << " [";
            for (const auto& x : v)
                put(x);
            m_out << " ]";
        } else
            m_out << ' ' << v;
    }
    std::string m_folder;
    std::ostringstream m_out;
};

} // namespace tepa::test
