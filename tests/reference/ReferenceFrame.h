// The frame drawn object by object with nothing skipped but what lies far outside the view and
// nothing reused between objects: the pixels the canvas must keep producing.
#pragma once

#include "Engine.h"
#include "Frame.h"

class QPainter;

void ReferenceDrawFrameOn(TEngine& engine, QPainter& canvas, TFrameAids aids);
