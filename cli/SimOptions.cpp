#include "SimOptions.h"

#include "ArgumentNumbers.h"

const char* const kSimUsage =
    "Використання: kvl-sim FILE.kvl|FILE.pnml [--interval T] [--seed N] [--warmup W]\n"
    "                [--conflict | --no-conflict] [--settings KVLConfig.ini] [--stats]\n"
    "                [--set NAME.FIELD=VALUE]... [--history DIR] [дослід]\n"
    "       kvl-sim merge [--format json|csv] [--per-replication] PART...\n"
    "  --interval T   інтервал модельного часу від 0 (типово 1000)\n"
    "  --seed N       початкове значення генератора випадкових чисел (0..4294967295)\n"
    "  --warmup W     інтервал розгону: статистика береться за [W, кінець]\n"
    "  --conflict     з розв'язанням конфліктів між переходами (типово)\n"
    "  --no-conflict  без розв'язання конфліктів між переходами\n"
    "  --settings F   параметри з файлу F (KVLConfig.ini): історії, конфлікти;\n"
    "                 явно задані ключі командного рядка мають перевагу\n"
    "  --stats        кількість подій і подій за секунду прогону (у stderr)\n"
    "  --set NAME.FIELD=VALUE  змінити збережене значення об'єкта перед прогоном:\n"
    "                 вершина: marking; перехід: delay, deviation, priority, weight, law;\n"
    "                 зв'язок ВЕРШИНА->ПЕРЕХІД або ПЕРЕХІД->ВЕРШИНА: count, formula\n"
    "  --history DIR  після прогону записати історії об'єктів моніторингу\n"
    "                 у DIR/history.csv (тека створюється, якщо її немає)\n"
    "Дослід (незалежні реплікації з довірчими інтервалами):\n"
    "  --replications R        кількість реплікацій (типово 1)\n"
    "  --confidence P          рівень довіри інтервалів (типово 0.95)\n"
    "  --jobs N                кількість потоків (типово - усі ядра)\n"
    "  --per-replication       додати результати кожної реплікації\n"
    "  --replication I         повторити лише реплікацію I (від 0)\n"
    "  --sweep NAME.FIELD=V1,V2,...  або  NAME.FIELD=A:B:STEP  - ряд значень параметра\n"
    "  --precision E --max-replications M [--target NAME.STAT]...\n"
    "                          додавати реплікації, доки відносна напівширина інтервалу\n"
    "                          кожної цілі не стане не більшою за E, або до M реплікацій\n"
    "  --shard K/N             лише частина K з N (для кластера); об'єднання: kvl-sim merge\n"
    "  --format json|csv       формат результатів (типово json)\n"
    "  -h, --help              ця довідка\n"
    "  --version               версія програми\n";

namespace {

bool ParseFormat(const std::string& text, TOutputFormat& format) {
    if (text == "json")
        format = ofJson;
    else if (text == "csv")
        format = ofCsv;
    else
        return false;
    return true;
}

// "K/N" with 1 <= K <= N.
bool ParseShard(const std::string& text, TShard& shard) {
    const auto slash = text.find('/');
    return slash != std::string::npos &&
           ParseUnsignedArgument(text.substr(0, slash), shard.Number) &&
           ParseUnsignedArgument(text.substr(slash + 1), shard.Count) && shard.Number >= 1 &&
           shard.Number <= shard.Count;
}

// The checks that need every option: the error message, or empty when the study fits.
std::string StudyError(const TSimOptions& options) {
    const TStudyOptions& study = options.Study;
    if (study.Precision && !study.MaxReplications)
        return "--precision потребує --max-replications M";
    if (!study.Precision && (study.MaxReplications || !study.Targets.empty()))
        return "--max-replications і --target діють лише разом із --precision";
    if (study.Precision && study.ReplicationsGiven && study.Replications > *study.MaxReplications)
        return "--replications не може перевищувати --max-replications";
    if (study.Shard && study.Precision)
        return "--shard не поєднується з --precision: кількість реплікацій тоді залежить від "
               "уже отриманих результатів";
    if (study.Shard && !options.Seed)
        return "--shard потребує --seed: усі частини мають починати з одного зерна";
    if (study.Shard && study.Replication)
        return "--shard не поєднується з --replication";
    if (study.Shard && (study.Format != ofJson || study.PerReplication))
        return "--shard пише частковий результат у JSON; формат і --per-replication обирають "
               "під час об'єднання: kvl-sim merge --format csv --per-replication ...";
    if (study.Replication && !options.Seed)
        return "--replication потребує --seed того досліду, реплікацію якого треба повторити";
    if (study.Precision && *study.MaxReplications < 2)
        return "--max-replications: для довірчого інтервалу потрібно щонайменше 2 реплікації";
    const std::uint64_t streams = study.Precision ? *study.MaxReplications : study.Replications;
    if (study.Replication && *study.Replication >= streams)
        return "--replication: номер реплікації має бути від 0 до " + std::to_string(streams - 1);
    return {};
}

} // namespace

