#include "core/placement.h"

namespace tarvel {

void FitProportional(int width, int height, int boxWidth, int boxHeight, int& drawnWidth,
                     int& drawnHeight) {
    if (width <= 0 || height <= 0 || boxWidth <= 0 || boxHeight <= 0) {
        drawnWidth = 0;
        drawnHeight = 0;
        return;
    }
    drawnWidth = width;
    drawnHeight = height;
    if (width <= boxWidth && height <= boxHeight) {
        return;
    }
    const double aspect = static_cast<double>(width) / height;
    if (width > height) {
        drawnWidth = boxWidth;
        drawnHeight = static_cast<int>(boxWidth / aspect);
        if (drawnHeight > boxHeight) {
            drawnHeight = boxHeight;
            drawnWidth = static_cast<int>(boxHeight * aspect);
        }
    } else {
        drawnHeight = boxHeight;
        drawnWidth = static_cast<int>(boxHeight * aspect);
        if (drawnWidth > boxWidth) {
            drawnWidth = boxWidth;
            drawnHeight = static_cast<int>(boxWidth / aspect);
        }
    }
}

Placement PlaceCentred(int width, int height, int boxWidth, int boxHeight) {
    Placement p;
    FitProportional(width, height, boxWidth, boxHeight, p.width, p.height);
    if (p.width == 0 || p.height == 0) {
        return {};
    }
    p.left = (boxWidth - p.width) / 2;
    p.top = (boxHeight - p.height) / 2;
    return p;
}

Placement PlaceTopLeft(int width, int height, int boxWidth, int boxHeight) {
    Placement p;
    FitProportional(width, height, boxWidth, boxHeight, p.width, p.height);
    if (p.width == 0 || p.height == 0) {
        return {};
    }
    return p;
}

} // namespace tarvel
