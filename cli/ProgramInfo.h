// The requests every program answers before anything else: its usage or its version, printed on
// standard output with exit status 0.
#pragma once

#include <iostream>
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

// Prints the usage, or the program's name and version, on standard output when the arguments
// ask for one; whether they did, so that the program ends with status 0.
inline bool AnswerInfoRequest(const std::vector<std::string>& arguments, const char* program,
                              const char* usage, const char* version) {
    switch (InfoRequestOf(arguments)) {
    case TInfoRequest::Help:
        std::cout << usage;
        return true;
    case TInfoRequest::Version:
        std::cout << program << ' ' << version << '\n';
        return true;
    case TInfoRequest::None:
        break;
    }
    return false;
}
