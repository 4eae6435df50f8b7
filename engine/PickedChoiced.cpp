#include "PickedChoiced.h"

#include "EngineGraph.h"
#include "Fades.h"

namespace {

// Fades the object into its pick or choice colours (entering) or back to normal (leaving).
void FadeFor(const TEnginePickedChoicedEntry& entry, const TEngineGraph& g, bool choice, bool entering) {
    const TEngineGraphOptions& o = g.Options;
    const std::int32_t tick = g.FrameTime;
    switch (entry.Kind) {
    case okVertex: {
        auto& v = *static_cast<TVertex*>(entry.Object);
        const TVertexColors target = !entering ? TVertexColors{o.VertexAmbientColor, o.VertexAmbientColor1}
                                     : choice  ? TVertexColors{o.VertexChoiceColor, o.VertexChoiceColor1}
                                               : TVertexColors{o.VertexPickColor, o.VertexPickColor1};
        const std::int32_t length = choice ? (entering ? o.VertexChoiceOnDelay : o.VertexChoiceOffDelay)
                                           : (entering ? o.VertexPickOnDelay : o.VertexPickOffDelay);
        StartFade(v, tick, length, target);
        break;
    }
    case okTransition: {
        auto& t = *static_cast<TTransition*>(entry.Object);
        const TColor target = !entering ? o.TransitionAmbientColor
                              : choice  ? o.TransitionChoiceColor
                                        : o.TransitionPickColor;
        const std::int32_t length = choice ? (entering ? o.TransitionChoiceOnDelay : o.TransitionChoiceOffDelay)
                                           : (entering ? o.TransitionPickOnDelay : o.TransitionPickOffDelay);
        StartFade(t, tick, length, target);
        break;
    }
    case okConnection: {
        auto& c = *static_cast<TConnection*>(entry.Object);
        const TColor target = !entering ? o.ConnectionAmbientColor
                              : choice  ? o.ConnectionChoiceColor
                                        : o.ConnectionPickColor;
        const std::int32_t length = choice ? (entering ? o.ConnectionChoiceOnDelay : o.ConnectionChoiceOffDelay)
                                           : (entering ? o.ConnectionPickOnDelay : o.ConnectionPickOffDelay);
        StartFade(c, tick, length, target);
        break;
    }
    default:
        break;
    }
}

} // namespace

std::int32_t IndexOfObject(const TEnginePickedChoiced& list, const void* object) {
    for (std::size_t i = 0; i < list.Items.size(); ++i)
        if (list.Items[i].Object == object)
            return static_cast<std::int32_t>(i);
    return -1;
}

bool ContainsObject(const TEnginePickedChoiced& list, const void* object) {
    return IndexOfObject(list, object) >= 0;
}

void AddEntry(TEnginePickedChoiced& list, std::int32_t kind, void* object, const TEngineGraph& graph,
              bool isChoiceList, bool animate) {
    list.Items.push_back({kind, object});
    if (animate)
        FadeFor(list.Items.back(), graph, isChoiceList, true);
}

void RemoveEntryAt(TEnginePickedChoiced& list, std::int32_t index, bool animate, const TEngineGraph& graph,
                   bool isChoiceList) {
    if (animate)
        FadeFor(list.Items[index], graph, isChoiceList, false);
    list.Items[index] = list.Items.back();
    list.Items.pop_back();
}

bool RemoveObject(TEnginePickedChoiced& list, const void* object, const TEngineGraph* graph, bool isChoiceList,
                  bool animate) {
    const std::int32_t index = IndexOfObject(list, object);
    if (index < 0)
        return false;
    if (graph != nullptr)
        RemoveEntryAt(list, index, animate, *graph, isChoiceList);
    else {
        list.Items[index] = list.Items.back();
        list.Items.pop_back();
    }
    return true;
}
