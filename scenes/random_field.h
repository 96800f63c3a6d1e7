// The closing card's random-sources field computed on the processor, value for value as its
// fragment shader computes it, for renderers that draw in software: there the shader's fifty
// pairs a pixel cost several times what the processor's own vector lanes take.
#pragma once

#include <vector>

#include "shaders/shader_program.h"

constexpr int randomFieldWidth = 640;
constexpr int randomFieldHeight = 480;
constexpr int randomFieldPairs = 50;

// The field's value at every pixel centre, rows counted from the bottom as a window counts them:
// 0.66 moved, pair after pair, by 0.04 down where the pair's first point is nearer (on squared
// distances) and up otherwise, then clamped to [0, 1]; every step rounded in single precision as
// the shader rounds it. `x0`, `y0`, `x1`, `y1` hold the pairs' points in centred coordinates.
void computeRandomField(const float* x0, const float* y0, const float* x1, const float* y1,
                        std::vector<float>& field);

// The processor stage of the card's program in software: computes the field from the program's
// four registered arrays (x0, y0, x1, y1, in that order) and loads it into the float texture
// that the program reads on texture unit 0, made on the first call.
void loadRandomField(const ShaderProgram& program);
