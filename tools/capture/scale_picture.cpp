// Scaling the picture into a frame on the processor: whole rows at a time, built once per
// picture row and copied where the scaling repeats it.
#include "tools/capture/scale_picture.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// Fixed-point steps of a linear mix: weights in 1/256.
constexpr int weightOne = 256;

// The picture pixel under the centre of pixel `shown` of `shownLength` along one side.
int nearestSource(int shown, int shownLength, int sourceLength) {
    return static_cast<int>((2L * shown + 1) * sourceLength / (2L * shownLength));
}

// The two picture pixels around the centre of pixel `shown`, and the second one's weight.
struct Taps {
    int first, second, weight;
};

Taps linearTaps(int shown, int shownLength, int sourceLength) {
    // The centre in picture pixels, less half a pixel: 0 is the first pixel's centre. In
    // 1/256ths, rounded to the nearest.
    const long scaled =
        (static_cast<long>(2 * shown + 1) * sourceLength * weightOne + shownLength) /
            (2L * shownLength) -
        weightOne / 2;
    const long whole = scaled >= 0 ? scaled / weightOne : -1;
    const int weight = static_cast<int>(scaled - whole * weightOne);
    const auto clampTo = [sourceLength](long index) {
        return static_cast<int>(std::clamp<long>(index, 0, sourceLength - 1));
    };
    return {clampTo(whole), clampTo(whole + 1), weight};
}

// One frame row inside the picture's rectangle from picture rows `upper` and `lower` mixed by
// `lowerWeight` (256ths), the columns by `columns`.
void mixRow(const std::uint8_t* upper, const std::uint8_t* lower, int lowerWeight,
            const std::vector<Taps>& columns, std::uint8_t* out) {
    for (const Taps& column : columns) {
        for (int channel = 0; channel < 3; ++channel) {
            const int a = upper[column.first * 3 + channel] * (weightOne - column.weight) +
                          upper[column.second * 3 + channel] * column.weight;
            const int b = lower[column.first * 3 + channel] * (weightOne - column.weight) +
                          lower[column.second * 3 + channel] * column.weight;
            *out++ = static_cast<std::uint8_t>(
                (a * (weightOne - lowerWeight) + b * lowerWeight + weightOne * weightOne / 2) /
                (weightOne * weightOne));
        }
    }
}

} // namespace

RgbImage scalePicture(const RgbImage& picture, Size size, bool smooth) {
    const PixelRect shown = letterbox(size, {picture.width, picture.height});
    RgbImage frame{
        size.width, size.height,
        std::vector<std::uint8_t>(static_cast<std::size_t>(size.width) * size.height * 3)};
    const std::size_t frameRow = static_cast<std::size_t>(size.width) * 3;
    const std::size_t pictureRow = static_cast<std::size_t>(picture.width) * 3;
    const auto pictureRowAt = [&](int rowFromBottom) {
        return &picture.pixels[(picture.height - 1 - rowFromBottom) * pictureRow];
    };

    std::vector<int> nearestColumns(shown.width);
    std::vector<Taps> linearColumns(shown.width);
    for (int x = 0; x < shown.width; ++x) {
        nearestColumns[x] = nearestSource(x, shown.width, picture.width);
        linearColumns[x] = linearTaps(x, shown.width, picture.width);
    }
    // Rows are counted from the bottom, as a window's are, so that the frame is the window's.
    const std::uint8_t* previousSource = nullptr;
    for (int y = 0; y < shown.height; ++y) {
        std::uint8_t* out = &frame.pixels[(size.height - 1 - (shown.y + y)) * frameRow +
                                          static_cast<std::size_t>(shown.x) * 3];
        if (smooth) {
            const Taps row = linearTaps(y, shown.height, picture.height);
            mixRow(pictureRowAt(row.first), pictureRowAt(row.second), row.weight, linearColumns,
                   out);
            continue;
        }
        const std::uint8_t* source = pictureRowAt(nearestSource(y, shown.height, picture.height));
        if (source == previousSource) {
            std::memcpy(out, out + frameRow, static_cast<std::size_t>(shown.width) * 3);
            continue;
        }
        previousSource = source;
        for (const int column : nearestColumns) {
            std::memcpy(out, source + column * 3, 3);
            out += 3;
        }
    }
    return frame;
}
