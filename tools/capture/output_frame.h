// The renderer's output: what a frame of the chosen size shows of the production's picture.
#pragma once

#include "app/letterbox.h"
#include "tools/capture/png_writer.h"

class OutputFrame {
  public:
    OutputFrame(Size size, bool smooth);

    // Reads the picture drawn so far and presents it in the frame as a window would show it:
    // scaled to fit, centred, black bars around it. RGB, top row first as image files store
    // them.
    RgbImage read() const;

  private:
    Size size_;
    bool smooth_;
};
