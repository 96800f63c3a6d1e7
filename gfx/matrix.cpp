// The matrix arithmetic, term for term in the order the fixed-function pipeline summed it.
#include "gfx/matrix.h"

#include <cmath>

namespace gfx {

Mat4 multiply(const Mat4& a, const Mat4& b) {
    Mat4 product;
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            product.m[column * 4 + row] =
                a.at(row, 0) * b.at(0, column) + a.at(row, 1) * b.at(1, column) +
                a.at(row, 2) * b.at(2, column) + a.at(row, 3) * b.at(3, column);
        }
    }
    return product;
}

std::array<float, 4> transformPoint(const Mat4& a, float x, float y, float z) {
    std::array<float, 4> out{};
    for (int row = 0; row < 4; ++row) {
        out[row] = a.at(row, 0) * x + a.at(row, 1) * y + a.at(row, 2) * z + a.at(row, 3);
    }
    return out;
}

std::array<float, 9> normalMatrix(const Mat4& a) {
    // Cofactors of the 3x3 block; the inverse's transpose is the cofactor matrix over the
    // determinant.
    const auto e = [&a](int r, int c) { return a.at(r, c); };
    std::array<float, 9> cofactor{}; // row-major: cofactor[r * 3 + c]
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            const int r1 = (r + 1) % 3, r2 = (r + 2) % 3, c1 = (c + 1) % 3, c2 = (c + 2) % 3;
            cofactor[r * 3 + c] = e(r1, c1) * e(r2, c2) - e(r1, c2) * e(r2, c1);
        }
    }
    const float determinant = e(0, 0) * cofactor[0] + e(0, 1) * cofactor[1] + e(0, 2) * cofactor[2];
    if (determinant == 0.0f) {
        return {1, 0, 0, 0, 1, 0, 0, 0, 1};
    }
    for (float& value : cofactor) {
        value /= determinant;
    }
    return cofactor;
}

Mat4 translated(const Mat4& a, float x, float y, float z) {
    Mat4 out = a;
    for (int row = 0; row < 4; ++row) {
        out.m[12 + row] = a.m[row] * x + a.m[4 + row] * y + a.m[8 + row] * z + a.m[12 + row];
    }
    return out;
}

Mat4 scaled(const Mat4& a, float x, float y, float z) {
    Mat4 out = a;
    for (int row = 0; row < 4; ++row) {
        out.m[row] *= x;
        out.m[4 + row] *= y;
        out.m[8 + row] *= z;
    }
    return out;
}

namespace {

// The sine and cosine of x radians (|x| well under 10^5) to about a unit in the last place of a
// double, by the same arithmetic on every platform: the C libraries' own differ in their last
// bits, and rounded to float such a bit moves a vertex. The turn is reduced by pi/2 in two
// parts and the rest taken by the classic minimax polynomials on [-pi/4, pi/4].
void sineAndCosine(double x, double& sine, double& cosine) {
    constexpr double twoOverPi = 6.36619772367581382433e-01;
    constexpr double halfPiHigh = 1.57079632673412561417e+00; // pi/2 to 33 bits
    constexpr double halfPiLow = 6.07710050650619224932e-11;  // the rest of pi/2
    const double quadrant = std::nearbyint(x * twoOverPi);
    const double r = (x - quadrant * halfPiHigh) - quadrant * halfPiLow;
    const double z = r * r;
    const double s =
        r +
        r * z *
            (-1.66666666666666324348e-01 +
             z * (8.33333333332248946124e-03 +
                  z * (-1.98412698298579493134e-04 +
                       z * (2.75573137070700676789e-06 +
                            z * (-2.50507602534068634195e-08 + z * 1.58969099521155010221e-10)))));
    const double c =
        1.0 - 0.5 * z +
        z * z *
            (4.16666666666666019037e-02 +
             z * (-1.38888888888741095749e-03 +
                  z * (2.48015872894767294178e-05 +
                       z * (-2.75573143513906633035e-07 +
                            z * (2.08757232129817482790e-09 + z * -1.13596475577881948265e-11)))));
    switch (static_cast<long long>(quadrant) & 3) {
    case 0:
        sine = s, cosine = c;
        break;
    case 1:
        sine = c, cosine = -s;
        break;
    case 2:
        sine = -s, cosine = -c;
        break;
    default:
        sine = -c, cosine = s;
        break;
    }
}

} // namespace

Mat4 rotated(const Mat4& a, float angleDegrees, float x, float y, float z) {
    // The angle is turned into radians in double and narrowed, as the fixed-function pipeline
    // did, and its sine and cosine rounded to float.
    constexpr double pi = 3.14159265358979323846;
    const float radians = static_cast<float>(angleDegrees * pi / 180.0);
    double sine = 0.0, cosine = 1.0;
    sineAndCosine(radians, sine, cosine);
    const float s = static_cast<float>(sine);
    const float c = static_cast<float>(cosine);
    Mat4 r;
    if (x == 0.0f && y == 0.0f && z != 0.0f) {
        const float sz = z < 0.0f ? -s : s;
        r.m[0] = c;
        r.m[5] = c;
        r.m[1] = sz;  // (1, 0)
        r.m[4] = -sz; // (0, 1)
        return multiply(a, r);
    }
    const float length = std::sqrt(x * x + y * y + z * z);
    if (length <= 1.0e-4f) {
        return a; // no axis: no turn
    }
    x /= length;
    y /= length;
    z /= length;
    const float oneC = 1.0f - c;
    r.m[0] = oneC * x * x + c;
    r.m[4] = oneC * x * y - z * s;
    r.m[8] = oneC * z * x + y * s;
    r.m[1] = oneC * x * y + z * s;
    r.m[5] = oneC * y * y + c;
    r.m[9] = oneC * y * z - x * s;
    r.m[2] = oneC * z * x - y * s;
    r.m[6] = oneC * y * z + x * s;
    r.m[10] = oneC * z * z + c;
    return multiply(a, r);
}

void MatrixStack::pop() {
    if (stack_.size() > 1) {
        stack_.pop_back();
    }
}

} // namespace gfx
