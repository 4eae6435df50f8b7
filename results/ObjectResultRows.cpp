#include "ObjectResultRows.h"

#include "DelayLawNames.h"
#include "LaunchBuffer.h"
#include "NumberText.h"
#include "Statistics.h"
#include "TextCodec.h"

namespace {

const char* const kAbsent = "<Відсутнє>";

std::vector<TResultRow> VertexRows(const TEngine& e, const TVertex& v) {
    std::vector<TResultRow> rows = {{"Вершина", Win1251ToUtf8(v.Name)},
                                    {"Маркування", std::to_string(v.Marking)},
                                    {"", "", true},
                                    {"Мін. маркування", ""},
                                    {"Макс. маркування", ""},
                                    {"Серед. маркування", ""},
                                    {"Серед. очікування", ""}};
    if (!v.IsMonitoring)
        return rows;
    const TVertexStats s = VertexWindowStats(v, e.WarmUpInterval, e.Net.ModelTime);
    if (!s.Success)
        return rows;
    rows[3].Value = std::to_string(s.MinMarking);
    rows[4].Value = std::to_string(s.MaxMarking);
    rows[5].Value = FloatToText("0.000000", s.Mean);
    rows[6].Value = s.MeanWait < 0 ? kAbsent : FloatToText("0.000000", s.MeanWait);
    return rows;
}

std::vector<TResultRow> TransitionRows(const TEngine& e, const TTransition& t) {
    const bool deviation = t.DelayType == dtUniform || t.DelayType == dtNormal;
    std::vector<TResultRow> rows = {{"Перехід", Win1251ToUtf8(t.Name)},
                                    {"Тип затримки", kDelayTypeTexts[t.DelayType & 3]},
                                    {"Затримка", FloatToText("", t.Delay)},
                                    {"Відхилення", deviation ? FloatToText("", t.Deviation) : ""},
                                    {"Буфер запусків", std::to_string(BufferCount(t.LaunchBuffer))},
                                    {"Пріоритет", std::to_string(t.Priority)},
                                    {"Вага", FloatToText("", t.Weight)},
                                    {"", "", true},
                                    {"Мін. знач. буферу", ""},
                                    {"Макс. знач. буферу", ""},
                                    {"Серед. знач. буферу", ""},
                                    {"Завантаженість", ""},
                                    {"Завантаженість(%)", ""}};
    if (!t.IsMonitoring)
        return rows;
    const TTransitionStats s = TransitionWindowStats(t, e.WarmUpInterval, e.Net.ModelTime, true);
    if (!s.Success)
        return rows;
    rows[8].Value = std::to_string(s.MinBuffer);
    rows[9].Value = std::to_string(s.MaxBuffer);
    rows[10].Value = FloatToText("0.000000", s.Mean);
    rows[11].Value = s.Busy < 0 ? kAbsent : FloatToText("", s.Busy);
    rows[12].Value = s.Busy < 0 ? kAbsent : FloatToText("0.000", s.BusyPercent) + "%";
    return rows;
}

} // namespace

std::vector<TResultRow> ObjectResultRows(const TEngine& e) {
    if (e.Choiced.Items.size() != 1)
        return {TResultRow{}};
    const TObjectRef& entry = e.Choiced.Items[0];
    switch (entry.Kind()) {
    case okVertex:
        return VertexRows(e, *entry.Vertex());
    case okTransition:
        return TransitionRows(e, *entry.Transition());
    case okConnection: {
        const TConnection& c = *entry.Connection();
        return {{"Зв'язок", ""},
                {"Кількість ліній",
                 c.UseFunction ? Win1251ToUtf8(c.Formula) : std::to_string(c.Count)}};
    }
    default:
        return {TResultRow{}};
    }
}
