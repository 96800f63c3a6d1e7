// Where each attribute of the layer's Vertex sits in the vertex buffer and which location its
// shaders read it from.
#pragma once

#include <array>
#include <cstddef>

#include "gfx/primitives.h"

namespace gfx {

struct Attribute {
    unsigned location;
    const char* name;
    int components;
    std::size_t offset;
};

inline constexpr std::array<Attribute, 4> vertexAttributes{{
    {0, "a_position", 3, offsetof(Vertex, position)},
    {1, "a_lightFrom", 3, offsetof(Vertex, lightFrom)},
    {2, "a_colour", 4, offsetof(Vertex, colour)},
    {3, "a_texCoord", 2, offsetof(Vertex, texCoord)},
}};

} // namespace gfx
