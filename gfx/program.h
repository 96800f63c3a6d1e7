// Compiling and linking the layer's shader programs, with its vertex attributes bound to fixed
// locations so that every program reads the one vertex buffer.
#pragma once

#include <string>

#include <GL/glew.h>

#include "gfx/shader_text.h"

namespace gfx {

// The flavour of the current context: on the desktop GLSL 3.30 where it offers OpenGL 3.3 (core
// or not), else GLSL 1.20; in the browser GLSL ES 3.00 (context_flavour_desktop.cpp,
// context_flavour_web.cpp).
Flavour contextFlavour();

// Compiles one stage; a failure prints the driver's log and a message and ends the process with
// status 1.
GLuint compileShader(const std::string& source, GLenum type);

// Links the layer's vertex stage with the given fragment text; a failure prints the log and
// ends the process with status 1.
GLuint linkProgram(const std::string& fragmentText);

} // namespace gfx
