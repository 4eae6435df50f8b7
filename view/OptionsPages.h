// The pages of the options dialog, by position: the top pages, and the pages inside
// "Візуалізація". The editor window names the page it asks the dialog to open on.
#pragma once

#include <cstdint>

enum TOptionsPage : std::uint8_t {
    opGeneral = 0,       // "Загальні"
    opVisualization = 1, // "Візуалізація"
};

enum TVisualPage : std::uint8_t {
    vpScreen = 0,     // "Екран"
    vpVertex = 1,     // "Вершина"
    vpTransition = 2, // "Перехід"
    vpConnection = 3, // "Зв'язок"
};
