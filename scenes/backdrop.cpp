// The fault-line backdrop: its picture, rendered at build time in wide lanes on every core, and
// the draw callback that uploads it, shows it behind the Scene and spins it away at the end.
#include "scenes/backdrop.h"

#include "random/random.h"
#include "scenes/all_cores.h"
#include "scenes/vector_extensions.h"
#include "shapes/builders.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <future>
#include <stdexcept>
#include <system_error>

#include <emmintrin.h>

#include <GL/glew.h>

#include "audio/work_beside.h"
#include "clock/demo_clock.h"
#include "gfx/immediate.h"
#include "gfx/texture.h"
#include "shapes/route.h"

namespace {

constexpr float startIntensity = 167.0f;
constexpr float faultStep = 0.61818177f;
constexpr float maxIntensity = 255.0f;
constexpr float minIntensity = 0.0f;
constexpr int randomRange = 16383;
constexpr int bytesPerPixel = 4;

constexpr float leaveAfterSeconds = 25.0f;
constexpr float leaveDuration = 6.05f;
constexpr float quadDepth = 0.5f;

static struct {
    BackdropImage pixels;
    std::future<BackdropImage> rendering; // the picture while it is made beside the start-up
    GLuint texture = 0;
    float scale = 1.0f;
    float angle = 0.0f; // degrees
    std::uint32_t drawCalls = 0;
    DemoClock::Ticks firstDrawTicks = 0;
    Route angleRoute; // angle channel 0 -> 360
    Route scaleRoute; // y 1 -> 0
    bool routesMade = false;
    bool routesStarted = false;
} state;

// ---- The picture, as the rule is written ----

float pixelX(int column) {
    return static_cast<float>((column - backdropWidth / 2) / 320.0);
}

float pixelY(int row) {
    return static_cast<float>((backdropHeight / 2 - row) / 240.0);
}

float distanceTo(float x, float y, Vec2 point) {
    const float dx = x - point.x;
    const float dy = y - point.y;
    return static_cast<float>(std::sqrt(static_cast<double>(dx * dx + dy * dy)));
}

float stepIntensity(float intensity, bool darken) {
    const float moved = darken ? intensity - faultStep : intensity + faultStep;
    return std::max(std::min(moved, maxIntensity), minIntensity);
}

float exactIntensity(int row, int column, const std::vector<Vec2>& a, const std::vector<Vec2>& b) {
    const float x = pixelX(column);
    const float y = pixelY(row);
    float intensity = startIntensity;
    for (std::size_t k = 0; k < a.size(); ++k) {
        intensity = stepIntensity(intensity, distanceTo(x, y, b[k]) > distanceTo(x, y, a[k]));
    }
    return intensity;
}

void storeGrey(BackdropImage& image, int row, int column, float intensity) {
    const auto level = static_cast<std::uint8_t>(intensity); // truncation
    std::uint8_t* pixel =
        &image[(static_cast<std::size_t>(row) * backdropWidth + column) * bytesPerPixel];
    pixel[0] = level;
    pixel[1] = level;
    pixel[2] = level;
    pixel[3] = 255;
}

void requireMatchingSets(const std::vector<Vec2>& a, const std::vector<Vec2>& b) {
    if (a.size() != b.size()) {
        throw std::invalid_argument("backdrop point sets differ in size");
    }
}

// ---- The picture, fast ----
//
// Squared distances decide a pair without square roots. Both sums are non-negative floats, whose
// bit patterns order like their values, so their difference in units in the last place (ulps)
// is the difference of the patterns as integers.
// - B's sum not above A's: sqrt and every rounding keep order (never reverse it), so B's
//   distance is not above A's: the pixel lightens, as in the exact rule.
// - B's sum 8 or more ulps above A's: one ulp is more than 2^-24 of the value (for subnormal sums
//   below 2^-126 it is 2^-149, still more than 2^-23 of the value), so the sums differ by a
//   factor above 1 + 2^-21 and their roots by one above 1 + 2^-22.1. Rounding a root to double
//   and then to float moves it by at most 2^-24 + 2^-53 of itself, so the two rounded roots
//   together close a gap of at most about 2^-23: B's rounded distance stays strictly greater and
//   the pixel darkens, as in the exact rule. (A zero sum against a positive one is plainly
//   apart.)
// - 1 to 7 ulps: the rounded distances may tie, and a tie lightens. Such a close call marks its
//   column, and the tile's pixels in that column are redone exactly afterwards.
constexpr std::int32_t clearlyFartherUlps = 8;

// Per tile of rows and pair k: the squared y offsets of A[k] for each row, then those of B[k].
constexpr int tileRows = 4;
static_assert(backdropHeight % tileRows == 0, "tiles cover whole rows");
constexpr int tileCount = backdropHeight / tileRows;

struct PairColumns {
    std::vector<float> ax;
    std::vector<float> bx;
};

std::vector<float> rowTermsOfTile(int tile, const std::vector<Vec2>& a,
                                  const std::vector<Vec2>& b) {
    std::vector<float> terms(a.size() * 2 * tileRows);
    for (int r = 0; r < tileRows; ++r) {
        const float y = pixelY(tile * tileRows + r);
        for (std::size_t k = 0; k < a.size(); ++k) {
            const float dyA = y - a[k].y;
            const float dyB = y - b[k].y;
            terms[k * 2 * tileRows + r] = dyA * dyA;
            terms[k * 2 * tileRows + tileRows + r] = dyB * dyB;
        }
    }
    return terms;
}

// GCC vector types of 4, 8 and 16 float or int lanes (SSE2, AVX2 and AVX-512 registers).
template <int Lanes> struct LaneTypes;
template <> struct LaneTypes<4> {
    typedef float Floats __attribute__((vector_size(16)));
    typedef std::int32_t Ints __attribute__((vector_size(16)));
    typedef std::uint32_t Uints __attribute__((vector_size(16)));
};
template <> struct LaneTypes<8> {
    typedef float Floats __attribute__((vector_size(32)));
    typedef std::int32_t Ints __attribute__((vector_size(32)));
    typedef std::uint32_t Uints __attribute__((vector_size(32)));
};
template <> struct LaneTypes<16> {
    typedef float Floats __attribute__((vector_size(64)));
    typedef std::int32_t Ints __attribute__((vector_size(64)));
    typedef std::uint32_t Uints __attribute__((vector_size(64)));
};

// The clamp to [0, 255] after every pair, as std::max(std::min(v, 255), 0). The wide lanes
// clamp the bit patterns, which as signed integers order like the floats for every
// non-negative value and are negative for every negative one (integer min and max are cheap
// there); SSE2 has no 32-bit integer min or max but float ones. Both give +0 where the rule
// would keep a -0, which cannot arise (v - 0.61818177 is +0 when equal) and would step on alike.
template <typename Floats> [[gnu::always_inline]] inline void clampIntensity(Floats& intensity) {
    using Ints = decltype(intensity < intensity);
    const Ints bits = __builtin_bit_cast(Ints, intensity);
    const Ints ceiling = Ints{} + __builtin_bit_cast(std::int32_t, maxIntensity);
    const Ints capped = ceiling < bits ? ceiling : bits;
    intensity = __builtin_bit_cast(Floats, capped < 0 ? 0 : capped);
}

[[gnu::always_inline]] inline void clampIntensity(LaneTypes<4>::Floats& intensity) {
    intensity = _mm_max_ps(_mm_min_ps(intensity, _mm_set1_ps(maxIntensity)), _mm_setzero_ps());
}

// Which lanes met a close call (1 to 7 ulps) at any pair. The wide lanes keep the smallest
// ulps - 1 seen, taken unsigned so that ties and nearer B's wrap to huge values: one integer
// min per pair. SSE2 has no unsigned min; it ORs the lanes that are above 0 but not clearly.
template <int Lanes> struct CloseCallTracker {
    using Ints = typename LaneTypes<Lanes>::Ints;
    using Uints = typename LaneTypes<Lanes>::Uints;

    [[gnu::always_inline]] void note(const Ints& ulps, const Ints&) {
        const Uints fromOne = __builtin_bit_cast(Uints, ulps - 1);
        closestFromOne = fromOne < closestFromOne ? fromOne : closestFromOne;
    }
    [[gnu::always_inline]] bool lane(int index) const {
        return closestFromOne[index] < static_cast<std::uint32_t>(clearlyFartherUlps - 1);
    }

    Uints closestFromOne = Uints{} - 1u;
};

template <> struct CloseCallTracker<4> {
    using Ints = LaneTypes<4>::Ints;

    [[gnu::always_inline]] void note(const Ints& ulps, const Ints& bFarther) {
        seen |= (ulps > 0) ^ bFarther;
    }
    [[gnu::always_inline]] bool lane(int index) const { return seen[index] != 0; }

    Ints seen = Ints{};
};

// One tile: `tileRows` rows by `Lanes` columns, every pixel's whole chain of pairs in a lane.
// Written with GCC vector types and always inlined, so that each caller's instruction set
// decides the code; every operation is the exact IEEE operation of the rule (no contraction).
template <int Lanes>
[[gnu::always_inline]] inline void
shadeTile(int tile, int firstColumn, const PairColumns& pairs, const std::vector<float>& rowTerms,
          const std::vector<Vec2>& a, const std::vector<Vec2>& b, BackdropImage& image) {
    using Floats = typename LaneTypes<Lanes>::Floats;
    using Ints = typename LaneTypes<Lanes>::Ints;

    const Ints lighten = Ints{} + __builtin_bit_cast(std::int32_t, faultStep);
    const Ints signBit = Ints{} + INT32_MIN;

    Floats x;
    for (int lane = 0; lane < Lanes; ++lane) {
        x[lane] = pixelX(firstColumn + lane);
    }
    Floats intensity[tileRows];
    for (Floats& value : intensity) {
        value = Floats{} + startIntensity;
    }
    CloseCallTracker<Lanes> closeCalls;

    const std::size_t pairCount = pairs.ax.size();
    for (std::size_t k = 0; k < pairCount; ++k) {
        const Floats dxA = x - pairs.ax[k];
        const Floats dxB = x - pairs.bx[k];
        const Floats squareA = dxA * dxA;
        const Floats squareB = dxB * dxB;
        const float* terms = &rowTerms[k * 2 * tileRows];
#pragma GCC unroll 8
        for (int r = 0; r < tileRows; ++r) {
            const Floats sumA = squareA + terms[r];
            const Floats sumB = squareB + terms[tileRows + r];
            const Ints ulps = __builtin_bit_cast(Ints, sumB) - __builtin_bit_cast(Ints, sumA);
            const Ints bFarther = ulps >= clearlyFartherUlps;
            closeCalls.note(ulps, bFarther);
            const Floats step = __builtin_bit_cast(Floats, lighten ^ (bFarther & signBit));
            intensity[r] += step;
            clampIntensity(intensity[r]);
        }
    }

    for (int r = 0; r < tileRows; ++r) {
        const int row = tile * tileRows + r;
        for (int lane = 0; lane < Lanes; ++lane) {
            const int column = firstColumn + lane;
            storeGrey(image, row, column,
                      closeCalls.lane(lane) ? exactIntensity(row, column, a, b)
                                            : intensity[r][lane]);
        }
    }
}

struct RenderJob {
    const std::vector<Vec2>& a;
    const std::vector<Vec2>& b;
    PairColumns pairs;
    BackdropImage& image;
};

// Tiles first, first + stride, ...: the threads take interleaved tiles of equal cost.
template <int Lanes>
[[gnu::always_inline]] inline void shadeTiles(const RenderJob& job, int first, int stride) {
    static_assert(backdropWidth % Lanes == 0, "lanes cover whole rows");
    for (int tile = first; tile < tileCount; tile += stride) {
        const std::vector<float> rowTerms = rowTermsOfTile(tile, job.a, job.b);
        for (int column = 0; column < backdropWidth; column += Lanes) {
            shadeTile<Lanes>(tile, column, job.pairs, rowTerms, job.a, job.b, job.image);
        }
    }
}

void shadeTilesSse2(const RenderJob& job, int first, int stride) {
    shadeTiles<4>(job, first, stride);
}

[[gnu::target("avx2")]] void shadeTilesAvx2(const RenderJob& job, int first, int stride) {
    shadeTiles<8>(job, first, stride);
}

[[gnu::target("avx512f")]] void shadeTilesAvx512(const RenderJob& job, int first, int stride) {
    shadeTiles<16>(job, first, stride);
}

using TileShader = void (*)(const RenderJob&, int, int);

TileShader shaderFor(BackdropLanes lanes) {
    if (lanes == BackdropLanes::Widest) {
        lanes = backdropLanesSupported(BackdropLanes::Avx512) ? BackdropLanes::Avx512
                : backdropLanesSupported(BackdropLanes::Avx2) ? BackdropLanes::Avx2
                                                              : BackdropLanes::Sse2;
    }
    if (!backdropLanesSupported(lanes)) {
        throw std::invalid_argument("backdrop lane width not supported here");
    }
    switch (lanes) {
    case BackdropLanes::Avx512:
        return shadeTilesAvx512;
    case BackdropLanes::Avx2:
        return shadeTilesAvx2;
    default:
        return shadeTilesSse2;
    }
}

// ---- Drawing ----

// The picture once it is made.
const BackdropImage& finishedPixels() {
    if (state.rendering.valid()) {
        state.pixels = state.rendering.get();
    }
    return state.pixels;
}

void uploadTexture() {
    const BackdropImage& pixels = finishedPixels();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    state.texture = gfx::newNearestTexture(GL_REPEAT);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, backdropWidth, backdropHeight, 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, pixels.empty() ? nullptr : pixels.data());
}