std::optional<TSimOptions> ParseSimOptions(const std::vector<std::string>& arguments,
                                           std::string& error) {
    error.clear();
    TSimOptions options;
    TStudyOptions& study = options.Study;
    bool haveFile = false;
    // A value that fits the usage but not its range: the reason, and no options.
    auto refuse = [&](std::string reason) -> std::optional<TSimOptions> {
        error = std::move(reason);
        return std::nullopt;
    };
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
        const bool studyOption = name == "--replications" || name == "--replication" ||
                                 name == "--confidence" || name == "--jobs" ||
                                 name == "--per-replication" || name == "--sweep" ||
                                 name == "--precision" || name == "--max-replications" ||
                                 name == "--target" || name == "--shard" || name == "--format";
        study.Requested = study.Requested || studyOption;
        if (name == "--no-conflict" && !value) {
            options.ConflictCheck = false;
        } else if (name == "--conflict" && !value) {
            options.ConflictCheck = true;
        } else if (name == "--stats" && !value) {
            options.Stats = true;
        } else if (name == "--per-replication" && !value) {
            study.PerReplication = true;
        } else if (name == "--interval" || name == "--warmup") {
            const auto text = takeValue();
            double number = 0;
            if (!text || !ParseRealArgument(*text, number))
                return std::nullopt;
            (name == "--interval" ? options.Interval : options.WarmUp) = number;
        } else if (name == "--settings" || name == "--history") {
            const auto text = takeValue();
            if (!text || text->empty())
                return std::nullopt;
            (name == "--settings" ? options.SettingsFile : options.HistoryDir) = *text;
        } else if (name == "--seed") {
            const auto text = takeValue();
            std::uint32_t seed = 0;
            if (!text || !ParseUnsignedArgument(*text, seed))
                return std::nullopt;
            options.Seed = seed;
        } else if (name == "--replications" || name == "--max-replications") {
            const auto text = takeValue();
            std::uint64_t count = 0;
            if (!text)
                return std::nullopt;
            if (!ParseUnsignedArgument(*text, count) || count < 1 || count > MostReplications)
                return refuse(name + ": кількість реплікацій має бути цілим числом від 1 до " +
                              std::to_string(MostReplications));
            if (name == "--replications") {
                study.Replications = count;
                study.ReplicationsGiven = true;
            } else {
                study.MaxReplications = count;
            }
        } else if (name == "--replication") {
            const auto text = takeValue();
            std::uint64_t index = 0;
            if (!text)
                return std::nullopt;
            if (!ParseUnsignedArgument(*text, index))
                return refuse("--replication: очікується номер реплікації від 0");
            study.Replication = index;
        } else if (name == "--confidence") {
            const auto text = takeValue();
            double level = 0;
            if (!text)
                return std::nullopt;
            // (1 + level) / 2 must stay below 1 for the quantile to exist.
            if (!ParseRealArgument(*text, level) || level <= 0 || (1 + level) / 2 >= 1)
                return refuse("--confidence: рівень довіри має бути числом між 0 і 1, "
                              "наприклад 0.95");
            study.Confidence = level;
        } else if (name == "--precision") {
            const auto text = takeValue();
            double precision = 0;
            if (!text)
                return std::nullopt;
            if (!ParseRealArgument(*text, precision) || precision <= 0)
                return refuse("--precision: відносна напівширина має бути додатним числом, "
                              "наприклад 0.05");
            study.Precision = precision;
        } else if (name == "--jobs") {
            const auto text = takeValue();
            unsigned jobs = 0;
            if (!text)
                return std::nullopt;
            if (!ParseUnsignedArgument(*text, jobs) || jobs < 1 || jobs > 4096)
                return refuse("--jobs: кількість потоків має бути від 1 до 4096");
            study.Jobs = jobs;
        } else if (name == "--shard") {
            const auto text = takeValue();
            TShard shard;
            if (!text)
                return std::nullopt;
            if (!ParseShard(*text, shard))
                return refuse("--shard: очікується K/N, де K і N цілі, 1 <= K <= N");
            study.Shard = shard;
        } else if (name == "--format") {
            const auto text = takeValue();
            if (!text || !ParseFormat(*text, study.Format))
                return refuse("--format: очікується json або csv");
        } else if (name == "--set" || name == "--sweep" || name == "--target") {
            const auto text = takeValue();
            if (!text)
                return std::nullopt;
            if (name == "--set")
                options.Sets.push_back(*text);
            else if (name == "--target")
                study.Targets.push_back(*text);
            else if (!study.Sweep.empty())
                return refuse("--sweep можна задати лише один раз");
            else if (text->empty() || text->back() == '=')
                return refuse("--sweep: не задано жодного значення (" + *text + ")");
            else
                study.Sweep = *text;
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
    if (study.Requested && !options.HistoryDir.empty())
        return refuse("--history записує історії одного прогону і не поєднується з опціями "
                      "досліду");
    if (std::string reason = StudyError(options); !reason.empty())
        return refuse(std::move(reason));
    return options;
}

std::optional<TSimOptions> ParseSimOptions(const std::vector<std::string>& arguments) {
    std::string ignored;
    return ParseSimOptions(arguments, ignored);
}

std::optional<TMergeOptions> ParseMergeOptions(const std::vector<std::string>& arguments,
                                               std::string& error) {
    error.clear();
    TMergeOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--per-replication") {
            options.PerReplication = true;
        } else if (argument == "--format" || argument.rfind("--format=", 0) == 0) {
            std::string text;
            if (argument == "--format") {
                if (i + 1 >= arguments.size())
                    return std::nullopt;
                text = arguments[++i];
            } else {
                text = argument.substr(9);
            }
            if (!ParseFormat(text, options.Format)) {
                error = "--format: очікується json або csv";
                return std::nullopt;
            }
        } else if (argument.rfind("-", 0) == 0 && argument.size() > 1) {
            error = "kvl-sim merge: невідомий ключ «" + argument +
                    "»; можливі --format json|csv і --per-replication";
            return std::nullopt;
        } else {
            options.Parts.push_back(argument);
        }
    }
    if (options.Parts.empty()) {
        error = "kvl-sim merge: не задано жодного часткового результату";
        return std::nullopt;
    }
    return options;
}

std::optional<TMergeOptions> ParseMergeOptions(const std::vector<std::string>& arguments) {
    std::string ignored;
    return ParseMergeOptions(arguments, ignored);
}
