#pragma once

#include <string>
#include <utility>
#include <variant>

namespace tepa {

// A failure the caller shows to the user; the message is complete and ready to display.
struct Error
{
    std::string message;
};

// Value or error. Parsers, readers and the codec return this instead of throwing.
template <class T>
class Result
{
public:
    Result(T value)
        : m_state(std::move(value))
    {
    }
    Result(Error error)
        : m_state(std::move(error))
    {
    }

    bool ok() const { return std::holds_alternative<T>(m_state); }
    explicit operator bool() const { return ok(); }

    const T& value() const& { return std::get<T>(m_state); }
    T& value() & { return std::get<T>(m_state); }
    T&& value() && { return std::get<T>(std::move(m_state)); }
    const T& operator*() const& { return value(); }
    T& operator*() & { return value(); }
    const T* operator->() const { return &value(); }
    T* operator->() { return &value(); }

    const std::string& error() const { return std::get<Error>(m_state).message; }

private:
    std::variant<T, Error> m_state;
};

// For operations that only succeed or fail.
struct Done
{
};
using Status = Result<Done>;

} // namespace tepa
