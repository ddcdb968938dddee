// Where a dialog goes over its reference area, in screen pixels. Pure
// arithmetic, so that placements can be worked out without windows.
#pragma once

struct ScreenArea {
    int left;
    int top;
    int right;
    int bottom;
};

struct DialogOrigin {
    int x;
    int y;
};

// Centred horizontally (shifted left by the caption-button width, less a
// third of it without a system menu) and a third of the way down; pushed back
// inside the right and bottom screen edges, but never clamped at the left or
// top.
DialogOrigin PlaceDialog(const ScreenArea& reference, int width, int height, int captionButtonWidth,
                         bool hasSystemMenu, int screenWidth, int screenHeight);
