// The GLSL texts of the background fragment shaders.
//
// Every fragment shader colours a fragment from its window position alone: st runs from 0 to 1
// over the 640x480 picture, origin bottom-left; the resolution is written in, not a uniform.
// Each text is the body of a fragment stage: the drawing layer puts the version line and the
// words of the GL flavour at hand in front of it (`fragColour`, `TEXTURE`).
#include "shaders/shader_sources.h"

// A 13x13 grid of cells with one gradient per lattice point, 13 per row, row 0 at the top.
// Corners of the bottom row of cells and the right end of the last row but one index past the
// 169 gradients; they wrap round to the start of the arrays instead of reading beyond them.
const char* const gradientNoiseFragmentSource = R"(uniform float gradient_x[169];
uniform float gradient_y[169];
uniform float u_time;

const float cells = 13.0;
const int gradientCount = 169;

// (d + 1) / 2 where d is the corner's gradient dotted with the way from the corner to st.
float cornerValue(vec2 st, float cx, float cy) {
    // cx and cy never pass 13, so one subtraction wraps the index (GLSL 1.20 has no %).
    int k = int(cells * cy + cx);
    if (k >= gradientCount) {
        k -= gradientCount;
    }
    vec2 gradient = vec2(gradient_x[k], gradient_y[k]);
    vec2 position = vec2(cx / cells, 1.0 - cy / cells);
    return (dot(gradient, st - position) + 1.0) / 2.0;
}

void main() {
    vec2 st = gl_FragCoord.xy / vec2(640.0, 480.0);
    float ix = floor(cells * st.x);
    float iy = floor(cells * (1.0 - st.y));

    float topLeft = clamp(cornerValue(st, ix, iy), 0.21, 1.0);
    float topRight = clamp(cornerValue(st, ix + 1.0, iy), 0.33, 1.0);
    float bottomRight = clamp(cornerValue(st, ix + 1.0, iy + 1.0), 0.25, 1.0);
    float bottomLeft = clamp(cornerValue(st, ix, iy + 1.0), 0.30, 1.0);

    float u = cells * st.x - ix;
    float v = cells * (1.0 - st.y) - iy;
    float val = (1.0 - u) * (1.0 - v) * topLeft + u * (1.0 - v) * topRight
              + u * v * bottomRight + (1.0 - u) * v * bottomLeft;
    val = clamp(val, 0.33, 1.0);

    fragColour = vec4(val * abs(sin(st.x)), val * abs(cos(st.y)),
                        clamp(val * abs(cos(u_time)), 0.5, 1.0), 1.0);
}
)";

// Three soft blobs in centred coordinates whose widths breathe with time.
const char* const radialBlobsFragmentSource = R"(uniform float center_x;
uniform float center_y;
uniform float center_x_1;
uniform float center_y_1;
uniform float center_x_2;
uniform float center_y_2;
uniform float u_time;

const float slowness = 0.5;

// The exponent takes the square root of the distance, which gives the blobs their sharp tips.
float rbf(vec2 p, vec2 centre, float width) {
    return exp(-width * sqrt(distance(p, centre)));
}

void main() {
    vec2 st = gl_FragCoord.xy / vec2(640.0, 480.0);
    vec2 p = st - vec2(0.5, 0.5);

    float g0 = 5.5 * abs(cos(u_time / slowness));
    float g1 = 4.5 * abs(sin(u_time / slowness));
    float g2 = 5.5 * abs(sin(u_time / slowness));

    float val = 0.33 * (rbf(p, vec2(center_x, center_y), g0)
                      + rbf(p, vec2(center_x_1, center_y_1), g1)
                      + rbf(p, vec2(center_x_2, center_y_2), g2));
    val = clamp(val, 0.41, 1.0);

    fragColour = vec4(min(st.x, st.y) * val, max(st.x, st.y) * val * 155.0 / 176.0,
                        val * 113.0 / 176.0, 1.0);
}
)";

// Fifty pairs of points in centred coordinates; each pair darkens the pixels nearer its first
// point and lightens the others, ties included.
const char* const randomSourcesFragmentSource = R"(uniform float random_x_0[50];
uniform float random_y_0[50];
uniform float random_x_1[50];
uniform float random_y_1[50];

const float vote = 0.66 / (50.0 * 0.33);

void main() {
    vec2 st = gl_FragCoord.xy / vec2(640.0, 480.0);
    vec2 p = st - vec2(0.5, 0.5);

    // The nearer point is decided on squared distances, which saves two square roots a pair;
    // it differs from comparing the distances only where two different squares round to the
    // same distance.
    float val = 0.66;
    for (int i = 0; i < 50; i++) {
        vec2 to0 = p - vec2(random_x_0[i], random_y_0[i]);
        vec2 to1 = p - vec2(random_x_1[i], random_y_1[i]);
        if (dot(to0, to0) < dot(to1, to1)) {
            val -= vote;
        } else {
            val += vote;
        }
    }
    val = clamp(val, 0.0, 1.0);

    fragColour = vec4(val, val, val, 1.0);
}
)";

// The random-sources field computed on the processor (a software renderer's fastest way to it):
// each fragment takes its pixel's value from the field, a float texture of the window's size.
const char* const randomFieldFragmentSource = R"(uniform sampler2D field;

void main() {
    float val = TEXTURE(field, gl_FragCoord.xy / vec2(640.0, 480.0)).r;
    fragColour = vec4(val, val, val, 1.0);
}
)";

// A fixed warm glow: a Gaussian of amplitude 2 and deviation 0.25 on both axes, cut to
// [0.5, 1], so the middle of the screen is saturated.
const char* const gaussianGlowFragmentSource = R"(const float amplitude = 2.0;
const float deviation = 0.25;

void main() {
    vec2 st = gl_FragCoord.xy / vec2(640.0, 480.0);
    vec2 q = vec2(st.x - 0.5, 0.5 - st.y);

    float spread = 2.0 * deviation * deviation;
    float val = amplitude * exp(-(q.x * q.x / spread + q.y * q.y / spread));
    val = clamp(val, 0.5, 1.0);

    fragColour = vec4(val, val * 123.0 / 162.0, val * 92.0 / 162.0, 1.0);
}
)";
