#include "Fades.h"

#include "Engine.h"
#include "NumberText.h"

namespace {

// Progress of a running fade at the tick, or a negative value when it is over (and ended).
template <typename Object> double FadeProgress(Object& object, std::int32_t tick) {
    const std::int64_t end = static_cast<std::int64_t>(object.FadeStart) + object.FadeDuration;
    if (object.IsFading && tick < end)
        return 1.0 - static_cast<double>(end - tick) / object.FadeDuration;
    object.IsFading = false;
    return -1;
}

template <typename Object> void BeginFade(Object& object, std::int32_t tick, std::int32_t length) {
    object.IsFading = true;
    object.FadeStart = tick;
    object.FadeDuration = length;
}

template <typename Object> bool FadeUnderWay(const Object& object, std::int32_t tick) {
    return object.IsFading &&
           tick < static_cast<std::int64_t>(object.FadeStart) + object.FadeDuration;
}

int Channel(TColor color, int shift) {
    return static_cast<int>((color >> shift) & 0xFF);
}

} // namespace

TColor MixColor(TColor from, TColor to, double progress) {
    TColor mixed = 0;
    for (int shift : {0, 8, 16}) {
        const int a = Channel(from, shift);
        const int b = Channel(to, shift);
        const int value = a + static_cast<int>(RoundHalfEven((b - a) * progress));
        mixed |= static_cast<TColor>(value & 0xFF) << shift;
    }
    return mixed;
}

TVertexColors FadeColor(TVertex& vertex, std::int32_t tick) {
    const double p = FadeProgress(vertex, tick);
    if (p < 0)
        return {vertex.LineColor, vertex.FillColor};
    return {MixColor(vertex.LineColorFrom, vertex.LineColor, p),
            MixColor(vertex.FillColorFrom, vertex.FillColor, p)};
}

TColor FadeColor(TTransition& transition, std::int32_t tick) {
    const double p = FadeProgress(transition, tick);
    return p < 0 ? transition.Color : MixColor(transition.FadeFromColor, transition.Color, p);
}

TColor FadeColor(TConnection& connection, std::int32_t tick) {
    const double p = FadeProgress(connection, tick);
    return p < 0 ? connection.Color : MixColor(connection.FadeFromColor, connection.Color, p);
}

void StartFade(TVertex& vertex, std::int32_t tick, std::int32_t length, TVertexColors target) {
    const TVertexColors now = FadeColor(vertex, tick);
    vertex.LineColorFrom = now.Line;
    vertex.FillColorFrom = now.Fill;
    BeginFade(vertex, tick, length);
    vertex.LineColor = target.Line;
    vertex.FillColor = target.Fill;
}

void StartFade(TTransition& transition, std::int32_t tick, std::int32_t length, TColor target) {
    transition.FadeFromColor = FadeColor(transition, tick);
    BeginFade(transition, tick, length);
    transition.Color = target;
}

void StartFade(TConnection& connection, std::int32_t tick, std::int32_t length, TColor target) {
    connection.FadeFromColor = FadeColor(connection, tick);
    BeginFade(connection, tick, length);
    connection.Color = target;
    connection.IsFlashing = false;
}

void StartFlash(TConnection& connection, const TEngineGraph& graph) {
    StartFade(connection, graph.FrameTime, graph.Options.ConnectionFlashOnDelay,
              graph.Options.ConnectionFlashColor);
    connection.IsFlashing = true;
}

void SettleConnectionColor(TConnection& connection, const TEngine& engine) {
    const std::int32_t frame = engine.Graph.FrameTime;
    if (static_cast<std::int64_t>(frame) <
        static_cast<std::int64_t>(connection.FadeStart) + connection.FadeDuration)
        return;
    const TEngineGraphOptions& o = engine.Graph.Options;
    TColor state = o.ConnectionAmbientColor;
    if (ContainsObject(engine.Choiced, &connection))
        state = o.ConnectionChoiceColor;
    else if (ContainsObject(engine.Picked, &connection))
        state = o.ConnectionPickColor;
    StartFade(connection, frame, o.ConnectionFlashOffDelay, state);
}

bool AnyFadeInProgress(const TEngine& engine, std::int32_t tick) {
    for (const auto& vertex : engine.Net.Vertices)
        if (FadeUnderWay(*vertex, tick) && (vertex->LineColorFrom != vertex->LineColor ||
                                            vertex->FillColorFrom != vertex->FillColor))
            return true;
    for (const auto& transition : engine.Net.Transitions)
        if (FadeUnderWay(*transition, tick) && transition->FadeFromColor != transition->Color)
            return true;
    for (const auto& connection : engine.Net.Connections)
        if (FadeUnderWay(*connection, tick) && connection->FadeFromColor != connection->Color)
            return true;
    return false;
}
