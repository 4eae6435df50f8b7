#include "ObjectFaces.h"

#include "Canvas.h"

#include <QPaintDevice>

#include <map>
#include <memory>
#include <tuple>

namespace {

// Glyphs this many device pixels high and more are drawn as outlines by plain text drawing.
constexpr double kLargestCachedGlyphPixels = 48;

struct TFaceKey {
    int PointSize;
    int DpiX;
    int DpiY;
    double PixelRatio;
    bool operator<(const TFaceKey& o) const {
        return std::tie(PointSize, DpiX, DpiY, PixelRatio) <
               std::tie(o.PointSize, o.DpiX, o.DpiY, o.PixelRatio);
    }
};

std::map<TFaceKey, std::unique_ptr<TObjectFace>>& Faces() {
    static std::map<TFaceKey, std::unique_ptr<TObjectFace>> faces;
    return faces;
}

std::size_t& TextsHeld() {
    static std::size_t count = 0;
    return count;
}

void ForgetTexts() {
    for (auto& [key, face] : Faces())
        face->Texts.clear();
    TextsHeld() = 0;
}

} // namespace

TObjectFace::TObjectFace(const QFont& font, const QPaintDevice* device)
    : Font(font), Metrics(font, device),
      DrawsLaidOut(font.pointSizeF() * (device ? device->logicalDpiY() : 96) / 72.0 *
                       (device ? device->devicePixelRatio() : 1) <
                   kLargestCachedGlyphPixels) {}

TFaceText& TObjectFace::Measured(const QString& text) {
    auto found = Texts.find(text);
    if (found != Texts.end())
        return *found;
    if (++TextsHeld() > kMaxFaceTexts) {
        ForgetTexts();
        TextsHeld() = 1;
    }
    TFaceText& entry = Texts[text];
    entry.Width = Metrics.horizontalAdvance(text);
    return entry;
}

const QStaticText& TObjectFace::Laid(const QString& text) {
    TFaceText& entry = Measured(text);
    if (!entry.Laid) {
        entry.Laid.emplace(text);
        entry.Laid->setTextFormat(Qt::PlainText);
    }
    return *entry.Laid;
}

TObjectFace& ObjectFace(int pointSize, const QPaintDevice* device) {
    const TFaceKey key{pointSize, device ? device->logicalDpiX() : 96,
                       device ? device->logicalDpiY() : 96,
                       device ? device->devicePixelRatio() : 1.0};
    auto& faces = Faces();
    auto found = faces.find(key);
    if (found == faces.end())
        found =
            faces.emplace(key, std::make_unique<TObjectFace>(ObjectFont(pointSize), device)).first;
    return *found->second;
}
