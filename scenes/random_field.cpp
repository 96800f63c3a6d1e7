// The random-sources field on the processor: rows shared between the cores, each row's pixels
// going through the vector lanes the processor has, pair after pair in the shader's order.
#include "scenes/random_field.h"

#include <algorithm>

#include <GL/glew.h>

#include "gfx/texture.h"
#include "scenes/all_cores.h"
#include "scenes/vector_extensions.h"

namespace {

static struct {
    std::vector<float> field;
    GLuint texture = 0;
} state;

// The constants as the shader folds them: in single precision.
const float startValue = 0.66f;
const float vote = 0.66f / (50.0f * 0.33f);

struct Pairs {
    const float *x0, *y0, *x1, *y1;
};

// One row: the pixel centres' x in centred coordinates, then the votes added in pair order.
[[gnu::always_inline]] inline void computeRow(int row, const Pairs& pairs, float* values) {
    float x[randomFieldWidth];
    for (int column = 0; column < randomFieldWidth; ++column) {
        x[column] = (static_cast<float>(column) + 0.5f) / 640.0f - 0.5f;
        values[column] = startValue;
    }
    const float y = (static_cast<float>(row) + 0.5f) / 480.0f - 0.5f;
    for (int i = 0; i < randomFieldPairs; ++i) {
        // dot(to, to) sums x * x and y * y in that order; the y terms are the row's own.
        const float toFirstY = y - pairs.y0[i], toSecondY = y - pairs.y1[i];
        const float firstY = toFirstY * toFirstY, secondY = toSecondY * toSecondY;
        const float firstX = pairs.x0[i], secondX = pairs.x1[i];
        for (int column = 0; column < randomFieldWidth; ++column) {
            const float toFirst = x[column] - firstX, toSecond = x[column] - secondX;
            const bool firstNearer = toFirst * toFirst + firstY < toSecond * toSecond + secondY;
            values[column] += firstNearer ? -vote : vote;
        }
    }
    for (int column = 0; column < randomFieldWidth; ++column) {
        values[column] = std::min(std::max(values[column], 0.0f), 1.0f);
    }
}

// computeRow compiled twice, for AVX2 and for every x86-64 processor, and chosen at run time:
// the same operations in the same order, so the same values either way.
using RowFunction = void (*)(int, const Pairs&, float*);

[[gnu::target("avx2")]] void computeRowAvx2(int row, const Pairs& pairs, float* values) {
    computeRow(row, pairs, values);
}

void computeRowBaseline(int row, const Pairs& pairs, float* values) {
    computeRow(row, pairs, values);
}

RowFunction widestComputeRow() {
    return processorOffers(VectorExtension::Avx2) ? computeRowAvx2 : computeRowBaseline;
}

void makeTexture() {
    state.texture = gfx::newNearestTexture(GL_REPEAT);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_R32F, randomFieldWidth, randomFieldHeight, 0, GL_RED,
                 GL_FLOAT, nullptr);
}

} // namespace

void computeRandomField(const float* x0, const float* y0, const float* x1, const float* y1,
                        std::vector<float>& field) {
    field.resize(static_cast<std::size_t>(randomFieldWidth) * randomFieldHeight);
    const Pairs pairs{x0, y0, x1, y1};
    static const RowFunction computeRowHere = widestComputeRow();
    onAllCores([&](int share, int shares) {
        for (int row = share; row < randomFieldHeight; row += shares) {
            computeRowHere(row, pairs, &field[static_cast<std::size_t>(row) * randomFieldWidth]);
        }
    });
}

void loadRandomField(const ShaderProgram& program) {
    const std::vector<float*>& arrays = program.arrayUniforms;
    computeRandomField(arrays[0], arrays[1], arrays[2], arrays[3], state.field);
    if (state.texture == 0) {
        makeTexture();
    }
    glBindTexture(GL_TEXTURE_2D, state.texture);
    glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, randomFieldWidth, randomFieldHeight, GL_RED, GL_FLOAT,
                    state.field.data());
}
