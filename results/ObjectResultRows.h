// The rows of the object results panel for the one chosen object: labels and value texts, and
// which rows are the thin spacers. Plain data, so that tests check it without a window.
#pragma once

#include "Engine.h"

#include <string>
#include <vector>

struct TResultRow {
    std::string Label; // UTF-8
    std::string Value; // UTF-8
    bool Spacer = false;
};

// One empty row when the selection is not exactly one object.
std::vector<TResultRow> ObjectResultRows(const TEngine& engine);
