// A Scene's background shader: a linked program and the uniforms uploaded to it every frame.
#pragma once

#include <string>
#include <vector>

#include <GL/glew.h>

struct ShaderProgram;

// Computes on the processor what a program would otherwise compute from its array uniforms,
// reading them from the program's record, and hands the result to the program another way.
using ProcessorStage = void (*)(const ShaderProgram& program);

// A plain record: copies name the same GL objects, which are never deleted.
struct ShaderProgram {
    ShaderProgram() = default;
    // Links the fragment body (written for every GL flavour: it sets `fragColour`) with the
    // drawing layer's vertex stage. A failing stage or link prints the driver's log and a
    // message, and ends the process with status 1.
    explicit ShaderProgram(const std::string& fragmentBody);

    // The registered variables are read afresh on every use().
    void addFloat(float* value, const std::string& name);
    void addVec2(float* value, const std::string& name);
    void addArray(float* values, int count, const std::string& name);

    // Binds the program, uploads every registered uniform, locations looked up by name (with a
    // processor stage, that stage takes the registered arrays instead of the upload), and has
    // the drawing layer colour what follows with it.
    void use() const;

    GLuint program = 0;
    GLuint glyphProgram = 0; // the same body, for glyphs drawn while the program is in use
    std::vector<float*> floatUniforms;
    std::vector<float*> vec2Uniforms;
    std::vector<float*> arrayUniforms;
    std::vector<std::string> floatUniformNames;
    std::vector<std::string> vec2UniformNames;
    std::vector<std::string> arrayUniformNames;
    std::vector<int> arrayUniformCounts;
    ProcessorStage processorStage = nullptr;
};
