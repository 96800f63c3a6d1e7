// Vertices written in WebGL 2, which maps no buffers: glBufferSubData copies them in.
#include "gfx/buffer_upload.h"

namespace gfx {

void writeUnreadPart(GLintptr offset, GLsizeiptr bytes, const void* data) {
    glBufferSubData(GL_ARRAY_BUFFER, offset, bytes, data);
}

} // namespace gfx
