#include "cli/Command.h"

namespace tepa::cli {

OptionParser& OptionParser::value(const std::string& name)
{
    m_known[name] = true;
    return *this;
}

OptionParser& OptionParser::flag(const std::string& name)
{
    m_known[name] = false;
    return *this;
}

bool OptionParser::parse(const std::vector<std::string>& args)
{
    m_values.clear();
    m_positionals.clear();
    m_error.clear();
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.size() < 2 || !arg.starts_with("--")) {
            // A lone "-" or a negative number is an argument, not an option.
            m_positionals.push_back(arg);
            continue;
        }
        std::string name = arg;
        std::optional<std::string> inlineValue;
        if (auto eq = arg.find('='); eq != std::string::npos) {
            name = arg.substr(0, eq);
            inlineValue = arg.substr(eq + 1);
        }
        auto known = m_known.find(name);
        if (known == m_known.end()) {
            m_error = "unknown option " + name;
            return false;
        }
        if (m_values.count(name)) {
            m_error = "option " + name + " given twice";
            return false;
        }
        if (!known->second) {
            if (inlineValue) {
                m_error = "option " + name + " takes no value";
                return false;
            }
            m_values[name] = "";
            continue;
        }
        if (inlineValue) {
            m_values[name] = *inlineValue;
        } else if (i + 1 < args.size()) {
            m_values[name] = args[++i];
        } else {
            m_error = "option " + name + " needs a value";
            return false;
        }
    }
    return true;
}

bool OptionParser::has(const std::string& name) const
{
    return m_values.count(name) != 0;
}

std::optional<std::string> OptionParser::get(const std::string& name) const
{
    auto it = m_values.find(name);
    if (it == m_values.end())
        return std::nullopt;
    return it->second;
}

} // namespace tepa::cli
