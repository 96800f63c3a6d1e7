// Handing freed memory back in the browser: a WebAssembly memory never shrinks, and what is freed
// stays with the allocator for the next outro, so there is nothing to do.
#include "transitions/memory_return.h"

void returnFreedMemory() {}
