// The calls into the page, as JavaScript run in place.
#include "web/page_calls.h"

#include <emscripten/emscripten.h>

void tellPageEnded() {
    EM_ASM({
        if (Module.ombraEnded) {
            Module.ombraEnded();
        }
    });
}

void givePageFrame(std::uint64_t frame, const std::uint8_t* rgba, std::size_t bytes) {
    EM_ASM(
        {
            const pixels = HEAPU8.subarray($1, $1 + $2);
            // btoa takes a string of byte-sized characters, built here in pieces.
            let text = "";
            for (let i = 0; i < pixels.length; i += 0x8000) {
                text += String.fromCharCode.apply(null, pixels.subarray(i, i + 0x8000));
            }
            window.ombraFrames = window.ombraFrames || {};
            window.ombraFrames[$0] = btoa(text);
        },
        static_cast<double>(frame), rgba, bytes);
}

void tellPageFramesDone() {
    EM_ASM({
        window.ombraFramesDone = true;
        console.log("frames done");
    });
}

void tellPageFailure(const std::string& line) {
    EM_ASM(
        {
            const line = "ombra: " + UTF8ToString($0);
            Module.ombraFail ? Module.ombraFail(line) : console.error(line);
        },
        line.c_str());
}
