#pragma once

#include <QString>

#include <optional>

namespace tepa::platform {

// The program's values in the user's settings store: on Windows the registry key
// HKEY_CURRENT_USER\Software\Orva\kiv, elsewhere the equivalent configuration file.
class Settings
{
public:
    virtual ~Settings() = default;
    // Opens the key, creating it when missing; false when that fails.
    virtual bool open() = 0;
    virtual std::optional<QString> readString(const QString& name) = 0;
    virtual bool writeString(const QString& name, const QString& value) = 0;
    virtual void close() = 0;
};

} // namespace tepa::platform
