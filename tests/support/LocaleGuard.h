// Switches the C library's numeric locale for one test and redoes the decimal-separator
// detection; the previous locale and detection come back at the end.
#pragma once

#include "NumberText.h"

#include <clocale>
#include <string>

class TLocaleGuard {
public:
    explicit TLocaleGuard(const char* name) {
        Previous_ = std::setlocale(LC_NUMERIC, nullptr);
        Active_ = std::setlocale(LC_NUMERIC, name) != nullptr;
        DetectDecimalSeparator();
    }
    ~TLocaleGuard() {
        std::setlocale(LC_NUMERIC, Previous_.c_str());
        DetectDecimalSeparator();
    }
    TLocaleGuard(const TLocaleGuard&) = delete;
    TLocaleGuard& operator=(const TLocaleGuard&) = delete;

    bool Active() const { return Active_; }

private:
    std::string Previous_;
    bool Active_ = false;
};

// The locale with "," as its decimal separator that the setup script generates.
constexpr const char* kCommaLocale = "uk_UA.UTF-8";
