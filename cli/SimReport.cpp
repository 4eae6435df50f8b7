#include "SimReport.h"

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
