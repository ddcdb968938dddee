#include "ui/DialogPlacement.h"

DialogOrigin PlaceDialog(const ScreenArea& reference, int width, int height, int captionButtonWidth,
                         bool hasSystemMenu, int screenWidth, int screenHeight)
{
    int shift = hasSystemMenu ? captionButtonWidth : captionButtonWidth - captionButtonWidth / 3;

    int freeWidth = (reference.right - reference.left) - width;
    if (freeWidth < 0)
        freeWidth = 0;
    int x = freeWidth / 2 + reference.left - shift;
    if (x + width > screenWidth) {
        x = screenWidth - width;
        if (x < 0)
            x = 0;
    }

    int freeHeight = (reference.bottom - reference.top) - height;
    if (freeHeight < 0)
        freeHeight = 0;
    int y = freeHeight / 3 + reference.top;
    if (y + height > screenHeight) {
        y = screenHeight - height;
        if (y < 0)
            y = 0;
    }
    return {x, y};
}
