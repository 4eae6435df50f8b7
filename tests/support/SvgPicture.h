// Reading back an SVG a test wrote: rendered at its own size over a background, as a viewer
// would show it; a null image when the renderer cannot read it.
#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

inline QImage RenderSvg(const QByteArray& svg, const QColor& background) {
    QSvgRenderer renderer(svg);
    if (!renderer.isValid())
        return {};
    QImage drawn(renderer.defaultSize(), QImage::Format_RGB32);
    drawn.fill(background);
    QPainter painter(&drawn);
    renderer.render(&painter);
    return drawn;
}
