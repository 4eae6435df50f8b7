// The pieces of a study that need no run: the summary of a figure, and the reading of changes
// and sweeps from the command line.
#include "EngineError.h"
#include "Random.h"
#include "StudyParameters.h"
#include "StudyStreams.h"
#include "StudySummary.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

namespace {

std::vector<std::string> Values(const std::vector<TAssignment>& sweep) {
    std::vector<std::string> values;
    for (const TAssignment& assignment : sweep)
        values.push_back(assignment.Value);
    return values;
}

TEST(StudySummary, MeanDeviationAndStudentHalfWidth) {
    const TSummary four = Summarize({1, 2, 3, 4}, 0.95);
    EXPECT_EQ(four.Count, 4u);
    EXPECT_DOUBLE_EQ(four.Mean, 2.5);
    EXPECT_NEAR(*four.Deviation, 1.2909944487358056, 1e-15);
    EXPECT_NEAR(*four.HalfWidth, 3.1824463052842638 * 1.2909944487358056 / 2, 1e-12);
    EXPECT_NEAR(StudentQuantile(0.975, 19), 2.093024054408263, 1e-12);
    EXPECT_NEAR(StudentQuantile(0.95, 1000), 1.6463788, 1e-6);

    const TSummary one = Summarize({7}, 0.95);
    EXPECT_EQ(one.Count, 1u);
    EXPECT_EQ(one.Mean, 7);
    EXPECT_FALSE(one.Deviation);
    EXPECT_FALSE(RelativeHalfWidth(one));
    EXPECT_EQ(Summarize({}, 0.95).Count, 0u);

    // A large mean with a small spread keeps its digits.
    const TSummary large = Summarize({1e9 + 1, 1e9 + 2, 1e9 + 3}, 0.9);
    EXPECT_DOUBLE_EQ(*large.Deviation, 1);
    EXPECT_EQ(*RelativeHalfWidth(Summarize({0, 0}, 0.95)), 0);
    EXPECT_TRUE(std::isinf(*RelativeHalfWidth(Summarize({-1, 1}, 0.95))));
}

TEST(StudyParameters, AssignmentsAndTheirFields) {
    const TAssignment delay = ParseAssignment("Обслуговування.delay=1.5");
    EXPECT_EQ(delay.Parameter.Object, "Обслуговування");
    EXPECT_EQ(delay.Parameter.Field, pfDelay);
    EXPECT_EQ(delay.Value, "1.5");
    // The field follows the last point; a formula may hold "=".
    EXPECT_EQ(ParseParameter("a.b.marking").Object, "a.b");
    EXPECT_EQ(ParseAssignment("Q->T.formula=x=1").Value, "x=1");
    EXPECT_EQ(AssignmentValueJson(ParseAssignment("T.delay=2")), "2.0");
    EXPECT_EQ(AssignmentValueJson(ParseAssignment("T.law=normal")), "\"normal\"");
    EXPECT_EQ(AssignmentValueJson(ParseAssignment("V.marking=+3")), "3");

    for (const char* bad : {"T.delay", "T.delay=1,5", "T.delay=inf", "V.marking=2.5",
                            "V.marking=3000000000", "T.law=Gauss", "T.rate=1", "delay=1"})
        EXPECT_THROW(ParseAssignment(bad), TEngineError) << bad;
}

TEST(StudyParameters, SweepsByListAndByRange) {
    EXPECT_EQ(Values(SweepAssignments("T.delay=0.1:0.5:0.1")),
              (std::vector<std::string>{"0.1", "0.2", "0.3", "0.4", "0.5"}));
    EXPECT_EQ(Values(SweepAssignments("V.marking=0:10:5")),
              (std::vector<std::string>{"0", "5", "10"}));
    EXPECT_EQ(Values(SweepAssignments("V.marking=0:9:5")), (std::vector<std::string>{"0", "5"}));
    EXPECT_EQ(Values(SweepAssignments("T.delay=2:2:1")), (std::vector<std::string>{"2.0"}));
    EXPECT_EQ(Values(SweepAssignments("T.law=uniform,normal")),
              (std::vector<std::string>{"uniform", "normal"}));
    EXPECT_EQ(SweepAssignments("T.delay=0:1:1e-4").size(), 10001u);

    for (const char* bad :
         {"T.delay=", "T.delay=1,", "T.delay=1:2", "T.delay=2:1:1", "T.delay=0:1:0",
          "T.delay=0:1:-1", "T.law=0:1:1", "V.marking=0:1:0.5", "T.delay=0:1:1e-6", "T.delay"})
        EXPECT_THROW(SweepAssignments(bad), TEngineError) << bad;
}

// The first `count` seeds of a stream: the states its draws come from.
std::vector<std::uint32_t> StreamStates(std::uint32_t seed, std::size_t count) {
    TRandom random{seed};
    std::vector<std::uint32_t> states;
    for (std::size_t i = 0; i < count; ++i) {
        UniformRandom(random);
        states.push_back(random.Seed);
    }
    return states;
}

TEST(StudyStreams, StreamsAreSpreadEvenlyAndAreNotShiftedCopiesOfEachOther) {
    constexpr std::size_t kDraws = 200;
    constexpr std::int64_t kLags = 100; // every lag leaves at least 100 draws to compare
    for (const std::uint64_t streams : {2u, 3u, 4u, 8u, 16u, 20u, 64u, 100u}) {
        const std::uint64_t spacing = StreamSpacing(streams);
        // Nearly the whole cycle is shared out, and no stream runs into the next.
        EXPECT_LE(spacing * streams, std::uint64_t{1} << 32);
        EXPECT_GE(spacing * streams, (std::uint64_t{1} << 32) / 100 * 97);
        const auto first = StreamStates(7, kDraws);
        for (std::uint64_t d = 1; d < streams; ++d) {
            const auto other = StreamStates(AdvancedSeed(7, d * spacing), kDraws);
            // At no small lag do the states of stream d differ from those of stream 0 by a
            // shift taking only a few values, as they would 2^30 or 2^29 draws apart.
            for (std::int64_t lag = -kLags; lag <= kLags; ++lag) {
                std::set<std::uint32_t> shifts;
                for (std::int64_t n = std::max<std::int64_t>(0, lag);
                     n < std::int64_t(kDraws) && n - lag < std::int64_t(kDraws); ++n)
                    shifts.insert(other[n] - first[n - lag]);
                ASSERT_GT(shifts.size(), 16u)
                    << streams << " streams: stream " << d << " at lag " << lag;
            }
        }
    }
}

} // namespace
