// The fault-line backdrop of the credits Scene: a grey image cut by random straight faults, shown
// on a full-screen quad behind everything that spins once and shrinks away in the last seconds.
#pragma once

#include <cstdint>
#include <vector>

#include "shapes/geometry.h"
#include "shapes/shape.h"

constexpr int backdropWidth = 320;
constexpr int backdropHeight = 240;
constexpr int backdropPointCount = 1250;

// An RGBA image, row after row, row 0 at the top (y = 0.5).
using BackdropImage = std::vector<std::uint8_t>;

// 1250 points in [-0.5, 0.5)^2 from the random sequence: first every x, then every y, each
// (Random::draw() mod 16383) / 16383 - 0.5. Draws exactly 2500 random numbers.
std::vector<Vec2> randomPointSet();

// Lane widths of renderBackdropImage: the widest one the processor supports, or one by name.
enum class BackdropLanes { Widest, Sse2, Avx2, Avx512 };

// Whether this processor (and its operating system) can run the given lane width.
bool backdropLanesSupported(BackdropLanes lanes);

// The backdrop picture for the point pairs (a[k], b[k]), a and b of equal size: every pixel
// starts at 167 and, pair after pair, darkens by 0.61818177 where b[k] is strictly farther than
// a[k] and lightens otherwise, clamped to [0, 255] after every pair. Rows are shared between
// threads and pixels go through wide lanes; the bytes equal those of generateBackdropReference.
// Throws std::invalid_argument for sets of different sizes or an unsupported lane width.
BackdropImage renderBackdropImage(const std::vector<Vec2>& a, const std::vector<Vec2>& b,
                                  BackdropLanes lanes = BackdropLanes::Widest);

// The same picture, one pixel and one pair at a time with the distances taken exactly as the
// rule is written: the yardstick for renderBackdropImage. Too slow for start-up (~0.4 s).
BackdropImage generateBackdropReference(const std::vector<Vec2>& a, const std::vector<Vec2>& b);

// Draws point set A, then point set B (5000 random numbers in all) and starts rendering the
// backdrop's pixels from them on a thread of their own, ready for drawBackdrop to upload.
void generateBackdropTexture();

// The pixels the last generateBackdropTexture call made, once they are finished (empty before).
const BackdropImage& backdropPixels();

// The backdrop as a callback Shape: drawn by drawBackdrop, an update that does nothing, param
// 25.0 (the leaving time, kept for the record; the callback does not read it).
Shape makeBackdropShape();

// The backdrop Shape's draw callback. The first call uploads the texture and draws nothing; later
// calls draw the textured quad at z = 0.5 (the picture transposed). From 25 s after the first
// call on, it turns once and shrinks to nothing over 6.05 s, two calls behind its routes.
void drawBackdrop(Shape* shape);
