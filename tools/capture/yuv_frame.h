// A frame in the layout H.264 takes: planar YUV 4:2:0 in the studio range of standard definition
// (BT.601), as ffmpeg would make it, so that ffmpeg has nothing to convert.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/capture/png_writer.h"

// The frame as three planes, one after the other: luma at full size, then the blue and the red
// difference at half size each way (odd sides round up), each sample from the mean colour of the
// pixels it covers.
std::vector<std::uint8_t> toYuv420(const RgbImage& frame);
