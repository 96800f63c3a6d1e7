// ShaderProgram on real OpenGL: stages, failures that end the process, and uniform uploads.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include <GL/glew.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "gl_support.h"
#include "shaders/shader_program.h"
#include "shaders/shader_sources.h"

namespace {

struct ChildOutcome {
    bool exited = false;
    int status = -1;
    std::string output; // what the child wrote to standard output while building
};

// A failing ShaderProgram ends its process, so each failure is built in a fresh run of this test
// program that does nothing but build the program named by this variable. (A forked copy of
// this process cannot be used: the driver's exit handlers wait for threads the copy lacks.)
constexpr const char* childCaseVariable = "OMBRA_SHADER_PROGRAM_CASE";
// In the child, standard output is discarded until the build starts; it then goes to this
// descriptor, so the parent sees the build's output alone.
constexpr int childOutputDescriptor = 3;

ChildOutcome runChildCase(const std::string& childCase) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        ADD_FAILURE() << "no pipe";
        return {};
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], childOutputDescriptor);

    std::string program = "/proc/self/exe";
    std::string filter = "--gtest_filter=ShaderProgramFailureChild.*";
    std::string disabled = "--gtest_also_run_disabled_tests";
    char* const arguments[] = {program.data(), filter.data(), disabled.data(), nullptr};
    std::vector<std::string> environment;
    for (char** variable = environ; *variable; ++variable) {
        environment.emplace_back(*variable);
    }
    environment.push_back(std::string(childCaseVariable) + "=" + childCase);
    std::vector<char*> environmentPointers;
    for (std::string& variable : environment) {
        environmentPointers.push_back(variable.data());
    }
    environmentPointers.push_back(nullptr);

    pid_t child = 0;
    const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, arguments,
                                    environmentPointers.data());
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    ChildOutcome outcome;
    if (spawned != 0) {
        close(pipeEnds[0]);
        ADD_FAILURE() << "could not start the child: " << spawned;
        return outcome;
    }
    char buffer[4096];
    ssize_t count = 0;
    while ((count = read(pipeEnds[0], buffer, sizeof buffer)) > 0) {
        outcome.output.append(buffer, static_cast<std::size_t>(count));
    }
    close(pipeEnds[0]);
    int waitStatus = 0;
    waitpid(child, &waitStatus, 0);
    outcome.exited = WIFEXITED(waitStatus);
    outcome.status = outcome.exited ? WEXITSTATUS(waitStatus) : -1;
    return outcome;
}

std::string shaderLog(GLuint shader) {
    GLint length = 0;
    glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
    std::vector<char> log(static_cast<std::size_t>(length) + 1, '\0');
    glGetShaderInfoLog(shader, length, nullptr, log.data());
    return log.data();
}

// The log the driver gives for a source that does not compile.
std::string compileLogOf(const char* source, GLenum type) {
    const GLuint shader = glCreateShader(type);
    glShaderSource(shader, 1, &source, nullptr);
    glCompileShader(shader);
    GLint compiled = 1;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    EXPECT_EQ(compiled, GL_FALSE) << "the broken source compiled";
    return shaderLog(shader);
}

// The log the driver gives for a fragment source that compiles but does not link.
std::string linkLogOf(const char* fragmentSource) {
    const GLuint shader = glCreateShader(GL_FRAGMENT_SHADER);
    glShaderSource(shader, 1, &fragmentSource, nullptr);
    glCompileShader(shader);
    GLint compiled = 0;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &compiled);
    EXPECT_EQ(compiled, GL_TRUE) << shaderLog(shader);
    const GLuint program = glCreateProgram();
    glAttachShader(program, shader);
    glLinkProgram(program);
    GLint linked = 1;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    EXPECT_EQ(linked, GL_FALSE) << "the unlinkable source linked";
    GLint length = 0;
    glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
    std::vector<char> log(static_cast<std::size_t>(length) + 1, '\0');
    glGetProgramInfoLog(program, length, nullptr, log.data());
    return log.data();
}

constexpr const char* missingSemicolon = R"(void main() {
    gl_FragColor = vec4(1.0)
})";
constexpr const char* undefinedFunction = R"(void helper();
void main() {
    helper();
    gl_FragColor = vec4(1.0);
})";
constexpr const char* brokenVertex = "void main() { gl_Position = ftransform() }";
constexpr const char* whiteFragment = "void main() { gl_FragColor = vec4(1.0); }";

// The child's side of runChildCase: builds one program and ends as the build leaves it.
TEST(ShaderProgramFailureChild, DISABLED_BuildsTheProgramNamedByTheEnvironment) {
    const char* childCase = std::getenv(childCaseVariable);
    if (childCase == nullptr) {
        GTEST_SKIP() << "run only by runChildCase";
    }
    std::cout.flush();
    std::fflush(stdout);
    dup2(childOutputDescriptor, STDOUT_FILENO);
    const std::string which = childCase;
    if (which == "fragment") {
        ShaderProgram("", "", missingSemicolon);
    } else if (which == "vertex") {
        // The fragment stage is broken too: a single log shows the run ended at the first.
        ShaderProgram(brokenVertex, "", missingSemicolon);
    } else if (which == "link") {
        ShaderProgram("", "", undefinedFunction);
    } else {
        ShaderProgram("", "", whiteFragment);
    }
    std::cout.flush();
    std::_Exit(0);
}

