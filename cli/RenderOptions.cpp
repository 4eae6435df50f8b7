#include "RenderOptions.h"

#include "ArgumentNumbers.h"

#include <charconv>
#include <cmath>

const char* const kRenderUsage =
    "Використання: kvl-render FILE.kvl|FILE.pnml OUT.png|OUT.svg|OUT.pdf [--size WxH] [--center "
    "X,Y] "
    "[--zoom PERCENT] [--time T] [--whole]\n"
    "  Формат файлу визначає його розширення: .svg, .pdf, інакше PNG.\n"
    "  --size WxH       розмір зображення в пікселях (типово 1280x800)\n"
    "  --center X,Y     точка моделі в центрі зображення (типово 0,0)\n"
    "  --zoom PERCENT   масштаб у відсотках, 100 - звичайний (від 7 до 700)\n"
    "  --time T         модельний час на шкалі часу (типово 0)\n"
    "  --whole          уся сітка з полями навколо; --size і --center тоді не діють\n"
    "  -h, --help       ця довідка\n"
    "  --version        версія програми\n";

namespace {

// Two numbers joined by the separator, as "1280x800" or "-500,300".
template <typename Number>
bool ParsePair(const std::string& text, char separator, Number& a, Number& b) {
    const auto at = text.find(separator, 1);
    return at != std::string::npos && ParseSignedArgument(text.substr(0, at), a) &&
           ParseSignedArgument(text.substr(at + 1), b);
}

} // namespace

std::optional<TRenderOptions> ParseRenderOptions(const std::vector<std::string>& arguments) {
    TRenderOptions options;
    std::vector<std::string> files;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& name = arguments[i];
        if (name.rfind("--", 0) != 0) {
            files.push_back(name);
            continue;
        }
        if (name == "--whole") {
            options.WholeNet = true;
            continue;
        }
        if (i + 1 >= arguments.size())
            return std::nullopt;
        const std::string& value = arguments[++i];
        bool ok = false;
        if (name == "--size")
            ok = ParsePair(value, 'x', options.Width, options.Height) && options.Width > 0 &&
                 options.Height > 0 && options.Width <= 20000 && options.Height <= 20000;
        else if (name == "--center")
            ok = ParsePair(value, ',', options.CenterX, options.CenterY);
        else if (name == "--zoom")
            ok = ParseSignedArgument(value, options.ZoomPercent) &&
                 std::isfinite(options.ZoomPercent) && options.ZoomPercent > 0;
        else if (name == "--time")
            ok = ParseSignedArgument(value, options.ModelTime) && std::isfinite(options.ModelTime);
        if (!ok)
            return std::nullopt;
    }
    if (files.size() != 2)
        return std::nullopt;
    options.NetFile = files[0];
    options.ImageFile = files[1];
    return options;
}
