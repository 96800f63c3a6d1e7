// The files the audio module opens as plain descriptors, the platform's own way: byte for byte
// (never as text), kept from child processes, and never waiting on a special file.
#pragma once

// A descriptor for reading `path`, or -1 when it cannot be opened.
int openInputFile(const char* path);

// A descriptor for writing to the platform's null device, or -1.
int openNullDevice();
