// Writing vertices into the bound array buffer, the way each kind of OpenGL does it fastest
// (buffer_upload_desktop.cpp, buffer_upload_web.cpp).
#pragma once

#include <GL/glew.h>

namespace gfx {

// Writes `bytes` from `data` at `offset` of the bound GL_ARRAY_BUFFER: a part that no draw has
// read since the buffer was last orphaned, so the write need not wait for the draws before it.
void writeUnreadPart(GLintptr offset, GLsizeiptr bytes, const void* data);

} // namespace gfx
