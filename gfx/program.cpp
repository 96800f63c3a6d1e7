// Shader compilation and linking for the layer, with the attribute locations bound.
#include "gfx/program.h"

#include <cstdlib>
#include <iostream>
#include <vector>

#include "gfx/vertex_layout.h"

namespace gfx {

namespace {

// Prints the driver's log of a shader or program that failed (read with the matching pair of
// glGet*iv and glGet*InfoLog) and the failure message, then ends the run.
template <typename GetParameter, typename GetLog>
[[noreturn]] void failWithLog(GLuint object, GetParameter getParameter, GetLog getLog,
                              const char* message) {
    GLint logLength = 0;
    getParameter(object, GL_INFO_LOG_LENGTH, &logLength);
    std::vector<char> log(static_cast<std::size_t>(logLength > 0 ? logLength : 0) + 1, '\0');
    getLog(object, logLength, nullptr, log.data());
    std::cout << log.data() << message << std::endl;
    std::exit(1);
}

} // namespace

GLuint compileShader(const std::string& source, GLenum type) {
    const GLuint shader = glCreateShader(type);
    const GLchar* text = source.c_str();
    const GLint length = static_cast<GLint>(source.size());
    glShaderSource(shader, 1, &text, &length);
    glCompileShader(shader);
    GLint compiled = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled) {
        return shader;
    }
    failWithLog(shader, glGetShaderiv, glGetShaderInfoLog, "shader failed to compile");
}

GLuint linkProgram(const std::string& fragmentText) {
    const Flavour flavour = contextFlavour();
    const GLuint program = glCreateProgram();
    glAttachShader(program, compileShader(vertexShaderText(flavour), GL_VERTEX_SHADER));
    glAttachShader(program, compileShader(fragmentText, GL_FRAGMENT_SHADER));
    for (const Attribute& attribute : vertexAttributes) {
        glBindAttribLocation(program, attribute.location, attribute.name);
    }
    glLinkProgram(program);
    GLint linked = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked) {
        return program;
    }
    failWithLog(program, glGetProgramiv, glGetProgramInfoLog, "program linking failed");
}

} // namespace gfx
