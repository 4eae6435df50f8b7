// The off-screen image that the engine's graph holds for the back and the front frame.
#pragma once

#include <QImage>

struct TFrameImage {
    QImage Image;
};

// An image of the size, at 96 dots per inch so that font sizes in points mean the same pixels
// everywhere.
QImage MakeFrameImage(int width, int height);
