// Compiling, linking and feeding a background shader program.
#include "shaders/shader_program.h"

#include <cstdlib>
#include <iostream>

namespace {

// Prints a driver log and the failure message, then ends the run.
[[noreturn]] void failWithLog(const std::vector<char>& log, const char* message) {
    std::cout << log.data() << message << std::endl;
    std::exit(1);
}

} // namespace

GLuint ShaderProgram::compileShader(const std::string& source, GLenum type) {
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
    GLint logLength = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &logLength);
    std::vector<char> log(static_cast<std::size_t>(logLength > 0 ? logLength : 0) + 1, '\0');
    glGetShaderInfoLog(shader, logLength, nullptr, log.data());
    failWithLog(log, "shader failed to compile");
}

ShaderProgram::ShaderProgram(const std::string& vertexSource, const std::string& geometrySource,
                             const std::string& fragmentSource) {
    if (!vertexSource.empty()) {
        vertexShader = compileShader(vertexSource, GL_VERTEX_SHADER);
    }
    if (!geometrySource.empty()) {
        geometryShader = compileShader(geometrySource, GL_GEOMETRY_SHADER);
    }
    fragmentShader = compileShader(fragmentSource, GL_FRAGMENT_SHADER);
    program = glCreateProgram();
    if (!vertexSource.empty()) {
        glAttachShader(program, vertexShader);
    }
    if (!geometrySource.empty()) {
        glAttachShader(program, geometryShader);
    }
    glAttachShader(program, fragmentShader);
    glLinkProgram(program);
    GLint linked = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    if (linked) {
        return;
    }
    GLint logLength = 0;
    glGetProgramiv(program, GL_INFO_LOG_LENGTH, &logLength);
    std::vector<char> log(static_cast<std::size_t>(logLength > 0 ? logLength : 0) + 1, '\0');
    glGetProgramInfoLog(program, logLength, nullptr, log.data());
    failWithLog(log, "program linking failed");
}

void ShaderProgram::addFloat(float* value, const std::string& name) {
    floatUniforms.push_back(value);
    floatUniformNames.push_back(name);
}

void ShaderProgram::addVec2(float* value, const std::string& name) {
    vec2Uniforms.push_back(value);
    vec2UniformNames.push_back(name);
}

void ShaderProgram::addArray(float* values, int count, const std::string& name) {
    arrayUniforms.push_back(values);
    arrayUniformNames.push_back(name);
    arrayUniformCounts.push_back(count);
}

void ShaderProgram::use() const {
    glUseProgram(program);
    for (std::size_t i = 0; i < floatUniforms.size(); ++i) {
        glUniform1f(glGetUniformLocation(program, floatUniformNames[i].c_str()), *floatUniforms[i]);
    }
    for (std::size_t i = 0; i < vec2Uniforms.size(); ++i) {
        glUniform2fv(glGetUniformLocation(program, vec2UniformNames[i].c_str()), 1,
                     vec2Uniforms[i]);
    }
    if (processorStage) {
        processorStage(*this);
        return;
    }
    for (std::size_t i = 0; i < arrayUniforms.size(); ++i) {
        glUniform1fv(glGetUniformLocation(program, arrayUniformNames[i].c_str()),
                     arrayUniformCounts[i], arrayUniforms[i]);
    }
}
