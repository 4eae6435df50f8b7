#include "ResultsCsv.h"

#include "CsvText.h"
#include "RunFigures.h"

bool HasMonitoredObjects(const TEngine& engine) {
    for (const auto& vertex : engine.Net.Vertices)
        if (vertex->IsMonitoring)
            return true;
    for (const auto& transition : engine.Net.Transitions)
        if (transition->IsMonitoring)
            return true;
    return false;
}

std::string ResultsCsv(TEngine& engine, double warmUp) {
    TRunFigures figures;
    TakeFigures(engine, warmUp, figures);
    std::string csv = "kind,object,statistic,value\n";
    for (const bool isVertex : {true, false}) {
        const auto specs = isVertex ? VertexFigureSpecs() : TransitionFigureSpecs();
        const char* const kind = isVertex ? "vertex," : "transition,";
        for (const TObjectFigures& object : isVertex ? figures.Vertices : figures.Transitions) {
            if (!object.Monitoring)
                continue;
            const std::string name = CsvField(object.Name);
            for (std::size_t f = 0; f < specs.size(); ++f)
                csv += kind + name + "," + specs[f].Key + "," +
                       CsvFigure(object.Values[f], specs[f].Kind) + "\n";
        }
    }
    return csv;
}
