// The drawing layer's pure parts: the matrix stack, primitives batched into triangle and line
// lists, wireframe outlines and the lighting formula.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <utility>
#include <vector>

#include "gfx/context_version.h"
#include "gfx/lighting.h"
#include "gfx/matrix.h"
#include "gfx/primitives.h"

namespace {

using gfx::Batch;
using gfx::Primitive;
using gfx::Shading;
using gfx::Vertex;

TEST(MatrixStack, ComposesScaleTranslateAndTurnAsTheCallsNestAndPopsBackToWhatWasPushed) {
    gfx::MatrixStack stack;
    stack.translate(0.5f, -0.25f, 0.0f);
    stack.push();
    stack.scale(2.0f, 2.0f, 2.0f);
    stack.rotate(30.0f, 0.0f, 0.0f, 1.0f);
    stack.translate(0.1f, 0.2f, 0.0f);
    // The point (0.3, -0.4): moved by (0.1, 0.2), turned 30 degrees, doubled, then moved.
    const double a = 30.0 * M_PI / 180.0, x = 0.3 + 0.1, y = -0.4 + 0.2;
    const std::array<float, 4> p = gfx::transformPoint(stack.top(), 0.3f, -0.4f, 0.0f);
    EXPECT_NEAR(p[0], 0.5 + 2.0 * (x * std::cos(a) - y * std::sin(a)), 1e-6);
    EXPECT_NEAR(p[1], -0.25 + 2.0 * (x * std::sin(a) + y * std::cos(a)), 1e-6);
    EXPECT_FLOAT_EQ(p[3], 1.0f);
    // A turn about -z goes the other way.
    gfx::MatrixStack back;
    back.rotate(90.0f, 0.0f, 0.0f, -1.0f);
    const std::array<float, 4> q = gfx::transformPoint(back.top(), 1.0f, 0.0f, 0.0f);
    EXPECT_NEAR(q[0], 0.0, 1e-6);
    EXPECT_NEAR(q[1], -1.0, 1e-6);
    // The normals of a doubled space are halved; a flattened space leaves them as they are.
    EXPECT_NEAR(gfx::normalMatrix(stack.top())[8], 0.5, 1e-6);
    EXPECT_EQ(gfx::normalMatrix(gfx::scaled(gfx::Mat4{}, 1, 1, 0))[8], 1.0f);

    stack.pop();
    const std::array<float, 4> moved = gfx::transformPoint(stack.top(), 0.0f, 0.0f, 0.0f);
    EXPECT_EQ(moved[0], 0.5f);
    EXPECT_EQ(moved[1], -0.25f);
    stack.pop(); // the last matrix stays
    EXPECT_EQ(stack.depth(), 1u);
    EXPECT_EQ(stack.top(), gfx::translated(gfx::Mat4{}, 0.5f, -0.25f, 0.0f));
}

std::vector<Vertex> corners(int count) {
    std::vector<Vertex> vertices(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const float angle = static_cast<float>(2.0 * M_PI * i / count);
        vertices[i].position = {std::cos(angle), std::sin(angle), 0.0f};
        vertices[i].lightFrom = vertices[i].position;
        vertices[i].colour = {static_cast<float>(i), 0.0f, 0.0f, 1.0f}; // red tells the corner
    }
    return vertices;
}

// The corner numbers of each triangle or line, read back from the unchanged positions.
std::vector<std::vector<int>> groups(const Batch& batch, const std::vector<Vertex>& from,
                                     std::size_t size) {
    std::vector<std::vector<int>> out;
    for (std::size_t i = 0; i + size <= batch.vertices.size(); i += size) {
        std::vector<int> group;
        for (std::size_t k = 0; k < size; ++k) {
            const auto found = std::find_if(from.begin(), from.end(), [&](const Vertex& v) {
                return v.position == batch.vertices[i + k].position;
            });
            group.push_back(static_cast<int>(found - from.begin()));
        }
        out.push_back(group);
    }
    return out;
}

TEST(Batching, QuadsAndPolygonsBecomeTrianglesAroundTheirFirstCornerAndIncompleteOnesAreDropped) {
    const std::vector<Vertex> nine = corners(9);
    const Batch quads = gfx::assemble(Primitive::Quads, nine, Shading::Smooth); // 2 quads + 1
    EXPECT_EQ(quads.kind, gfx::DrawKind::TriangleList);
    EXPECT_EQ(groups(quads, nine, 3),
              (std::vector<std::vector<int>>{{0, 1, 2}, {0, 2, 3}, {4, 5, 6}, {4, 6, 7}}));
    const Batch triangles = gfx::assemble(Primitive::Triangles, nine, Shading::Smooth);
    EXPECT_EQ(triangles.vertices.size(), 9u);
    const std::vector<Vertex> five = corners(5);
    const Batch polygon = gfx::assemble(Primitive::Polygon, five, Shading::Smooth);
    EXPECT_EQ(groups(polygon, five, 3),
              (std::vector<std::vector<int>>{{1, 2, 0}, {2, 3, 0}, {3, 4, 0}}));
    EXPECT_TRUE(gfx::assemble(Primitive::Polygon, corners(2), Shading::Smooth).vertices.empty());
    const Batch lines = gfx::assemble(Primitive::Lines, five, Shading::Smooth);
    EXPECT_EQ(lines.kind, gfx::DrawKind::LineList);
    EXPECT_EQ(groups(lines, five, 2), (std::vector<std::vector<int>>{{0, 1}, {2, 3}}));
    const Batch loop = gfx::assemble(Primitive::LineLoop, corners(3), Shading::Smooth);
    EXPECT_EQ(groups(loop, corners(3), 2), (std::vector<std::vector<int>>{{0, 1}, {1, 2}, {2, 0}}));
}

TEST(Batching, QuadsReachingOutOfTheViewVolumeSplitAsTheClippingStageSplitThem) {
    using gfx::Clipping;
    const std::vector<Vertex> eight = corners(8); // corners on the unit circle: (1, 0), (0, 1)...
    const gfx::Mat4 identity;
    EXPECT_EQ(gfx::clippingOf(identity, eight), Clipping::Inside); // the boundary is inside
    // A millionth of a unit past the boundary on either side of any axis is outside.
    for (const auto& [x, y, z] : {std::array<float, 3>{1e-6f, 0, 0},
                                  {-1e-6f, 0, 0},
                                  {0, 1e-6f, 0},
                                  {0, -1e-6f, 0},
                                  {0, 0, 1.000001f}}) {
        EXPECT_EQ(gfx::clippingOf(gfx::translated(identity, x, y, z), eight), Clipping::Crossing)
            << x << " " << y << " " << z;
    }
    EXPECT_EQ(gfx::clippingOf(gfx::translated(identity, 0, 0, 1.0f), eight), Clipping::Inside);
    // The volume is -w..w: with w = 2 the circle moved 0.9 either way still fits, 1.1 not.
    gfx::Mat4 wideW;
    wideW.m[15] = 2.0f;
    for (const float side : {1.0f, -1.0f}) {
        EXPECT_EQ(gfx::clippingOf(gfx::translated(wideW, 0.9f * side, 0, 0), eight),
                  Clipping::Inside);
        EXPECT_EQ(gfx::clippingOf(gfx::translated(wideW, 1.1f * side, 0, 0), eight),
                  Clipping::Crossing);
    }

    const Batch quads = gfx::assemble(Primitive::Quads, eight, Shading::Smooth, Clipping::Crossing);
    EXPECT_EQ(groups(quads, eight, 3),
              (std::vector<std::vector<int>>{{0, 1, 3}, {1, 2, 3}, {4, 5, 7}, {5, 6, 7}}));
    // A polygon's fan is the clipping stage's own order already.
    const std::vector<Vertex> five = corners(5);
    EXPECT_EQ(groups(gfx::assemble(Primitive::Polygon, five, Shading::Smooth, Clipping::Crossing),
                     five, 3),
              groups(gfx::assemble(Primitive::Polygon, five, Shading::Smooth), five, 3));
}

TEST(Batching, FlatShadingLightsEveryCornerAsTheProvokingOne) {
    const std::vector<Vertex> four = corners(4);
    // The last corner of a line, triangle or quadrilateral provokes; the first of a polygon.
    for (const auto& [primitive, provoking] : {std::pair{Primitive::Quads, 3},
                                               {Primitive::Triangles, 2},
                                               {Primitive::Lines, 1},
                                               {Primitive::Polygon, 0}}) {
        const std::vector<Vertex> one(four.begin(), four.begin() + std::max(provoking + 1, 3));
        const Batch flat = gfx::assemble(
            primitive, primitive == Primitive::Lines ? corners(2) : one, Shading::Flat);
        ASSERT_FALSE(flat.vertices.empty());
        for (const Vertex& v : flat.vertices) {
            EXPECT_EQ(v.colour[0], static_cast<float>(provoking)) << static_cast<int>(primitive);
            EXPECT_EQ(v.lightFrom,
                      (primitive == Primitive::Lines ? corners(2) : one)[provoking].position);
        }
    }
    const Batch smooth = gfx::assemble(Primitive::Quads, four, Shading::Smooth);
    for (const Vertex& v : smooth.vertices) {
        EXPECT_EQ(v.lightFrom, v.position);
    }
}

TEST(Wireframe, OutlinesFollowEachPolygonsEdgesWithoutItsInnerDiagonals) {
    const std::vector<Vertex> eight = corners(8);
    const Batch quads = gfx::outline(Primitive::Quads, eight, Shading::Smooth);
    EXPECT_EQ(quads.kind, gfx::DrawKind::LineList);
    EXPECT_EQ(groups(quads, eight, 2),
              (std::vector<std::vector<int>>{
                  {0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 5}, {5, 6}, {6, 7}, {7, 4}}));
    const std::vector<Vertex> six = corners(6);
    const Batch polygon = gfx::outline(Primitive::Polygon, six, Shading::Smooth);
    std::set<std::pair<int, int>> edges;
    for (const std::vector<int>& line : groups(polygon, six, 2)) {
        edges.insert({std::min(line[0], line[1]), std::max(line[0], line[1])});
    }
    EXPECT_EQ(edges,
              (std::set<std::pair<int, int>>{{0, 1}, {1, 2}, {2, 3}, {3, 4}, {4, 5}, {0, 5}}));
    EXPECT_EQ(gfx::outline(Primitive::Triangles, six, Shading::Smooth).vertices.size(), 12u);
}

TEST(Lighting, AmbientPlusDiffuseFollowTheAngleToAPositionalLightAndClamp) {
    const std::array<float, 4> colour{0.5f, 0.25f, 1.0f, 0.75f};
    gfx::LightSetup light;
    light.position = {3.0f, 0.0f, 3.0f, 3.0f}; // (1, 0, 1) once divided by w
    // At the origin facing up, the light comes in at 45 degrees: diffuse cos 45.
    const std::array<float, 4> lit = gfx::litColour(light, {0, 0, 0}, {0, 0, 1}, colour);
    const double diffuse = std::sqrt(0.5);
    EXPECT_NEAR(lit[0], 0.5 * (0.2 + diffuse), 1e-6);
    EXPECT_NEAR(lit[1], 0.25 * (0.2 + diffuse), 1e-6);
    EXPECT_NEAR(lit[2], 0.2 + diffuse, 1e-6);
    EXPECT_EQ(lit[3], 0.75f);
    // Straight below the light with a normal twice as long: twice the diffuse part.
    const std::array<float, 4> below = gfx::litColour(light, {1, 0, 0}, {0, 0, 2}, colour);
    EXPECT_NEAR(below[1], 0.25 * (0.2 + 2.0), 1e-6);
    EXPECT_EQ(below[0], 1.0f); // 1.1 clamped
    // From behind the surface only the ambient part is left.
    const std::array<float, 4> behind = gfx::litColour(light, {0, 0, 2}, {0, 0, 1}, colour);
    EXPECT_NEAR(behind[0], 0.5 * 0.2, 1e-7);
}

TEST(ContextVersion, TheVersionTextChoosesTheGlslFlavour) {
    using gfx::Flavour;
    const struct {
        const char* text;
        int major, minor;
        bool embedded;
        Flavour flavour;
    } cases[] = {
        {"4.5 (Compatibility Profile) Mesa 22.3.6", 4, 5, false, Flavour::Desktop33},
        {"3.3 (Core Profile) Mesa 22.3.6", 3, 3, false, Flavour::Desktop33},
        {"3.2.0 NVIDIA 340.108", 3, 2, false, Flavour::Desktop21},
        {"3.10 Build 9.17", 3, 10, false, Flavour::Desktop33},
        {"2.1 Mesa 22.3.6", 2, 1, false, Flavour::Desktop21},
        {"10.0", 10, 0, false, Flavour::Desktop33},
        {"OpenGL ES 3.0 (WebGL 2.0)", 3, 0, true, Flavour::Embedded30},
        {"OpenGL ES 3.2 Mesa 22.3.6", 3, 2, true, Flavour::Embedded30},
        {"OpenGL ES 2.0 (WebGL 1.0)", 2, 0, true, Flavour::Desktop21},
        {"", 0, 0, false, Flavour::Desktop21},
        {"Mesa 4.5", 0, 0, false, Flavour::Desktop21},
        {"4.", 0, 0, false, Flavour::Desktop21},
        {"99999999999.9", 0, 0, false, Flavour::Desktop21},
    };
    for (const auto& each : cases) {
        const gfx::ContextVersion version = gfx::parseContextVersion(each.text);
        EXPECT_EQ(version.major, each.major) << each.text;
        EXPECT_EQ(version.minor, each.minor) << each.text;
        EXPECT_EQ(version.embedded, each.embedded) << each.text;
        EXPECT_EQ(gfx::flavourOf(version), each.flavour) << each.text;
    }
    EXPECT_EQ(gfx::parseContextVersion(nullptr).major, 0);
}

TEST(ContextVersion, AnExtensionCountsOnlyAsAWholeWordOfTheList) {
    const char* list = "GL_ARB_vertex_array_object_es GL_EXT_a GL_ARB_vertex_array_object";
    EXPECT_TRUE(gfx::listsExtension(list, "GL_ARB_vertex_array_object"));
    EXPECT_TRUE(gfx::listsExtension(list, "GL_EXT_a"));
    EXPECT_TRUE(gfx::listsExtension("GL_EXT_a", "GL_EXT_a"));
    EXPECT_FALSE(gfx::listsExtension("GL_ARB_vertex_array_object_es GL_EXT_a",
                                     "GL_ARB_vertex_array_object"));
    EXPECT_FALSE(gfx::listsExtension("XGL_EXT_a GL_EXT_ab", "GL_EXT_a"));
    EXPECT_FALSE(gfx::listsExtension(list, ""));
    EXPECT_FALSE(gfx::listsExtension(nullptr, "GL_EXT_a"));
}

} // namespace
