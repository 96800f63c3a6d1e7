// What the encoder's child process does alike on every platform.
#include "tools/capture/encoder_process.h"

#include <unistd.h> // close(), which the Windows C runtime has too

EncoderProcess::~EncoderProcess() {
    kill();
    closeInput();
    wait();
}

void EncoderProcess::closeInput() {
    if (pipeInput >= 0) {
        close(pipeInput);
        pipeInput = -1;
    }
}
