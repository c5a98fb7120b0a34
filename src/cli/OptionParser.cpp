#include "cli/Command.h"

#include <CLI/CLI.hpp>

#include <algorithm>

namespace tepa::cli {
namespace {

std::string longName(const std::string& names)
{
    const auto comma = names.rfind(',');
    return comma == std::string::npos ? names : names.substr(comma + 1);
}

} // namespace

OptionParser::OptionParser()
    : m_app(std::make_unique<CLI::App>())
{
    // Help texts are the commands' own; "--help" is an ordinary switch they answer.
    m_app->set_help_flag();
    m_app->allow_windows_style_options(false);
    m_app->add_option("arguments", m_positionals);
    flag("--help");
}

OptionParser::~OptionParser() = default;

OptionParser& OptionParser::value(const std::string& name)
{
    if (m_options.count(longName(name)))
        return *this;
    // Every occurrence is kept, so that a repeated option can be refused by name.
    m_options[longName(name)] = m_app->add_option(name)->type_size(1)->expected(1)->multi_option_policy(
        CLI::MultiOptionPolicy::TakeAll);
    return *this;
}

OptionParser& OptionParser::flag(const std::string& name)
{
    if (m_options.count(longName(name)))
        return *this;
    m_options[longName(name)] = m_app->add_flag(name)->disable_flag_override();
    return *this;
}

bool OptionParser::parse(const std::vector<std::string>& args)
{
    clearValues();
    m_error.clear();
    m_app->clear();
    std::vector<std::string> reversed(args.rbegin(), args.rend()); // the parser takes them from the back
    try {
        m_app->parse(reversed);
    } catch (const CLI::ExtrasError&) {
        const auto remaining = m_app->remaining();
        m_error = "unknown option " + (remaining.empty() ? std::string("?") : remaining.front());
        return false;
    } catch (const CLI::ParseError& error) {
        // The parser names the option first ("--tv: 1 required TEXT missing").
        const std::string what = error.what();
        // A switch given a value is named without its dashes ("json was given a disallowed ...").
        for (const auto& [name, option] : m_options)
            if (what.starts_with(name + ":") || what.starts_with(name.substr(2) + " was given")) {
                const bool switchGivenValue = what.find("flag override") != std::string::npos;
                m_error = "option " + name + (switchGivenValue ? " takes no value" : " needs a value");
                return false;
            }
        m_error = what;
        return false;
    }
    for (const auto& [name, option] : m_options)
        if (option->count() > 1) {
            m_error = "option " + name + " given twice";
            return false;
        }
    for (const auto& [name, option] : m_options)
        if (option->count() > 0)
            m_values[name] = option->results().empty() ? std::string() : option->results().front();
    return true;
}

void OptionParser::clearValues()
{
    m_values.clear();
    m_positionals.clear();
}

bool OptionParser::set(const std::string& name, std::string value)
{
    if (!m_options.count(name))
        return false;
    m_values[name] = std::move(value);
    return true;
}

bool OptionParser::has(const std::string& name) const
{
    return m_values.count(name) != 0;
}

std::optional<std::string> OptionParser::get(const std::string& name) const
{
    const auto it = m_values.find(name);
    if (it == m_values.end())
        return std::nullopt;
    return it->second;
}

} // namespace tepa::cli
