// Where the 640x480 picture goes on a screen of another size: as large as it fits with its 4:3
// shape kept, centred, black bars on the two other sides.
#pragma once

struct Size {
    int width = 0;
    int height = 0;
};

struct PixelRect {
    int x = 0; // left column, counted from the left edge
    int y = 0; // bottom row, counted from the bottom edge as OpenGL counts windows
    int width = 0;
    int height = 0;
};

// The picture's rectangle on a target of `target` pixels, for a picture of `picture` pixels.
// Wider targets get bars left and right, taller ones above and below; an odd leftover pixel goes
// to the right or top bar. Sizes are whole pixels, so a 4:3 target is filled exactly.
constexpr PixelRect letterbox(Size target, Size picture) {
    const long long wide = static_cast<long long>(target.width) * picture.height;
    const long long tall = static_cast<long long>(target.height) * picture.width;
    PixelRect fit{0, 0, target.width, target.height};
    if (wide > tall) {
        fit.width = static_cast<int>(tall / picture.height);
    } else {
        fit.height = static_cast<int>(wide / picture.width);
    }
    fit.x = (target.width - fit.width) / 2;
    fit.y = (target.height - fit.height) / 2;
    return fit;
}
