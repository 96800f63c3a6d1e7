// The off-screen picture and the present step that scales it onto a window or a frame.
#include "app/picture.h"

#include "app/picture_rows.h"

namespace {

static struct { GLuint framebuffer = 0; } state;

GLuint makeRenderbuffer(GLenum format) {
    GLuint renderbuffer = 0;
    glGenRenderbuffers(1, &renderbuffer);
    glBindRenderbuffer(GL_RENDERBUFFER, renderbuffer);
    glRenderbufferStorage(GL_RENDERBUFFER, format, pictureSize.width, pictureSize.height);
    return renderbuffer;
}

} // namespace

void createPicture() {
    // 8 bits a channel and a 24-bit depth buffer, as the window would have them, so that the
    // picture rounds colours and resolves equal depths exactly as drawing on the window does; its
    // rows run the way the window's do.
    const GLuint colour = makeRenderbuffer(GL_RGBA8);
    const GLuint depth = makeRenderbuffer(GL_DEPTH_COMPONENT24);
    glGenFramebuffers(1, &state.framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, state.framebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth);
    keepRowsAsTheWindow();
}

void usePicture() {
    glBindFramebuffer(GL_FRAMEBUFFER, state.framebuffer);
    glViewport(0, 0, pictureSize.width, pictureSize.height);
}

void useWindowAsPicture() {
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glViewport(0, 0, pictureSize.width, pictureSize.height);
}

void presentPicture(GLuint target, Size size, bool smooth) {
    const PixelRect shown = letterbox(size, pictureSize);
    // Mesa gathers bitmap text and draws it late; it must land in the picture, shaded as there.
    glFlush();
    glBindFramebuffer(GL_FRAMEBUFFER, target);
    glClear(GL_COLOR_BUFFER_BIT); // the bars; the production never changes the black clear colour
    glBindFramebuffer(GL_READ_FRAMEBUFFER, state.framebuffer);
    glBlitFramebuffer(0, 0, pictureSize.width, pictureSize.height, shown.x, shown.y,
                      shown.x + shown.width, shown.y + shown.height, GL_COLOR_BUFFER_BIT,
                      smooth ? GL_LINEAR : GL_NEAREST);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, target);
}
