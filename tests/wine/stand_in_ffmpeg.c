/* A stand-in for ffmpeg.exe in the Windows renderer's tests: reads its standard input to the end
   and writes the byte count and its arguments into the file its last argument names, and copies
   a WAV file it is given as an input to fed.wav in the working folder. */
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <string.h>

static char buffer[1 << 16];

static void copyWav(const char* path) {
    FILE* in = fopen(path, "rb");
    FILE* out = fopen("fed.wav", "wb");
    for (size_t read; in && out && (read = fread(buffer, 1, sizeof buffer, in)) > 0;) {
        fwrite(buffer, 1, read, out);
    }
    if (in) {
        fclose(in);
    }
    if (out) {
        fclose(out);
    }
}

int main(int argc, char** argv) {
    unsigned long long bytes = 0;
    for (int i = 1; i + 1 < argc; ++i) {
        const size_t length = strlen(argv[i + 1]);
        if (strcmp(argv[i], "-i") == 0 && length > 4 &&
            strcmp(argv[i + 1] + length - 4, ".wav") == 0) {
            copyWav(argv[i + 1] + 5); /* after "file:" */
        }
    }
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
