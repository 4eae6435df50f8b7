// The one exception type of the engine: a failed conversion or file operation, carrying the
// message shown to the user (UTF-8, in Ukrainian).
#pragma once

#include <stdexcept>
#include <string>

class TEngineError : public std::runtime_error {
public:
    explicit TEngineError(const std::string& message) : std::runtime_error(message) {}
};
