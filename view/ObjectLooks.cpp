#include "ObjectLooks.h"

#include "Fades.h"
#include "Geometry.h"
#include "LaunchBuffer.h"
#include "ObjectDrawing.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <functional>
#include <string_view>

namespace {

// Mixes values into a 64-bit fingerprint; a change of any value changes it but for chance
// collisions of one in 2^64.
class TLookHash {
public:
    TLookHash& Add(std::uint64_t value) {
        State = Mix(State ^ (value + 0x9e3779b97f4a7c15ULL + (State << 6) + (State >> 2)));
        return *this;
    }
    TLookHash& Add(std::int32_t value) { return Add(static_cast<std::uint64_t>(value)); }
    TLookHash& Add(bool value) { return Add(static_cast<std::uint64_t>(value)); }
    TLookHash& Add(double value) { return Add(std::bit_cast<std::uint64_t>(value)); }
    TLookHash& Add(const std::string& text) {
        Add(static_cast<std::uint64_t>(text.size()));
        return Add(static_cast<std::uint64_t>(std::hash<std::string_view>{}(text)));
    }
    TLookHash& Add(TPoint p) { return Add(p.X).Add(p.Y); }
    // Never kUnseenLook.
    std::uint64_t Value() const { return State == kUnseenLook ? 1 : State; }

private:
    static std::uint64_t Mix(std::uint64_t z) {
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    std::uint64_t State = 0x5bd1e995ULL;
};

// Whether a connection lies surely too far from the view to be drawn, told from the places
// and sizes of its vertex and transition without working out its ends: the ends lie within
// the vertex's circle and the transition's box (grown by the vertex's radius, which bounds the
// shift of a connection beside its partner), and a segment within a box that misses the view's
// margins misses them too.
bool SurelyFarFromView(const TConnection& c, const TEngineGraph& g) {
    const TVertex& v = *c.Vertex;
    const TTransition& t = *c.Transition;
    const std::int64_t radius = std::abs(static_cast<std::int64_t>(v.Radius)) + 2;
    const std::int64_t across = std::abs(static_cast<std::int64_t>(t.Width)) + 2;
    const std::int64_t up = std::abs(static_cast<std::int64_t>(t.Height)) + radius;
    const std::int64_t left = std::min<std::int64_t>(v.X - radius, t.X - across);
    const std::int64_t right = std::max<std::int64_t>(v.X + radius, t.X + across);
    const std::int64_t top = std::min<std::int64_t>(v.Y - radius, t.Y - up);
    const std::int64_t bottom = std::max<std::int64_t>(v.Y + radius, t.Y + up);
    return right < g.VisibleLeft - 801LL || left > g.VisibleRight + 801LL ||
           bottom < g.VisibleTop - 801LL || top > g.VisibleBottom + 501LL;
}

} // namespace

std::uint64_t VertexLook(TVertex& v, const TEngineGraph& g) {
    if (!VertexNearView(v, g))
        return kUnseenLook;
    const TVertexColors colors = FadeColor(v, g.FrameTime);
    TLookHash look;
    look.Add(v.X).Add(v.Y).Add(v.Radius).Add(v.LineWidth).Add(v.NameFontSize);
    look.Add(v.MarkFontSize).Add(v.Name).Add(v.Marking);
    look.Add(static_cast<std::uint64_t>(colors.Line)).Add(static_cast<std::uint64_t>(colors.Fill));
    return look.Value();
}

std::uint64_t TransitionLook(TTransition& t, const TEngineGraph& g) {
    if (!TransitionNearView(t, g))
        return kUnseenLook;
    const TColor color = FadeColor(t, g.FrameTime);
    TLookHash look;
    look.Add(t.X).Add(t.Y).Add(t.Width).Add(t.Height).Add(t.NameFontSize).Add(t.DelayFontSize);
    look.Add(t.Name).Add(static_cast<std::int32_t>(t.DelayType)).Add(t.Delay).Add(t.Deviation);
    look.Add(BufferCount(t.LaunchBuffer)).Add(static_cast<std::uint64_t>(color));
    return look.Value();
}

std::uint64_t ConnectionLook(TConnection& c, TEngine& engine) {
    if (SurelyFarFromView(c, engine.Graph))
        return kUnseenLook;
    const TConnectionEnds ends = ConnectionEnds(c);
    if (!ConnectionNearView(ends, engine.Graph))
        return kUnseenLook;
    SettleConnectionColor(c, engine);
    const TColor color = FadeColor(c, engine.Graph.FrameTime);
    TLookHash look;
    look.Add(ends.P1).Add(ends.P2).Add(c.Width).Add(c.Width1).Add(c.Height1).Add(c.Count);
    look.Add(c.UseFunction).Add(c.IsInform).Add(c.CountFontSize).Add(c.Formula);
    look.Add(static_cast<std::uint64_t>(color));
    return look.Value();
}
