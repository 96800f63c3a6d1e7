// The keyboard callback.
#include "app/keyboard.h"

#include <cstdlib>
#include <iostream>

#include "audio/music_channel.h"

void onKey(unsigned char key, int, int) {
    constexpr unsigned char escape = 27;
    if (key == escape) {
        Soundtrack::release();
        std::exit(0);
    }
    if (key == 'r') {
        printMusicPosition();
    }
}

void printMusicPosition() {
    // Thousands of bytes, then a space; successive presses share one line.
    std::cout << musicPositionThousands() << " ";
}