// The image's columns run up the screen and its rows across it.
void drawTexturedQuad() {
    gfx::setTexture(state.texture);
    gfx::MatrixStack& matrices = gfx::modelview();
    matrices.push();
    matrices.scale(state.scale, state.scale, state.scale);
    matrices.rotate(state.angle, 0.0f, 0.0f, 1.0f);
    gfx::begin(gfx::Primitive::Quads);
    gfx::texCoord(0.0f, 0.0f);
    gfx::vertex(-1.0f, -1.0f, quadDepth);
    gfx::texCoord(0.0f, 1.0f);
    gfx::vertex(1.0f, -1.0f, quadDepth);
    gfx::texCoord(1.0f, 1.0f);
    gfx::vertex(1.0f, 1.0f, quadDepth);
    gfx::texCoord(1.0f, 0.0f);
    gfx::vertex(-1.0f, 1.0f, quadDepth);
    gfx::end();
    matrices.pop();
    gfx::setTexture(0);
}

// The values taken are those the routes held before this call's update, so what is drawn lags
// the routes by two calls: the first call past 25 s takes the routes' initial zeros and the
// next one draws the quad at scale 0, before it reappears at full size and starts to leave.
void followLeavingRoutes() {
    if (!state.routesMade) {
        state.angleRoute = Route({0.0f, 0.0f}, {0.0f, 0.0f}, 0.0f, 360.0f, leaveDuration);
        state.scaleRoute = Route({0.0f, 1.0f}, {0.0f, 0.0f}, 0.0f, 0.0f, leaveDuration);
        state.routesMade = true;
    }
    if (!state.routesStarted) {
        state.angleRoute.start();
        state.scaleRoute.start();
    }
    state.angle = state.angleRoute.currentAngle;
    state.scale = state.scaleRoute.currentY;
    // Updated on every call, also past their end: the scale then falls below 0 and is clamped.
    state.angleRoute.update();
    state.scaleRoute.update();
    state.scale = std::max(std::min(state.scale, 1.0f), 0.0f);
    state.routesStarted = true;
}

