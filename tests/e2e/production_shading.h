// The background shaders' colours worked out on the processor from their formulas, to hold the
// rendered pixels against. Where a shader's inputs (blob centres, gradients, clock) are not known
// outside the program, the test is what the formula fixes whatever those inputs are.
#pragma once

#include "production_pictures.h"

// Scene 3's Gaussian glow at a pixel, to within a byte.
bool showsGaussianGlow(Rgb pixel, int column, int row);

// Scene 2's radial blobs: blue gives the blobs' sum, which red and green must then show scaled
// by the smaller and larger window coordinate.
bool showsRadialBlobs(Rgb pixel, int column, int row);

// Scene 5's gradient-noise grid: red and green must show the same noise value through the sine
// of x and the cosine of y, and blue never falls below one half.
bool showsGradientNoise(Rgb pixel, int column, int row);

// Scene 6's random sources: a grey whose level is 0.66 moved by fifty votes of 0.04, clamped.
bool showsRandomSources(Rgb pixel, int column, int row);
