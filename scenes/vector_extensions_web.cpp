// Vector extensions in the browser: WebAssembly offers 128-bit lanes alone, the width of SSE2.
#include "scenes/vector_extensions.h"

bool processorOffers(VectorExtension) {
    return false;
}