// The backdrop moves only from its draw callback.

} // namespace

std::vector<Vec2> randomPointSet() {
    std::vector<Vec2> points(backdropPointCount);
    const auto randomCoordinate = [] {
        const int r = Random::draw();
        return static_cast<float>(static_cast<double>(r % randomRange) / randomRange - 0.5);
    };
    for (Vec2& point : points) {
        point.x = randomCoordinate();
    }
    for (Vec2& point : points) {
        point.y = randomCoordinate();
    }
    return points;
}

bool backdropLanesSupported(BackdropLanes lanes) {
    switch (lanes) {
    case BackdropLanes::Avx512:
        return processorOffers(VectorExtension::Avx512);
    case BackdropLanes::Avx2:
        return processorOffers(VectorExtension::Avx2);
    default:
        return true; // SSE2 is part of every x86-64 processor, and WebAssembly's lanes are as wide
    }
}

BackdropImage renderBackdropImage(const std::vector<Vec2>& a, const std::vector<Vec2>& b,
                                  BackdropLanes lanes) {
    requireMatchingSets(a, b);
    const TileShader shader = shaderFor(lanes);
    BackdropImage image(static_cast<std::size_t>(backdropWidth) * backdropHeight * bytesPerPixel);
    RenderJob job{a, b, {}, image};
    for (const Vec2& point : a) {
        job.pairs.ax.push_back(point.x);
    }
    for (const Vec2& point : b) {
        job.pairs.bx.push_back(point.x);
    }
    onAllCores([&](int share, int shares) { shader(job, share, shares); });
    return image;
}

