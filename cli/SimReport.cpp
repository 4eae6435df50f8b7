#include "SimReport.h"

#include "EngineError.h"
#include "FileReplace.h"
#include "MessageText.h"

#include <iostream>
#include <system_error>

namespace {

std::string List(const std::vector<TObjectFigures>& objects, std::span<const TFigureSpec> specs) {
    if (objects.empty())
        return "[]";
    std::string text = "[\n";
    for (std::size_t i = 0; i < objects.size(); ++i)
        text +=
            "    " + ObjectFiguresJson(objects[i], specs) + (i + 1 < objects.size() ? ",\n" : "\n");
    return text + "  ]";
}

} // namespace

std::string SimReportJson(const TRunFigures& figures) {
    std::string json = "{\n";
    json += "  \"model_time\": " + JsonReal(figures.ModelTime) + ",\n";
    json += std::string("  \"stopped\": \"") + StopName(figures.Stop) + "\",\n";
    json += "  \"vertices\": " + List(figures.Vertices, VertexFigureSpecs()) + ",\n";
    json += "  \"transitions\": " + List(figures.Transitions, TransitionFigureSpecs()) + "\n}\n";
    return json;
}

std::string SimReportJson(TEngine& engine, double warmUp, TRunStop stop) {
    TRunFigures figures;
    figures.Stop = stop;
    TakeFigures(engine, warmUp, figures);
    return SimReportJson(figures);
}

bool WriteHistoryFile(const std::filesystem::path& folder, const std::string& csv) {
    const std::filesystem::path path = folder / "history.csv";
    try {
        std::error_code error;
        std::filesystem::create_directories(folder, error);
        if (error) {
            std::cerr << "Історії не записано: не вдалося створити теку «" << folder.string()
                      << "»: " << SystemErrorText(error.value()) << '\n';
            return false;
        }
        ReplaceFile(path, csv); // its message names the file and the reason
        return true;
    } catch (const TEngineError& failure) {
        std::cerr << "Історії не записано. " << failure.what() << '\n';
    } catch (const std::bad_alloc&) {
        std::cerr << "Історії не записано у «" << path.string() << "»: забракло пам'яті\n";
    }
    return false;
}
