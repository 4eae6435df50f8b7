// The object font at each size a frame asks for, with the texts measured and laid out in it,
// kept from frame to frame: a still or running net shows the same names and numbers in every
// frame, and measuring and shaping them again is most of a frame's cost.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QStaticText>
#include <QString>

#include <cstddef>
#include <optional>

class QPaintDevice;

// A text measured in a face, laid out for drawing once it is first drawn.
struct TFaceText {
    int Width = 0;
    std::optional<QStaticText> Laid;
};

struct TObjectFace {
    QFont Font;
    QFontMetrics Metrics;
    QHash<QString, TFaceText> Texts;
    // Whether texts are drawn from their layouts. Qt draws glyphs of small fonts from its glyph
    // cache either way, and the two draw the same pixels; large glyphs it draws from the
    // cache only for laid-out texts and as outlines otherwise, and the pixels differ.
    bool DrawsLaidOut = false;

    TObjectFace(const QFont& font, const QPaintDevice* device);
    // The text's entry, measured when it is new.
    TFaceText& Measured(const QString& text);
    // The text laid out in the face for a painter with the font and transform of a frame.
    const QStaticText& Laid(const QString& text);
};

// The face of the object font of the size on a device of the device's resolution. The faces
// live as long as the program and are used by the thread that draws the frames. Every
// kMaxFaceTexts texts measured, all faces forget their texts, so that a net of any size holds
// a bounded memory.
TObjectFace& ObjectFace(int pointSize, const QPaintDevice* device);

constexpr std::size_t kMaxFaceTexts = 200000;
