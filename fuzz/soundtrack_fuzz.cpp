// libFuzzer target for the soundtrack reader: any bytes as the music file, opened, a first piece
// decoded, the length scanned, and a fresh stream decoded to its end. Aborts where the reader
// breaks its word: pieces of whole sample frames only, a byte rate that matches the format.
#include "audio/mp3_stream.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace {

// The bytes as a file with a name, kept in memory.
class MemoryFile {
  public:
    MemoryFile(const std::uint8_t* data, std::size_t size)
        : fd(memfd_create("soundtrack", MFD_CLOEXEC)) {
        for (std::size_t done = 0; fd >= 0 && done < size;) {
            const ssize_t written = write(fd, data + done, size - done);
            if (written <= 0) {
                std::abort();
            }
            done += static_cast<std::size_t>(written);
        }
    }
    ~MemoryFile() { close(fd); }
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    std::string path() const { return "/proc/self/fd/" + std::to_string(fd); }

  private:
    int fd;
};

void require(bool holds) {
    if (!holds) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const MemoryFile file(data, size);
    const std::string path = file.path();
    const auto stream = Mp3Stream::open(path.c_str());
    if (!stream) {
        return 0;
    }
    const std::uint32_t frameBytes = stream->frameBytes();
    require(stream->rate() > 0 && (stream->channels() == 1 || stream->channels() == 2));
    require(stream->byteRate() == stream->rate() * frameBytes);

    std::vector<std::uint8_t> piece;
    stream->read(stream->byteRate() / 20 + 1, piece); // an odd size, as a buffer's may be
    require(piece.size() % frameBytes == 0);
    if (const auto length = stream->scanLength()) {
        require(*length % frameBytes == 0);
    }

    const auto fresh = Mp3Stream::open(path.c_str());
    require(fresh != nullptr);
    require(fresh->decodeToEnd() % frameBytes == 0 && fresh->ended());
    return 0;
}
