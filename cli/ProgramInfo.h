// The requests every program answers before anything else: its usage or its version, printed on
// standard output with exit status 0.
#pragma once

#include <string>
#include <vector>

enum class TInfoRequest { None, Help, Version };

// Help when any argument is "--help" or "-h", else Version when one is "--version".
inline TInfoRequest InfoRequestOf(const std::vector<std::string>& arguments) {
    bool version = false;
    for (const std::string& argument : arguments) {
        if (argument == "--help" || argument == "-h")
            return TInfoRequest::Help;
        version = version || argument == "--version";
    }
    return version ? TInfoRequest::Version : TInfoRequest::None;
}