TEST(ShaderProgramFailure, FragmentCompileFailurePrintsTheLogThenTheMessageAndExitsWithOne) {
    const std::string log = compileLogOf(missingSemicolon, GL_FRAGMENT_SHADER);
    ASSERT_FALSE(log.empty());
    const ChildOutcome outcome = runChildCase("fragment");
    ASSERT_TRUE(outcome.exited);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.output, log + "shader failed to compile\n");
}

TEST(ShaderProgramFailure, VertexCompileFailureEndsTheRunBeforeTheFragmentStage) {
    const std::string log = compileLogOf(brokenVertex, GL_VERTEX_SHADER);
    ASSERT_FALSE(log.empty());
    const ChildOutcome outcome = runChildCase("vertex");
    ASSERT_TRUE(outcome.exited);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.output, log + "shader failed to compile\n");
}

TEST(ShaderProgramFailure, LinkFailurePrintsTheProgramLogThenTheMessageAndExitsWithOne) {
    const std::string log = linkLogOf(undefinedFunction);
    ASSERT_FALSE(log.empty());
    const ChildOutcome outcome = runChildCase("link");
    ASSERT_TRUE(outcome.exited);
    EXPECT_EQ(outcome.status, 1);
    EXPECT_EQ(outcome.output, log + "program linking failed\n");
}

TEST(ShaderProgramFailure, AGoodProgramLetsTheChildCarryOn) {
    const ChildOutcome outcome = runChildCase("good");
    ASSERT_TRUE(outcome.exited);
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.output, "");
}

GLint attachedShaders(GLuint program) {
    GLint count = 0;
    glGetProgramiv(program, GL_ATTACHED_SHADERS, &count);
    return count;
}

class ShaderProgramDrawing : public testing::Test {
  protected:
    void SetUp() override { resetFrame(); }
    void TearDown() override { resetFrame(); }
};

TEST_F(ShaderProgramDrawing, WithoutVertexSourceTheFixedFunctionTransformPlacesTheFragments) {
    const ShaderProgram fragmentOnly("", "", whiteFragment);
    EXPECT_EQ(fragmentOnly.vertexShader, 0u);
    EXPECT_EQ(fragmentOnly.geometryShader, 0u);
    EXPECT_NE(fragmentOnly.fragmentShader, 0u);
    EXPECT_EQ(attachedShaders(fragmentOnly.program), 1);

    const ShaderProgram withVertexStage(sharedVertexSource, "", whiteFragment);
    EXPECT_NE(withVertexStage.vertexShader, 0u);
    EXPECT_EQ(attachedShaders(withVertexStage.program), 2);

    for (const ShaderProgram* program : {&fragmentOnly, &withVertexStage}) {
        resetFrame();
        program->use();
        glTranslatef(0.25f, 0.0f, 0.0f);
        glColor3f(1.0f, 0.0f, 0.0f); // the shader's white wins
        glBegin(GL_QUADS);
        glVertex2f(-0.5f, -0.5f);
        glVertex2f(0.5f, -0.5f);
        glVertex2f(0.5f, 0.5f);
        glVertex2f(-0.5f, 0.5f);
        glEnd();
        const auto pixels = readBackBuffer();
        const LitArea area = litArea(pixels);
        EXPECT_EQ(area.left, 240);
        EXPECT_EQ(area.right, 559);
        EXPECT_EQ(area.bottom, 120);
        EXPECT_EQ(area.top, 359);
        EXPECT_EQ(levelDistance(pixelAt(pixels, 400, 240), 1.0f, 1.0f, 1.0f), 0);
    }
}

constexpr const char* uniformsFragment = R"(uniform float level;
uniform vec2 pair;
uniform float weights[3];
uniform float unused;
uniform float unusedArray[4];
void main() {
    gl_FragColor = vec4(level, pair.x * pair.y, weights[0] + weights[1] + weights[2], 1.0);
})";

// The variables a Scene's code would own and change from its frame hook.
float level = 0.0f;
float pair[2] = {};
float weights[3] = {};
float unused = 0.0f;
float unusedArray[4] = {};

TEST_F(ShaderProgramDrawing, UseUploadsTheRegisteredVariablesAsTheyAreNow) {
    ShaderProgram program("", "", uniformsFragment);
    program.addFloat(&level, "level");
    program.addFloat(&unused, "unused");
    program.addFloat(&unused, "nowhere");
    program.addVec2(pair, "pair");
    program.addArray(weights, 3, "weights");
    program.addArray(unusedArray, 4, "unusedArray");
    // The compiler dropped what the shader never reads.
    ASSERT_EQ(glGetUniformLocation(program.program, "unused"), -1);
    ASSERT_EQ(glGetUniformLocation(program.program, "unusedArray"), -1);

    level = 0.2f;
    pair[0] = 0.5f;
    pair[1] = 0.8f;
    weights[0] = 0.1f;
    weights[1] = 0.2f;
    weights[2] = 0.3f;
    program.use();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    drawFullScreenQuad();
    EXPECT_EQ(levelDistance(pixelAt(readBackBuffer(), 100, 100), 0.2f, 0.4f, 0.6f), 0);

    // The next frame sees the new values without any call to the program but use().
    level = 0.85f;
    pair[0] = 1.0f;
    pair[1] = 0.32f;
    weights[0] = weights[1] = weights[2] = 0.25f;
    program.use();
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    drawFullScreenQuad();
    EXPECT_EQ(levelDistance(pixelAt(readBackBuffer(), 500, 400), 0.85f, 0.32f, 0.75f), 0);

    GLint current = 0;
    glGetIntegerv(GL_CURRENT_PROGRAM, &current);
    EXPECT_EQ(current, static_cast<GLint>(program.program));
}

} // namespace
