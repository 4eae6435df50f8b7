// The names of the delay laws as the user reads them, in the order of their TDelayType codes:
// the transition's property dialog offers them, the results panel shows them (UTF-8).
#pragma once

inline constexpr const char* kDelayTypeTexts[4] = {"Точне значення", "Рівномірний закон",
                                                   "Нормальний закон", "Експоненціальний закон"};
