// ShaderProgram on real OpenGL: failures that end the process, and uniform uploads.

#include <cstdio>
#include <regex>
#include <string>
#include <utility>

#include <unistd.h>

#include "gl_support.h"
#include "shaders/shader_program.h"

namespace {

constexpr const char* missingSemicolon = "void main() { gl_FragColor = vec4(1.0) }";
constexpr const char* undefinedFunction = "void helper(); void main() { helper(); }";

// The driver's log for a lone fragment stage: its compile log, or its link log if it compiles.
std::string driverLog(const char* source) {
    const GLuint shader = glCreateShader(GL_FRAGMENT_SHADER);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    char log[8192] = {};
    glGetShaderInfoLog(shader, sizeof log, nullptr, log);
    GLint compiled = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    if (compiled) {
        const GLuint program = glCreateProgram();
        glAttachShader(program, shader);
        glLinkProgram(program);
        glGetProgramInfoLog(program, sizeof log, nullptr, log);
    }
    return log;
}

// A pattern matching `text` literally.
std::string literally(const std::string& text) {
    return std::regex_replace(text, std::regex(R"([\\^$.|?*+()\[\]{}])"), R"(\$&)");
}

TEST(ShaderProgramFailure, PrintsTheDriverLogThenTheMessageAndExitsWithOne) {
    // Each build runs in a fresh run of this program: a forked copy cannot exit, as the driver's
    // exit handlers wait for threads the copy lacks.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::pair<const char*, const char*> failures[] = {
        {missingSemicolon, "shader failed to compile"},
        {undefinedFunction, "program linking failed"},
    };
    for (const auto& failure : failures) {
        const std::string log = driverLog(failure.first);
        ASSERT_FALSE(log.empty());
        // The program prints to standard output; the death test sees standard error.
        const auto build = [&failure] {
            std::fflush(stdout);
            dup2(STDERR_FILENO, STDOUT_FILENO);
            ShaderProgram("", "", failure.first);
        };
        EXPECT_EXIT(build(), testing::ExitedWithCode(1),
                    literally(log + failure.second + "\n") + "$");
    }
}

// The variables a Scene's code would own and change from its frame hook.
float level = 0.0f;
float pair[2] = {0.0f, 0.75f};
float weights[3] = {0.1f, 0.2f, 0.0f};

TEST(ShaderProgramUniforms, UseUploadsTheRegisteredVariablesAsTheyAreNow) {
    ShaderProgram program("", "", R"(uniform float level;
uniform vec2 pair;
uniform float weights[3];
void main() {
    gl_FragColor = vec4(level, pair.x * pair.y, weights[0] + weights[1] + weights[2], 1.0);
})");
    program.addFloat(&level, "level");
    program.addVec2(pair, "pair");
    program.addArray(weights, 3, "weights");
    for (const float value : {0.2f, 0.8f}) {
        resetFrame();
        level = value;
        pair[0] = value;
        weights[2] = value / 2;
        program.use();
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
        drawFullScreenQuad();
        const Rgb pixel = pixelAt(readBackBuffer(), 320, 240);
        EXPECT_EQ(levelDistance(pixel, value, 0.75f * value, 0.3f + value / 2), 0) << value;
    }
    resetFrame();
}

} // namespace
