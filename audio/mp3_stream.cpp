// Decoding an MP3 file with libmpg123, a piece at a time, into 16-bit samples.
#include "audio/mp3_stream.h"

#include <sys/stat.h>
#include <unistd.h>

#include <mpg123.h>

#include "audio/platform_files.h"

namespace {

// Reads that decode nothing in a row before a stream counts as ended; a sound file yields samples
// on nearly every read, so only broken data gets this far.
constexpr int maxEmptyReads = 64;

bool libraryReady() {
    static const bool ready = mpg123_init() == MPG123_OK;
    return ready;
}

bool isNonEmptyRegularFile(int fd) {
    struct stat status {};
    return fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0;
}

mpg123_handle* newQuietHandle() {
    mpg123_handle* handle = mpg123_new(nullptr, nullptr);
    if (handle) {
        mpg123_param(handle, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
    }
    return handle;
}

// Any rate, mono or stereo, always 16-bit signed samples.
void allowEverySixteenBitFormat(mpg123_handle* handle) {
    mpg123_format_none(handle);
    const long* rates = nullptr;
    std::size_t rateCount = 0;
    mpg123_rates(&rates, &rateCount);
    for (std::size_t i = 0; i < rateCount; ++i) {
        mpg123_format(handle, rates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    }
}

} // namespace

std::unique_ptr<Mp3Stream> Mp3Stream::open(const char* path) {
    if (!path || !libraryReady()) {
        return nullptr;
    }
    const int fd = openInputFile(path);
    if (fd < 0) {
        return nullptr;
    }
    auto stream = std::make_unique<Mp3Stream>(Opened{}, fd, newQuietHandle());
    if (!stream->handle_ || !isNonEmptyRegularFile(fd) || !stream->findFormat()) {
        return nullptr;
    }
    return stream;
}

Mp3Stream::Mp3Stream(Opened, int fd, mpg123_handle* handle) : fd_(fd), handle_(handle) {}

Mp3Stream::~Mp3Stream() {
    if (handle_) {
        mpg123_delete(handle_);
    }
    ::close(fd_); // libmpg123 never closes a descriptor it was given
}

bool Mp3Stream::findFormat() {
    allowEverySixteenBitFormat(handle_);
    long rate = 0;
    int channels = 0;
    int encoding = 0;
    const auto openAtStart = [&] {
        return lseek(fd_, 0, SEEK_SET) == 0 && mpg123_open_fd(handle_, fd_) == MPG123_OK &&
               mpg123_getformat(handle_, &rate, &channels, &encoding) == MPG123_OK;
    };
    if (!openAtStart()) {
        return false;
    }
    // A header that declares more frames than the file has bytes lies, and believing it can cost
    // libmpg123 seconds of work per kilobyte before it decodes nothing: such a header is skipped.
    struct stat status {};
    if (fstat(fd_, &status) != 0 || mpg123_framelength(handle_) > status.st_size) {
        mpg123_close(handle_);
        mpg123_param(handle_, MPG123_ADD_FLAGS, MPG123_IGNORE_INFOFRAME, 0);
        if (!openAtStart()) {
            return false;
        }
    }
    if (rate <= 0 || channels < 1 || channels > 2) {
        return false;
    }
    // The first frame fixes the format for the whole stream: later frames of another rate or
    // channel count are converted to it, so the byte position keeps one meaning throughout.
    mpg123_format_none(handle_);
    mpg123_format(handle_, rate, channels, MPG123_ENC_SIGNED_16);
    rate_ = static_cast<std::uint32_t>(rate);
    channels_ = static_cast<std::uint32_t>(channels);
    return true;
}

void Mp3Stream::read(std::size_t maxBytes, std::vector<std::uint8_t>& out) {
    const std::size_t wanted = maxBytes - maxBytes % frameBytes();
    out.resize(wanted);
    std::size_t filled = 0;
    int emptyReads = 0;
    while (filled < wanted && !ended_) {
        std::size_t done = 0;
        const int result = mpg123_read(handle_, out.data() + filled, wanted - filled, &done);
        filled += done;
        emptyReads = done == 0 ? emptyReads + 1 : 0;
        const bool more = result == MPG123_OK || result == MPG123_NEW_FORMAT;
        // The end, a cut or data that no longer decodes: the stream stops where its samples stop.
        if (!more || emptyReads > maxEmptyReads) {
            ended_ = true;
        }
    }
    filled -= filled % frameBytes();
    out.resize(filled);
    decodedBytes_ += filled;
}

std::optional<std::uint64_t> Mp3Stream::scanLength() {
    // With a gapless header, `declared` is the header's exact count; without one it is only a
    // guess from the file size, and the scan's count is exact (nothing is trimmed).
    long delay = -1;
    double unused = 0;
    const bool hasGaplessHeader =
        mpg123_getstate(handle_, MPG123_ENC_DELAY, &delay, &unused) == MPG123_OK && delay >= 0;
    const off_t declared = mpg123_length(handle_);
    if (mpg123_scan(handle_) != MPG123_OK) {
        return std::nullopt;
    }
    const off_t scanned = mpg123_length(handle_);
    if (scanned < 0 || (hasGaplessHeader && scanned != declared)) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(scanned) * frameBytes();
}

std::uint64_t Mp3Stream::decodeToEnd() {
    constexpr std::size_t pieceBytes = 1 << 16;
    std::vector<std::uint8_t> rest;
    while (!ended_) {
        read(pieceBytes, rest);
    }
    return decodedBytes_;
}
