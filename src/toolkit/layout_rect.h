// A rectangle of a layout: its top left corner and its size, in pixels.
#pragma once

struct LayoutRect {
    int left, top, width, height;
};
