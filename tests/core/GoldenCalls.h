#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace tepa::test {

// Words of a call line; "..." holds blanks.
inline std::vector<std::string> callWords(const std::string& line)
{
    std::vector<std::string> result;
    for (std::size_t i = 0; i < line.size();) {
        if (line[i] == ' ') {
            ++i;
        } else if (line[i] == '"') {
            const std::size_t end = line.find('"', i + 1);
            result.push_back(line.substr(i + 1, end - i - 1));
            i = end + 1;
        } else {
            const std::size_t end = std::min(line.find(' ', i), line.size());
            result.push_back(line.substr(i, end - i));
            i = end;
        }
    }
    return result;
}

// A golden file of calls: each line that is neither empty nor a "#" comment is a call, and the
// "= " line after it holds the call's result. Compares the file byte for byte with the results
// of today's code; TEPA_WRITE_GOLDEN=1 writes them into the file instead, to be checked by hand
// before they are committed.
inline void checkGoldenCalls(const std::string& file, const std::function<std::string(const std::string&)>& call)
{
    std::ifstream in(file, std::ios::binary);
    ASSERT_TRUE(in) << file;
    std::string expected, actual, line;
    while (std::getline(in, line)) {
        expected += line + "\n";
        if (line.starts_with("= "))
            continue;
        actual += line + "\n";
        if (!line.empty() && !line.starts_with("#")) {
            SCOPED_TRACE(line);
            actual += "= " + call(line) + "\n";
        }
    }
    if (std::getenv("TEPA_WRITE_GOLDEN"))
        std::ofstream(file, std::ios::binary) << actual;
    EXPECT_EQ(actual, expected);
}

} // namespace tepa::test
