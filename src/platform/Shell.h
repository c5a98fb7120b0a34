#pragma once

#include <QString>

namespace tepa::platform {

// The desktop's "open" of a document path or an address ("mailto:...", "http://...").
class Shell
{
public:
    virtual ~Shell() = default;
    // False when nothing could open it.
    virtual bool open(const QString& target) = 0;
};

} // namespace tepa::platform
