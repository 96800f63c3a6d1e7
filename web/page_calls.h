// What the program tells the page it runs in: each call reaches a function of the page's own
// (web/page.html) where the page defines it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The production has ended (its last frame or Esc): the page offers to play it again.
void tellPageEnded();

// Frame `frame`'s picture, `bytes` of RGBA with the top row first, kept by the page as base64 in
// window.ombraFrames[frame].
void givePageFrame(std::uint64_t frame, const std::uint8_t* rgba, std::size_t bytes);

// Every frame asked for is kept: the page sets window.ombraFramesDone and logs "frames done".
void tellPageFramesDone();

// Something went wrong: one line on the browser's console as an error.
void tellPageFailure(const std::string& line);