BackdropImage generateBackdropReference(const std::vector<Vec2>& a, const std::vector<Vec2>& b) {
    requireMatchingSets(a, b);
    BackdropImage image(static_cast<std::size_t>(backdropWidth) * backdropHeight * bytesPerPixel);
    for (int row = 0; row < backdropHeight; ++row) {
        for (int column = 0; column < backdropWidth; ++column) {
            storeGrey(image, row, column, exactIntensity(row, column, a, b));
        }
    }
    return image;
}

void generateBackdropTexture() {
    const std::vector<Vec2> a = randomPointSet();
    const std::vector<Vec2> b = randomPointSet();
    // The picture is first shown tens of seconds after the start, so it is made on a thread of
    // its own while the start-up goes on; where no thread can be started it is made when needed,
    // and where none runs beside the frames (the browser) it is made at once.
    const auto render = [a, b] { return renderBackdropImage(a, b); };
    try {
        state.rendering = std::async(besideLaunch(), render);
    } catch (const std::system_error&) {
        state.rendering = std::async(std::launch::deferred, render);
    }
    if (!threadsBeside()) {
        // Made now, behind "Please wait.", rather than in the middle of Scene 4.
        state.rendering.wait();
    }
}

const BackdropImage& backdropPixels() {
    return finishedPixels();
}

Shape makeBackdropShape() {
    return makeCallbackShape(drawBackdrop, keepStill, leaveAfterSeconds);
}

void drawBackdrop(Shape*) {
    const bool firstCall = state.drawCalls == 0;
    if (firstCall) {
        state.firstDrawTicks = DemoClock::now();
    }
    const float elapsed = DemoClock::secondsSince(state.firstDrawTicks);
    if (firstCall) {
        uploadTexture();
    } else {
        drawTexturedQuad();
    }
    if (elapsed > leaveAfterSeconds) {
        followLeavingRoutes();
    }
    ++state.drawCalls;
}
