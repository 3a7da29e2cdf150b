// Where a picture of a given size is drawn inside its box.
#pragma once

namespace tarvel {

struct Placement {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Placement&, const Placement&) = default;
};

// Proportional shrink (never enlarged, never stretched), truncated to whole pixels.
void FitProportional(int width, int height, int boxWidth, int boxHeight, int& drawnWidth,
                     int& drawnHeight);

// The task picture box: proportional and centred.
Placement PlaceCentred(int width, int height, int boxWidth, int boxHeight);

// The About photograph: proportional, at the box's top-left corner.
Placement PlaceTopLeft(int width, int height, int boxWidth, int boxHeight);

} // namespace tarvel
