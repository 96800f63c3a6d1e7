// The version lines, the words of each GLSL flavour and the layer's own shader texts.
#include "gfx/shader_text.h"

namespace gfx {

namespace {

std::string vertexPrelude(Flavour flavour) {
    switch (flavour) {
    case Flavour::Desktop33:
        return "#version 330 core\n#define ATTRIBUTE in\n#define VARYING out\n";
    case Flavour::Embedded30:
        return "#version 300 es\nprecision highp float;\n#define ATTRIBUTE in\n#define VARYING "
               "out\n";
    case Flavour::Desktop21:
    default:
        return "#version 120\n#define ATTRIBUTE attribute\n#define VARYING varying\n";
    }
}

std::string fragmentPrelude(Flavour flavour) {
    switch (flavour) {
    case Flavour::Desktop33:
        return "#version 330 core\n#define VARYING in\n#define TEXTURE texture\n"
               "out vec4 fragColour;\n";
    case Flavour::Embedded30:
        return "#version 300 es\nprecision highp float;\nprecision highp int;\n"
               "#define VARYING in\n#define TEXTURE texture\nout vec4 fragColour;\n";
    case Flavour::Desktop21:
    default:
        return "#version 120\n#define VARYING varying\n#define TEXTURE texture2D\n"
               "#define fragColour gl_FragColor\n";
    }
}

// The ambient and diffuse terms of one positional light on a material that follows the vertex
// colour; the same arithmetic as litColour in lighting.cpp.
const char* const vertexBody = R"(
ATTRIBUTE vec3 a_position;
ATTRIBUTE vec3 a_lightFrom;
ATTRIBUTE vec4 a_colour;
ATTRIBUTE vec2 a_texCoord;

uniform mat4 u_mvp;
uniform mat4 u_modelview;
uniform bool u_lit;
uniform vec3 u_normal;
uniform vec4 u_lightPosition;

VARYING vec4 v_colour;
VARYING vec2 v_texCoord;

void main() {
    gl_Position = u_mvp * vec4(a_position, 1.0);
    v_texCoord = a_texCoord;
    v_colour = a_colour;
    if (u_lit) {
        vec3 eye = (u_modelview * vec4(a_lightFrom, 1.0)).xyz;
        vec3 toLight = normalize(u_lightPosition.xyz / u_lightPosition.w - eye);
        float diffuse = max(dot(normalize(u_normal), toLight), 0.0);
        v_colour = vec4(clamp(0.2 * a_colour.rgb + diffuse * a_colour.rgb, 0.0, 1.0), a_colour.a);
    }
}
)";

} // namespace

const char* const colourFragmentBody = R"(
VARYING vec4 v_colour;

void main() {
    fragColour = v_colour;
}
)";

const char* const textureFragmentBody = R"(
VARYING vec4 v_colour;
VARYING vec2 v_texCoord;
uniform sampler2D u_texture;
uniform bool u_glyphs;

void main() {
    vec4 texel = TEXTURE(u_texture, v_texCoord);
    if (u_glyphs && texel.r < 0.5) {
        discard;
    }
    fragColour = u_glyphs ? v_colour : texel;
}
)";

std::string vertexShaderText(Flavour flavour) {
    return vertexPrelude(flavour) + vertexBody;
}

std::string fragmentShaderText(Flavour flavour, const std::string& body) {
    return fragmentPrelude(flavour) + body;
}

std::string sceneFragmentShaderText(Flavour flavour, const std::string& body) {
    // The Scene's main becomes a function the layer's main calls after the glyph test.
    return fragmentPrelude(flavour) + "VARYING vec2 v_texCoord;\nuniform sampler2D u_atlas;\n" +
           "uniform bool u_glyphs;\n#define main sceneMain\n" + body + "\n" +
           "#undef main\nvoid main() {\n"
           "    if (u_glyphs && TEXTURE(u_atlas, v_texCoord).r < 0.5) {\n        discard;\n    }\n"
           "    sceneMain();\n}\n";
}

} // namespace gfx
