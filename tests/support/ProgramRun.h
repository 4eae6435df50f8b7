// Runs a command line through the shell as users and scripts do, and keeps what it printed.
#pragma once

#include "TempFolder.h"

#include <cstdlib>
#include <string>

#include <sys/wait.h>

struct TProgramRun {
    int Status = -1;
    std::string Out;
    std::string Err;
};

// `command` runs with its output and errors sent to files in `folder`.
inline TProgramRun RunProgram(const std::string& command, const TTempFolder& folder) {
    const auto out = folder / "out.txt";
    const auto err = folder / "err.txt";
    const std::string line = command + " >" + out.string() + " 2>" + err.string();
    const int status = std::system(line.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadBytes(out), ReadBytes(err)};
}
