// Which wide vector extensions the processor offers, for the pictures computed in lanes of
// whatever width it runs. One implementation per kind of processor: x86-64 on the desktop
// (vector_extensions_desktop.cpp), WebAssembly's 128-bit lanes in the browser
// (vector_extensions_web.cpp).
#pragma once

enum class VectorExtension { Avx2, Avx512 };

// Whether the processor (and its operating system) runs the extension's instructions.
bool processorOffers(VectorExtension extension);
