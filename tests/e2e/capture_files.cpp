// Decoding the offline renderer's PNG files with libpng and parsing its frames.csv.
#include "capture_files.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

#include <png.h>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// libpng jumps back here on a broken file; nothing between needs a destructor, and what changes
// after the jump target (the picture, the row pointers) lives in the caller.
bool decode(std::FILE* file, PngPicture& picture, std::vector<png_bytep>& rows) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_init_io(png, file);
    png_read_info(png, info);
    picture.width = png_get_image_width(png, info);
    picture.height = png_get_image_height(png, info);
    picture.bitDepth = png_get_bit_depth(png, info);
    picture.colourType = png_get_color_type(png, info);
    const std::size_t rowBytes = png_get_rowbytes(png, info);
    picture.rows.resize(rowBytes * picture.height);
    rows.resize(picture.height);
    for (std::uint32_t y = 0; y < picture.height; ++y) {
        rows[y] = picture.rows.data() + rowBytes * y;
    }
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

bool parseRow(const std::string& line, FrameRow& row) {
    std::vector<std::string> fields;
    std::stringstream stream(line);
    std::string field;
    while (std::getline(stream, field, ',')) {
        fields.push_back(field);
    }
    if (fields.size() != 6) {
        return false;
    }
    char* end = nullptr;
    const auto number = [&](const std::string& text) {
        const double value = std::strtod(text.c_str(), &end);
        return (text.empty() || *end != '\0') ? -1e300 : value;
    };
    row.frame = static_cast<std::uint64_t>(number(fields[0]));
    row.time = number(fields[1]);
    row.scene = static_cast<int>(number(fields[2]));
    row.phase = fields[3];
    row.sceneTime = number(fields[4]);
    row.renderMs = number(fields[5]);
    return fields[0].find_first_not_of("0123456789") == std::string::npos &&
           fields[2].find_first_not_of("0123456789") == std::string::npos && row.time > -1e300 &&
           row.sceneTime > -1e300 && row.renderMs > -1e300;
}

} // namespace

PngPicture readPng(const std::string& path) {
    PngPicture picture;
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    std::vector<png_bytep> rows;
    picture.readable = file && decode(file.get(), picture, rows);
    return picture;
}

FrameCsv readFrameCsv(const std::string& path) {
    FrameCsv csv;
    std::ifstream in(path);
    std::getline(in, csv.header);
    std::string line;
    while (std::getline(in, line)) {
        FrameRow row;
        if (parseRow(line, row)) {
            csv.rows.push_back(row);
        } else {
            csv.badLines.push_back(line);
        }
    }
    return csv;
}
