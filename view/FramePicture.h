// A picture of the net for a report: the frame the canvas draws, on any painter (an image at a
// chosen scale, an SVG or a PDF), over the window's view or over the whole net. The editing aids
// (the outline of an object being created, the rubber band) are left out; objects keep the
// colours the canvas shows them in, so a chosen object stays in its chosen colour.
#pragma once

#include "Engine.h"

#include <QByteArray>
#include <QImage>
#include <QString>

#include <cstdint>
#include <optional>

class QPainter;

// What part of the model plane the picture covers.
enum class TPictureExtent {
    WholeNet,    // every object with a margin, at the window's zoom
    VisiblePart, // the window's current view, size and zoom
};

enum class TPictureFormat { Png, Svg, Pdf };

// The view of a picture: like the window's, a model point at the centre, a size in pixels and
// pixels per model unit.
struct TPictureView {
    std::int32_t CenterX = 0;
    std::int32_t CenterY = 0;
    std::int32_t Width = 0;
    std::int32_t Height = 0;
    double Scale = 1;
};

// Pixels of free space about the objects in a whole-net picture.
constexpr std::int32_t kPictureMargin = 20;
// The largest side of a picture in pixels (after the PNG scale), and the largest PNG in pixels.
constexpr std::int32_t kMaxPictureSide = 16000;
constexpr std::int64_t kMaxPicturePixels = 64LL * 1000 * 1000;

TPictureView VisiblePictureView(const TEngineGraph& graph);
// A view at `scale` (pixels per model unit) that holds every object, its texts and arrowheads
// included, with kPictureMargin pixels about them and room for the time line when it is shown.
// At a zoom where the net would be wider or taller than kMaxPictureSide the scale is lowered to
// fit. None for a net without objects.
std::optional<TPictureView> WholeNetPictureView(const TEngine& engine, double scale);
std::optional<TPictureView> PictureView(const TEngine& engine, TPictureExtent extent);

// Draws the frame of the view on the painter, whose device is view.Width x view.Height logical
// pixels at 96 dots per inch: background, grid, connections, vertices, transitions, time line and
// border, as the canvas does. The window's viewport is left as it was.
void DrawPicture(TEngine& engine, QPainter& painter, const TPictureView& view);

// The picture as an image of view.Width x view.Height pixels times `scale`.
QImage PictureImage(TEngine& engine, const TPictureView& view, double scale = 1);

// Whether a PNG of the view at the scale stays within the size limits.
bool IsPictureSizeAllowed(const TPictureView& view, double scale);

// The bytes of the picture file: a PNG at `pngScale`, an SVG with its size, view box and
// title, or a one-page PDF whose page is the picture's size, without margins.
QByteArray PictureBytes(TEngine& engine, const TPictureView& view, TPictureFormat format,
                        double pngScale, const QString& title);

// The format a file name asks for by its extension, in any letter case: ".svg", ".pdf", else PNG.
TPictureFormat PictureFormatOf(const QString& path);
