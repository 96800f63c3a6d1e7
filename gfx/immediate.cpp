// The layer's state, its vertex buffer and its programs, and the draw at every end().
#include "gfx/immediate.h"

#include <string>
#include <unordered_map>
#include <vector>

#include "gfx/buffer_upload.h"
#include "gfx/context_version.h"
#include "gfx/lighting.h"
#include "gfx/program.h"
#include "gfx/shader_text.h"
#include "gfx/vertex_layout.h"

namespace gfx {

namespace {

// Vertices the buffer holds at first before it is orphaned and refilled from its start; it
// doubles when one draw needs more.
constexpr GLsizeiptr initialBufferVertices = 1 << 16;

struct Uniforms {
    GLint mvp = -1, modelview = -1, lit = -1, normal = -1, lightPosition = -1;
    GLint texture = -1, atlas = -1, glyphs = -1;
};

static struct {
    MatrixStack modelview, projection;
    Primitive primitive = Primitive::Triangles;
    std::vector<Vertex> pending;
    std::array<float, 4> colour{1, 1, 1, 1};
    std::array<float, 2> texCoord{0, 0};
    Shading shading = Shading::Smooth;
    bool outline = false;
    bool lit = false;
    std::array<float, 4> lightPosition{0, 0, 1, 0};
    GLuint sceneProgram = 0;
    GLuint sceneGlyphProgram = 0;
    GLuint texture = 0;
    GLuint atlas = 0;
    // Made at the first draw.
    GLuint vertexArray = 0;
    GLuint buffer = 0;
    GLsizeiptr capacity = initialBufferVertices;
    GLsizeiptr used = 0; // vertices written since the last orphaning
    GLuint colourProgram = 0;
    GLuint textureProgram = 0;
    std::unordered_map<GLuint, Uniforms> uniforms;
} state;

Uniforms lookUpUniforms(GLuint program) {
    const auto at = [program](const char* name) { return glGetUniformLocation(program, name); };
    return {at("u_mvp"),           at("u_modelview"), at("u_lit"),   at("u_normal"),
            at("u_lightPosition"), at("u_texture"),   at("u_atlas"), at("u_glyphs")};
}

void bindVertexArray() {
    if (state.vertexArray != 0) {
        glBindVertexArray(state.vertexArray);
    }
}

void makeResources() {
    const Flavour flavour = contextFlavour();
    state.colourProgram = linkProgram(fragmentShaderText(flavour, colourFragmentBody));
    state.textureProgram = linkProgram(fragmentShaderText(flavour, textureFragmentBody));
    // OpenGL 2.1 may lack vertex array objects; its default one then holds the same settings.
    if (currentContextVersion().major >= 3 ||
        contextOffersExtension("GL_ARB_vertex_array_object")) {
        glGenVertexArrays(1, &state.vertexArray);
    }
    bindVertexArray();
    glGenBuffers(1, &state.buffer);
    glBindBuffer(GL_ARRAY_BUFFER, state.buffer);
    glBufferData(GL_ARRAY_BUFFER, state.capacity * GLsizeiptr{sizeof(Vertex)}, nullptr,
                 GL_STREAM_DRAW);
    for (const Attribute& attribute : vertexAttributes) {
        glEnableVertexAttribArray(attribute.location);
        glVertexAttribPointer(attribute.location, attribute.components, GL_FLOAT, GL_FALSE,
                              sizeof(Vertex), reinterpret_cast<const void*>(attribute.offset));
    }
}

// Appends the vertices to the buffer without waiting for the draws that read it (the part
// written was never read since the last orphaning) and returns the first one's index.
GLint upload(const std::vector<Vertex>& vertices) {
    const auto count = static_cast<GLsizeiptr>(vertices.size());
    bindVertexArray();
    glBindBuffer(GL_ARRAY_BUFFER, state.buffer);
    if (state.used + count > state.capacity) {
        while (count > state.capacity) {
            state.capacity *= 2;
        }
        glBufferData(GL_ARRAY_BUFFER, state.capacity * GLsizeiptr{sizeof(Vertex)}, nullptr,
                     GL_STREAM_DRAW);
        state.used = 0;
    }
    const GLsizeiptr stride = sizeof(Vertex);
    writeUnreadPart(state.used * stride, count * stride, vertices.data());
    const auto first = static_cast<GLint>(state.used);
    state.used += count;
    return first;
}

GLuint chooseProgram() {
    if (state.sceneProgram != 0) {
        return state.atlas != 0 && state.sceneGlyphProgram != 0 ? state.sceneGlyphProgram
                                                                : state.sceneProgram;
    }
    return state.texture != 0 || state.atlas != 0 ? state.textureProgram : state.colourProgram;
}

void setUniforms(GLuint program) {
    auto found = state.uniforms.find(program);
    if (found == state.uniforms.end()) {
        found = state.uniforms.emplace(program, lookUpUniforms(program)).first;
    }
    const Uniforms& u = found->second;
    const Mat4 mvp = multiply(state.projection.top(), state.modelview.top());
    glUniformMatrix4fv(u.mvp, 1, GL_FALSE, mvp.m.data());
    glUniformMatrix4fv(u.modelview, 1, GL_FALSE, state.modelview.top().m.data());
    glUniform1i(u.lit, state.lit && state.texture == 0 && state.atlas == 0 ? 1 : 0);
    // The normal (0, 0, 1) in eye space: the normal matrix's last column.
    const std::array<float, 9> normals = normalMatrix(state.modelview.top());
    glUniform3f(u.normal, normals[2], normals[5], normals[8]);
    glUniform4fv(u.lightPosition, 1, state.lightPosition.data());
    const GLint unit = static_cast<GLint>(layerTextureUnit - GL_TEXTURE0);
    glUniform1i(u.texture, unit);
    glUniform1i(u.atlas, unit);
    glUniform1i(u.glyphs, state.atlas != 0 ? 1 : 0);
}

void draw(const Batch& batch) {
    if (batch.vertices.empty()) {
        return;
    }
    if (state.buffer == 0) {
        makeResources();
    }
    const GLint first = upload(batch.vertices);
    const GLuint program = chooseProgram();
    glUseProgram(program);
    setUniforms(program);
    if (state.texture != 0 || state.atlas != 0) {
        glActiveTexture(layerTextureUnit);
        glBindTexture(GL_TEXTURE_2D, state.atlas != 0 ? state.atlas : state.texture);
        glActiveTexture(GL_TEXTURE0);
    }
    glDrawArrays(batch.kind == DrawKind::LineList ? GL_LINES : GL_TRIANGLES, first,
                 static_cast<GLsizei>(batch.vertices.size()));
}

} // namespace

MatrixStack& modelview() {
    return state.modelview;
}

MatrixStack& projection() {
    return state.projection;
}

void begin(Primitive primitive) {
    state.primitive = primitive;
    state.pending.clear();
}

void colour(float r, float g, float b, float a) {
    state.colour = {r, g, b, a};
}

void texCoord(float u, float v) {
    state.texCoord = {u, v};
}

void vertex(float x, float y, float z) {
    Vertex v;
    v.position = {x, y, z};
    v.lightFrom = v.position;
    v.colour = state.colour;
    v.texCoord = state.texCoord;
    state.pending.push_back(v);
}

void end() {
    const bool filled =
        state.primitive != Primitive::Lines && state.primitive != Primitive::LineLoop;
    if (state.outline && filled) {
        draw(outline(state.primitive, state.pending, state.shading));
    } else {
        const Mat4 toClip = multiply(state.projection.top(), state.modelview.top());
        draw(assemble(state.primitive, state.pending, state.shading,
                      clippingOf(toClip, state.pending)));
    }
    state.pending.clear();
}

std::array<float, 4> currentColour() {
    return state.colour;
}

std::array<float, 4> litCurrentColour(float x, float y, float z) {
    if (!state.lit) {
        return state.colour;
    }
    const std::array<float, 4> eye = transformPoint(state.modelview.top(), x, y, z);
    const std::array<float, 9> normals = normalMatrix(state.modelview.top());
    return litColour(LightSetup{state.lightPosition}, {eye[0], eye[1], eye[2]},
                     {normals[2], normals[5], normals[8]}, state.colour);
}

void setShading(Shading shading) {
    state.shading = shading;
}

void setOutline(bool outline) {
    state.outline = outline;
}

void setLighting(bool enabled, const std::array<float, 4>& eyePosition) {
    state.lit = enabled;
    state.lightPosition = eyePosition;
}

bool lightingEnabled() {
    return state.lit;
}

std::array<float, 4> lightPosition() {
    return state.lightPosition;
}

void useSceneProgram(GLuint program, GLuint glyphProgram) {
    state.sceneProgram = program;
    state.sceneGlyphProgram = glyphProgram;
}

GLuint sceneProgram() {
    return state.sceneProgram;
}

GLuint sceneGlyphProgram() {
    return state.sceneGlyphProgram;
}

GLuint linkSceneProgram(const std::string& fragmentBody, bool glyphVariant) {
    const Flavour flavour = contextFlavour();
    return linkProgram(glyphVariant ? sceneFragmentShaderText(flavour, fragmentBody)
                                    : fragmentShaderText(flavour, fragmentBody));
}

void setTexture(GLuint texture) {
    state.texture = texture;
}

void setGlyphAtlas(GLuint atlas) {
    state.atlas = atlas;
}

} // namespace gfx
