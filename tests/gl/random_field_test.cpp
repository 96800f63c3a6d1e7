// The closing card's field, on squared distances, over its first frames: it differs from one on
// distances only where two squares round to one distance; the processor's field gives its pixels.
#include "gl_support.h"

#include "random/random.h"
#include "scenes/random_field.h"
#include "scenes/scene_builders.h"
#include "shaders/shader_sources.h"
#include <set>

namespace {

constexpr const char* uniforms =
    "uniform float random_x_0[50], random_y_0[50], random_x_1[50], random_y_1[50];\n";

// The field as the card drew it before: each pair compares the two distances themselves.
const std::string onDistances = std::string(uniforms) + R"(
void main() {
    vec2 p = gl_FragCoord.xy / vec2(640.0, 480.0) - vec2(0.5, 0.5);
    float val = 0.66;
    for (int i = 0; i < 50; i++) {
        float d0 = distance(p, vec2(random_x_0[i], random_y_0[i]));
        float d1 = distance(p, vec2(random_x_1[i], random_y_1[i]));
        val += d0 < d1 ? -0.66 / (50.0 * 0.33) : 0.66 / (50.0 * 0.33);
    }
    gl_FragColor = vec4(vec3(clamp(val, 0.0, 1.0)), 1.0);
}
)";

// White where some pair's two squared distances differ but round to the same distance.
const std::string ties = std::string(uniforms) + R"(
void main() {
    vec2 p = gl_FragCoord.xy / vec2(640.0, 480.0) - vec2(0.5, 0.5);
    bool tie = false;
    for (int i = 0; i < 50; i++) {
        vec2 to0 = p - vec2(random_x_0[i], random_y_0[i]);
        vec2 to1 = p - vec2(random_x_1[i], random_y_1[i]);
        float s0 = dot(to0, to0), s1 = dot(to1, to1);
        tie = tie || (s0 != s1 && sqrt(s0) == sqrt(s1));
    }
    gl_FragColor = tie ? vec4(1.0) : vec4(0.0, 0.0, 0.0, 1.0);
}
)";

// `fragmentSource` fed with the card's pairs, over the whole window.
std::vector<std::uint8_t> fieldOf(const ShaderProgram& card, const std::string& fragmentSource) {
    ShaderProgram program(fragmentSource);
    program.arrayUniforms = card.arrayUniforms;
    program.arrayUniformNames = card.arrayUniformNames;
    program.arrayUniformCounts = card.arrayUniformCounts;
    resetFrame();
    program.use();
    fillWindow(); // one fragment a pixel
    return readBackBuffer();
}

using RandomField = ClockedTest;

TEST_F(RandomField, DiffersFromDistancesOnlyWhereTheyRoundAlikeAndTheProcessorGivesItsPixels) {
    Random::seed(1);
    Scene card = buildScene6();
    card.start();
    ShaderProgram onProcessor(randomFieldFragmentSource);
    onProcessor.processorStage = loadRandomField;
    onProcessor.arrayUniforms = card.shader.arrayUniforms;
    int differing = 0, unexplained = 0;
    std::set<int> levels;
    for (int frame = 1; frame <= 40; ++frame) {
        DemoClock::setManualTime(at(frame / 60.0));
        card.frameHook(); // the pairs turn as they do at 60 frames a second
        const auto now = fieldOf(card.shader, randomSourcesFragmentSource);
        const auto before = fieldOf(card.shader, onDistances);
        const auto tied = fieldOf(card.shader, ties);
        for (std::size_t i = 0; i < now.size(); i += 3) {
            differing += now[i] != before[i];
            unexplained += now[i] != before[i] && tied[i] == 0;
            levels.insert(now[i]);
        }
        resetFrame();
        onProcessor.use();
        fillWindow();
        ASSERT_TRUE(readBackBuffer() == now) << "the processor's field, frame " << frame;
    }
    EXPECT_EQ(unexplained, 0) << "of " << differing << " differing pixels";
    // The field's levels 0.1, 0.5 and 0.9 lie half-way between two bytes, where the last bit of
    // the sum decides the byte: the pictures compared hold all three.
    for (const auto& [below, above] : {std::pair{25, 26}, {127, 128}, {229, 230}}) {
        EXPECT_TRUE(levels.count(below) + levels.count(above) > 0) << below;
    }
}

} // namespace
