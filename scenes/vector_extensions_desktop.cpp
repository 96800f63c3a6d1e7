// The x86-64 processor's vector extensions, as it reports them.
#include "scenes/vector_extensions.h"

bool processorOffers(VectorExtension extension) {
    __builtin_cpu_init();
    switch (extension) {
    case VectorExtension::Avx2:
        return __builtin_cpu_supports("avx2");
    case VectorExtension::Avx512:
        return __builtin_cpu_supports("avx512f");
    }
    return false;
}
