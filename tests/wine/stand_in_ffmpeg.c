/* A stand-in for ffmpeg.exe in the Windows renderer's tests: reads its standard input to the end
   and writes the byte count and its arguments into the file its last argument names. */
#include <fcntl.h>
#include <io.h>
#include <stdio.h>

int main(int argc, char** argv) {
    static char buffer[1 << 16];
    unsigned long long bytes = 0;
    _setmode(0, _O_BINARY);
    for (size_t read; (read = fread(buffer, 1, sizeof buffer, stdin)) > 0;) {
        bytes += read;
    }
    FILE* out = fopen(argv[argc - 1] + 5, "wb"); /* after "file:" */
    fprintf(out, "%llu bytes:", bytes);
    for (int i = 1; i < argc; ++i) {
        fprintf(out, " %s", argv[i]);
    }
    return fclose(out) != 0;
}
