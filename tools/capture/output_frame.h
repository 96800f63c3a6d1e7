// The renderer's output: a frame of the chosen size, off screen, that the production's picture is
// presented into and read back from.
#pragma once

#include <GL/glew.h>

#include "app/letterbox.h"
#include "tools/capture/png_writer.h"

class OutputFrame {
  public:
    // Makes the frame; needs a current OpenGL context.
    explicit OutputFrame(Size size);

    // Shows the picture drawn so far in the frame, as a window would show it: scaled to fit,
    // centred, black bars around it.
    void present(bool smooth);

    // The frame's pixels as RGB, top row first as image files store them.
    RgbImage read() const;

  private:
    Size size_;
    GLuint framebuffer_ = 0;
};
