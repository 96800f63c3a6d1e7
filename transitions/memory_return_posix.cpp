// Handing freed memory back with the GNU C library's malloc_trim.
#include "transitions/memory_return.h"

#include <malloc.h>

void returnFreedMemory() {
    malloc_trim(0);
}
