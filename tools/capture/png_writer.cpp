// PNG encoding with libpng into memory, then one plain file write, removed again if it fails.
#include "tools/capture/png_writer.h"

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>

#include <png.h>

namespace {

// The captures favour speed over size: they are written once and read once.
constexpr int compressionLevel = 3;

void appendToBuffer(png_structp png, png_bytep data, png_size_t length) {
    auto* buffer = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    buffer->insert(buffer->end(), data, data + length);
}

void flushNothing(png_structp) {}

// libpng reports errors by jumping back to the setjmp below; nothing between the jump and its
// target needs a destructor.
bool encodePng(const RgbImage& image, std::vector<std::uint8_t>& out) {
    std::vector<png_bytep> rows(static_cast<std::size_t>(image.height));
    for (int y = 0; y < image.height; ++y) {
        rows[static_cast<std::size_t>(y)] = const_cast<png_bytep>(
            image.pixels.data() + static_cast<std::size_t>(y) * image.width * 3);
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &out, appendToBuffer, flushNothing);
    png_set_compression_level(png, compressionLevel);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
                 static_cast<png_uint_32>(image.height), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace

void writePng(const std::string& path, const RgbImage& image) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != static_cast<std::size_t>(image.width) * image.height * 3) {
        throw std::runtime_error("cannot write " + path + ": the picture's size is inconsistent");
    }
    std::vector<std::uint8_t> encoded;
    if (!encodePng(image, encoded)) {
        throw std::runtime_error("cannot encode " + path + " as PNG");
    }
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file) {
        throw std::runtime_error("cannot write " + path + ": " + std::strerror(errno));
    }
    const bool written =
        std::fwrite(encoded.data(), 1, encoded.size(), file.get()) == encoded.size();
    const int writeError = errno;
    const bool closed = std::fclose(file.release()) == 0;
    if (!written || !closed) {
        // A full disk would otherwise leave a frame file that is empty or cut short, which a
        // reader takes for a frame. Closed first: Windows removes no open file.
        const int error = written ? errno : writeError;
        std::remove(path.c_str());
        throw std::runtime_error("cannot write " + path + ": " + std::strerror(error));
    }
}
