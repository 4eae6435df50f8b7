// The usage and version requests of the installed programs, run as a shell runs them.
#include "ProgramRun.h"
#include "TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

struct TProgram {
    const char* Name;
    const char* Path;
};

class ProgramInfoTest : public ::testing::TestWithParam<TProgram> {
protected:
    // By default with no display at all: the requests must be answered before any window
    // system is needed.
    TProgramRun Run(const std::string& arguments, const std::string& platform = "xcb") {
        return RunProgram("env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=" + platform + " " +
                              std::string(GetParam().Path) + " " + arguments,
                          Folder);
    }
    TTempFolder Folder;
};

TEST_P(ProgramInfoTest, HelpPrintsTheUsageOnStdoutAndSucceeds) {
    for (const char* request : {"--help", "-h", "--interval 5 --help"}) {
        const TProgramRun run = Run(request);
        EXPECT_EQ(run.Status, 0) << request;
        EXPECT_THAT(run.Out, StartsWith("Використання: " + std::string(GetParam().Name)));
        EXPECT_THAT(run.Out, HasSubstr("--version"));
        EXPECT_EQ(run.Err, "");
    }
}

TEST_P(ProgramInfoTest, VersionPrintsTheProjectsVersion) {
    const TProgramRun run = Run("--version");
    EXPECT_EQ(run.Status, 0);
    EXPECT_EQ(run.Out, std::string(GetParam().Name) + " " + KVL_VERSION + "\n");
    EXPECT_EQ(run.Err, "");
}

TEST_P(ProgramInfoTest, AnUnknownOptionStillFailsWithTheUsageOnStderr) {
    const TProgramRun run = Run("--no-such-option", "offscreen");
    EXPECT_EQ(run.Status, 2);
    EXPECT_EQ(run.Out, "");
    EXPECT_THAT(run.Err, HasSubstr("Використання: " + std::string(GetParam().Name)));
}

INSTANTIATE_TEST_SUITE_P(Programs, ProgramInfoTest,
                         ::testing::Values(TProgram{"kvl-sim", KVL_SIM},
                                           TProgram{"kvl-render", KVL_RENDER},
                                           TProgram{"kvl-editor", KVL_EDITOR},
                                           TProgram{"kvl-convert", KVL_CONVERT}),
                         [](const auto& info) {
                             std::string name = info.param.Name;
                             std::erase(name, '-');
                             return name;
                         });

} // namespace
