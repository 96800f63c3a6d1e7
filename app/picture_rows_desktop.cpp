// The picture's rows on desktop OpenGL: Mesa keeps a window's rows upside down, and a framebuffer
// flipped the same way meets the edges of Shapes and interpolates their shading to the last bit
// as the window did.
#include "app/picture_rows.h"

#include <GL/glew.h>

void keepRowsAsTheWindow() {
    if (GLEW_MESA_framebuffer_flip_y) {
        glFramebufferParameteri(GL_FRAMEBUFFER, GL_FRAMEBUFFER_FLIP_Y_MESA, GL_TRUE);
    }
}
