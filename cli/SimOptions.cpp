#include "SimOptions.h"

#include <charconv>
#include <cmath>

const char* const kSimUsage =
    "Використання: kvl-sim FILE.kvl [--interval T] [--seed N] [--warmup W]\n"
    "                [--conflict | --no-conflict] [--settings KVLConfig.ini] [--stats]\n"
    "  --interval T   інтервал модельного часу від 0 (типово 1000)\n"
    "  --seed N       початкове значення генератора випадкових чисел (0..4294967295)\n"
    "  --warmup W     інтервал розгону: статистика береться за [W, кінець]\n"
    "  --conflict     з розв'язанням конфліктів між переходами (типово)\n"
    "  --no-conflict  без розв'язання конфліктів між переходами\n"
    "  --settings F   параметри з файлу F (KVLConfig.ini): історії, конфлікти;\n"
    "                 явно задані ключі командного рядка мають перевагу\n"
    "  --stats        кількість подій і подій за секунду прогону (у stderr)\n";

namespace {

template <typename Number> bool ParseWhole(const std::string& text, Number& value) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end;
}

bool ParseReal(const std::string& text, double& value) {
    const char* first = text.data() + (!text.empty() && text[0] == '+');
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(first, end, value);
    return result.ec == std::errc() && result.ptr == end && std::isfinite(value);
}

} // namespace

std::optional<TSimOptions> ParseSimOptions(const std::vector<std::string>& arguments) {
    TSimOptions options;
    bool haveFile = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::optional<std::string> value;
        if (const auto equals = name.find('=');
            name.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        auto takeValue = [&]() -> std::optional<std::string> {
            if (value)
                return value;
            if (i + 1 >= arguments.size())
                return std::nullopt;
            return arguments[++i];
        };
        if (name == "--no-conflict" && !value) {
            options.ConflictCheck = false;
        } else if (name == "--conflict" && !value) {
            options.ConflictCheck = true;
        } else if (name == "--stats" && !value) {
            options.Stats = true;
        } else if (name == "--interval" || name == "--warmup") {
            const auto text = takeValue();
            double number = 0;
            if (!text || !ParseReal(*text, number))
                return std::nullopt;
            (name == "--interval" ? options.Interval : options.WarmUp) = number;
        } else if (name == "--settings") {
            const auto text = takeValue();
            if (!text || text->empty())
                return std::nullopt;
            options.SettingsFile = *text;
        } else if (name == "--seed") {
            const auto text = takeValue();
            std::uint32_t seed = 0;
            if (!text || !ParseWhole(*text, seed))
                return std::nullopt;
            options.Seed = seed;
        } else if (name.rfind("-", 0) == 0 && name.size() > 1) {
            return std::nullopt;
        } else {
            if (haveFile)
                return std::nullopt;
            options.NetFile = arguments[i];
            haveFile = true;
        }
    }
    if (!haveFile)
        return std::nullopt;
    return options;
}
