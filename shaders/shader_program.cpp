// Linking and feeding a background shader program.
#include "shaders/shader_program.h"

#include "gfx/immediate.h"

ShaderProgram::ShaderProgram(const std::string& fragmentBody)
    : program(gfx::linkSceneProgram(fragmentBody)) {}

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
    gfx::useSceneProgram(program);
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
