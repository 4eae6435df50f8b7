// Windows-1251 text: conversion to and from UTF-8 at the window boundary, and the code page's
// letter-case mapping used for comparing names.
#pragma once

#include <string>
#include <string_view>

std::string Win1251ToUtf8(std::string_view text);
// Characters that Windows-1251 cannot hold, and malformed UTF-8, become "?".
std::string Utf8ToWin1251(std::string_view text);

char UpperCase1251(char c);
std::string UpperCase1251(std::string_view text);
// Equality without regard to letter case, Cyrillic letters included.
bool SameText1251(std::string_view a, std::string_view b);
