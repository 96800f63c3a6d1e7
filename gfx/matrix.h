// 4x4 matrices and the layer's matrix stack, with the float arithmetic of the fixed-function
// pipeline's own matrix calls, so that every vertex lands where it landed before.
#pragma once

#include <array>
#include <vector>

namespace gfx {

// Column-major, as OpenGL takes it: element (row r, column c) is m[c * 4 + r].
struct Mat4 {
    std::array<float, 16> m{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    float at(int row, int column) const { return m[column * 4 + row]; }
    bool operator==(const Mat4& other) const { return m == other.m; }
};

// a * b, each element summed from the first column term to the last in float.
Mat4 multiply(const Mat4& a, const Mat4& b);
// The matrix times (x, y, z, 1).
std::array<float, 4> transformPoint(const Mat4& a, float x, float y, float z);
// The inverse of the upper-left 3x3 block, transposed (what turns normals into eye space); the
// identity when that block is singular.
std::array<float, 9> normalMatrix(const Mat4& a);

// M * T(x, y, z), written straight into the last column as glTranslatef did.
Mat4 translated(const Mat4& a, float x, float y, float z);
// M * S(x, y, z): the first three columns scaled.
Mat4 scaled(const Mat4& a, float x, float y, float z);
// M * R(angle degrees about (x, y, z)); a turn about the z axis alone uses the exact sine and
// cosine in place, as glRotatef did.
Mat4 rotated(const Mat4& a, float angleDegrees, float x, float y, float z);

// A stack that starts with the identity and never pops its last matrix.
class MatrixStack {
  public:
    MatrixStack() { stack_.emplace_back(); }
    const Mat4& top() const { return stack_.back(); }
    void push() { stack_.push_back(stack_.back()); }
    void pop();
    void loadIdentity() { stack_.back() = Mat4{}; }
    void load(const Mat4& matrix) { stack_.back() = matrix; }
    void translate(float x, float y, float z) { stack_.back() = translated(top(), x, y, z); }
    void scale(float x, float y, float z) { stack_.back() = scaled(top(), x, y, z); }
    void rotate(float angleDegrees, float x, float y, float z) {
        stack_.back() = rotated(top(), angleDegrees, x, y, z);
    }
    std::size_t depth() const { return stack_.size(); }

  private:
    std::vector<Mat4> stack_;
};

} // namespace gfx
