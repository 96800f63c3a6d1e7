// Plain 2D points and RGB colours shared by Shapes, curves and tilings.
#pragma once

struct Vec2 {
    float x = 0.0f;
    float y = 0.0f;
};

struct Colour {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
};

inline bool operator==(Vec2 a, Vec2 b) {
    return a.x == b.x && a.y == b.y;
}
inline bool operator==(Colour a, Colour b) {
    return a.r == b.r && a.g == b.g && a.b == b.b;
}

// A colour given as byte levels, as the production's palette is written.
constexpr Colour colourFromBytes(int r, int g, int b) {
    return {static_cast<float>(r) / 255.0f, static_cast<float>(g) / 255.0f,
            static_cast<float>(b) / 255.0f};
}
