// What the framework throws when something it relies on fails (the system
// refuses a device context, a pen or a brush): a fixed message, so that
// throwing needs no string.
#pragma once

#include <exception>

namespace framework {

class Failure : public std::exception {
public:
    explicit Failure(const char* what) noexcept : m_what(what) {}
    const char* what() const noexcept override { return m_what; }

private:
    const char* m_what;
};

}  // namespace framework
