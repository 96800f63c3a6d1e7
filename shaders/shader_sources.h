// The GLSL sources of the background shaders.
#pragma once

extern const char* const
    gradientNoiseFragmentSource;                    // Scene 5: "gradient_x", "gradient_y", "u_time"
extern const char* const radialBlobsFragmentSource; // Scene 2: three centres and "u_time"
extern const char* const randomSourcesFragmentSource; // Scene 6: "random_x_0" ... "random_y_1"
extern const char* const gaussianGlowFragmentSource;  // Scene 3: no uniforms
// Scene 6 in software: the random-sources field read from a float texture, "field", on unit 0.
extern const char* const randomFieldFragmentSource;
