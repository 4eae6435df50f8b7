// Reads a CSV table back as the tests' check of what the exports wrote: fields split by commas,
// quoted fields with doubled quotes and line breaks inside, rows ended by a line break.
#pragma once

#include <string>
#include <vector>

using TCsvRow = std::vector<std::string>;

inline std::vector<TCsvRow> ParseCsv(const std::string& text) {
    std::vector<TCsvRow> rows;
    TCsvRow row;
    std::string field;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"')
                field += text[++i];
            else if (c == '"')
                quoted = false;
            else
                field += c;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            row.push_back(std::move(field));
            field.clear();
        } else if (c == '\n') {
            row.push_back(std::move(field));
            field.clear();
            rows.push_back(std::move(row));
            row.clear();
        } else {
            field += c;
        }
    }
    if (!field.empty() || !row.empty()) {
        row.push_back(std::move(field));
        rows.push_back(std::move(row));
    }
    return rows;
}
