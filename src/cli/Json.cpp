#include "cli/Json.h"

#include <cmath>

namespace tepa::cli {
namespace {

// Doubles that hold whole numbers become integers, so lengths and counts read "800".
Json withWholeNumbers(const Json& value)
{
    if (value.is_number_float()) {
        const double number = value.get<double>();
        // 2^53: beyond it not every integer is a double, and the integer form could mislead.
        constexpr double exactLimit = 9007199254740992.0;
        if (std::isfinite(number) && number == std::trunc(number) && std::fabs(number) <= exactLimit &&
            !(number == 0 && std::signbit(number)))
            return static_cast<long long>(number);
        return value;
    }
    if (value.is_structured()) {
        Json copy = value.is_object() ? Json::object() : Json::array();
        for (auto it = value.begin(); it != value.end(); ++it) {
            if (value.is_object())
                copy[it.key()] = withWholeNumbers(*it);
            else
                copy.push_back(withWholeNumbers(*it));
        }
        return copy;
    }
    return value;
}

} // namespace

void writeJson(std::ostream& out, const Json& document)
{
    out << withWholeNumbers(document).dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
}

std::string jsonLine(const Json& document)
{
    return withWholeNumbers(document).dump(-1, ' ', false, Json::error_handler_t::replace);
}

} // namespace tepa::cli
