// Handing freed memory back with the C runtime's _heapmin.
#include "transitions/memory_return.h"

#include <malloc.h>

void returnFreedMemory() {
    _heapmin();
}
