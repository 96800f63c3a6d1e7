// Vertices written on desktop OpenGL: the part mapped without synchronising, since no draw reads
// it, and copied in.
#include "gfx/buffer_upload.h"

#include <cstring>

namespace gfx {

void writeUnreadPart(GLintptr offset, GLsizeiptr bytes, const void* data) {
    void* target = glMapBufferRange(GL_ARRAY_BUFFER, offset, bytes,
                                    GL_MAP_WRITE_BIT | GL_MAP_INVALIDATE_RANGE_BIT |
                                        GL_MAP_UNSYNCHRONIZED_BIT);
    std::memcpy(target, data, static_cast<std::size_t>(bytes));
    glUnmapBuffer(GL_ARRAY_BUFFER);
}

} // namespace gfx
