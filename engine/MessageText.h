// Pieces of the Ukrainian messages shown to the user: the reason of a failed system call and a
// quotation of text taken from a file.
#pragma once

#include <string>
#include <string_view>

// The reason for an errno value in Ukrainian; a value without a phrase of its own is named by
// its number.
std::string SystemErrorText(int error);

// Windows-1251 text in «» as UTF-8 for a message: at most kQuotedLength characters (then "…"),
// with NUL shown as \0 and other control bytes as \xNN, so that a huge or binary line neither
// floods the message nor cuts it short.
inline constexpr std::size_t kQuotedLength = 60;
std::string QuotedText(std::string_view win1251);
