// Linking and feeding a background shader program.
#include "shaders/shader_program.h"

#include "gfx/immediate.h"

ShaderProgram::ShaderProgram(const std::string& fragmentBody)
    : program(gfx::linkSceneProgram(fragmentBody, false)),
      glyphProgram(gfx::linkSceneProgram(fragmentBody, true)) {}

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
    // The glyph variant first, so that the Scene's own program is left bound.
    for (const GLuint target : {glyphProgram, program}) {
        glUseProgram(target);
        for (std::size_t i = 0; i < floatUniforms.size(); ++i) {
            glUniform1f(glGetUniformLocation(target, floatUniformNames[i].c_str()),
                        *floatUniforms[i]);
        }
        for (std::size_t i = 0; i < vec2Uniforms.size(); ++i) {
            glUniform2fv(glGetUniformLocation(target, vec2UniformNames[i].c_str()), 1,
                         vec2Uniforms[i]);
        }
        for (std::size_t i = 0; i < arrayUniforms.size() && !processorStage; ++i) {
            glUniform1fv(glGetUniformLocation(target, arrayUniformNames[i].c_str()),
                         arrayUniformCounts[i], arrayUniforms[i]);
        }
    }
    gfx::useSceneProgram(program, glyphProgram);
    if (processorStage) {
        processorStage(*this);
    }
}
