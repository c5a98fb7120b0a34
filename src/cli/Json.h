#pragma once

#include <nlohmann/json.hpp>

#include <ostream>
#include <string>

namespace tepa::cli {

// JSON documents keep their keys in the order they are set, as a reader of the output expects.
using Json = nlohmann::ordered_json;

// Writes `document` indented by two blanks, with a final line end. A whole number held as a
// double is written without a fraction ("800", not "800.0"); any other double with the fewest
// digits that read back exactly; a non-finite number as null. Text that is not valid UTF-8 is
// written with replacement characters instead of failing.
void writeJson(std::ostream& out, const Json& document);

// The same document on one line, without a line end (a line of JSON lines).
std::string jsonLine(const Json& document);

} // namespace tepa::cli
