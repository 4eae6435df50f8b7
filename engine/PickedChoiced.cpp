#include "PickedChoiced.h"

#include "EngineGraph.h"
#include "Fades.h"

namespace {

// Fades the object into its pick or choice colours (entering) or back to normal (leaving).
void FadeFor(TObjectRef object, const TEngineGraph& g, TListRole role, bool entering) {
    const TEngineGraphOptions& o = g.Options;
    const std::int32_t tick = g.FrameTime;
    const bool choice = role == TListRole::Chosen;
    switch (object.Kind()) {
    case okVertex: {
        TVertex& v = *object.Vertex();
        const TVertexColors target =
            !entering ? TVertexColors{o.VertexAmbientColor, o.VertexAmbientColor1}
            : choice  ? TVertexColors{o.VertexChoiceColor, o.VertexChoiceColor1}
                      : TVertexColors{o.VertexPickColor, o.VertexPickColor1};
        const std::int32_t length =
            choice ? (entering ? o.VertexChoiceOnDelay : o.VertexChoiceOffDelay)
                   : (entering ? o.VertexPickOnDelay : o.VertexPickOffDelay);
        StartFade(v, tick, length, target);
        break;
    }
    case okTransition: {
        TTransition& t = *object.Transition();
        const TColor target = !entering ? o.TransitionAmbientColor
                              : choice  ? o.TransitionChoiceColor
                                        : o.TransitionPickColor;
        const std::int32_t length =
            choice ? (entering ? o.TransitionChoiceOnDelay : o.TransitionChoiceOffDelay)
                   : (entering ? o.TransitionPickOnDelay : o.TransitionPickOffDelay);
        StartFade(t, tick, length, target);
        break;
    }
    case okConnection: {
        TConnection& c = *object.Connection();
        const TColor target = !entering ? o.ConnectionAmbientColor
                              : choice  ? o.ConnectionChoiceColor
                                        : o.ConnectionPickColor;
        const std::int32_t length =
            choice ? (entering ? o.ConnectionChoiceOnDelay : o.ConnectionChoiceOffDelay)
                   : (entering ? o.ConnectionPickOnDelay : o.ConnectionPickOffDelay);
        StartFade(c, tick, length, target);
        break;
    }
    default:
        break;
    }
}

} // namespace

std::int32_t IndexOfObject(const TEnginePickedChoiced& list, TObjectRef object) {
    for (std::size_t i = 0; i < list.Items.size(); ++i)
        if (list.Items[i] == object)
            return static_cast<std::int32_t>(i);
    return -1;
}

bool ContainsObject(const TEnginePickedChoiced& list, TObjectRef object) {
    return IndexOfObject(list, object) >= 0;
}

void AddEntry(TEnginePickedChoiced& list, TObjectRef object, const TEngineGraph& graph,
              TListRole role, TFade fade) {
    list.Items.push_back(object);
    if (fade == TFade::Animate)
        FadeFor(list.Items.back(), graph, role, true);
}

void RemoveEntryAt(TEnginePickedChoiced& list, std::int32_t index, const TEngineGraph& graph,
                   TListRole role, TFade fade) {
    if (fade == TFade::Animate)
        FadeFor(list.Items[index], graph, role, false);
    list.Items[index] = list.Items.back();
    list.Items.pop_back();
}

bool RemoveObject(TEnginePickedChoiced& list, TObjectRef object, const TEngineGraph* graph,
                  TListRole role, TFade fade) {
    const std::int32_t index = IndexOfObject(list, object);
    if (index < 0)
        return false;
    if (graph != nullptr)
        RemoveEntryAt(list, index, *graph, role, fade);
    else {
        list.Items[index] = list.Items.back();
        list.Items.pop_back();
    }
    return true;
}
