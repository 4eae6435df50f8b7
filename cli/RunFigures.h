// The figures of one run of a net: how it ended, and every vertex's and transition's counters and
// statistics over the window [warm-up, model time]. A single run prints them, a replication of a
// study keeps them, and a partial result of a cluster job carries them to the merge, which reads
// them back exactly.
#pragma once

#include "Engine.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

enum TFigureKind : std::uint8_t {
    fkInteger = 0, // a count or a marking, written without a point
    fkReal = 1,    // written as the shortest text that reads back to the same real
};

struct TFigureSpec {
    const char* Key; // the key in the JSON output and the statistic column of the CSV
    TFigureKind Kind;
    bool Window; // a statistic of the window, which only a monitored object has
};

// The figures of a vertex and of a transition, in output order.
std::span<const TFigureSpec> VertexFigureSpecs();
std::span<const TFigureSpec> TransitionFigureSpecs();

struct TObjectFigures {
    std::string Name; // UTF-8
    bool Monitoring = false;
    // One for each spec of the object's kind; none where the figure does not exist (an object
    // not monitored, no token arrived in the window). Counts are held exactly up to 2^53.
    std::vector<std::optional<double>> Values;
};

struct TRunFigures {
    std::uint64_t Replication = 0;
    std::uint32_t Seed = 0;  // the generator's seed at the start of the run
    std::uint64_t Draws = 0; // random numbers drawn by the run
    double ModelTime = 0;
    TRunStop Stop = rsNone;
    std::vector<TObjectFigures> Vertices;
    std::vector<TObjectFigures> Transitions;
    // Not written: the events of the run and its wall-clock seconds, for --stats, and what the
    // engine told the user during the run (UTF-8).
    std::uint64_t Events = 0;
    double Seconds = 0;
    std::vector<std::string> Messages;
};

// The figures of the engine's net now, over the window from `warmUp`.
void TakeFigures(TEngine& engine, double warmUp, TRunFigures& figures);

// "end", "overflow" or "endless_instant"; TryStopOfName reads them back.
const char* StopName(TRunStop stop);
std::optional<TRunStop> TryStopOfName(const std::string& name);

// The JSON of one object on one line: its name, its figures (null where missing), and after
// the first of them whether it is monitored.
std::string ObjectFiguresJson(const TObjectFigures& object, std::span<const TFigureSpec> specs);

// JSON text helpers shared by the writers: the shortest text that reads back to the same real
// (always with a point or an exponent; null when not finite), a quoted UTF-8 string.
std::string JsonReal(double value);
std::string JsonString(const std::string& utf8);
std::string JsonFigure(const std::optional<double>& value, TFigureKind kind);
