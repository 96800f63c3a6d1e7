// Decoding the offline renderer's PNG files with libpng and parsing its frames.csv.
#include "capture_files.h"

#include <csetjmp>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>

#include <png.h>

namespace {

// libpng jumps back here on a broken file; nothing between needs a destructor, and what changes
// after the jump target (the picture, the row pointers) lives in the caller.
bool decode(std::FILE* file, PngPicture& picture, std::vector<png_bytep>& rows) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
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
    for (std::uint32_t y = 0; y < picture.height; ++y) {
        rows.push_back(picture.rows.data() + rowBytes * y);
    }
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

// "frame,time,scene,phase,scene_time,render_ms": whole numbers, decimals and a word.
bool parseRow(const std::string& line, FrameRow& row) {
    std::istringstream fields(line);
    char commas[5] = {};
    fields >> row.frame >> commas[0] >> row.time >> commas[1] >> row.scene >> commas[2];
    std::getline(fields, row.phase, ',');
    fields >> row.sceneTime >> commas[3] >> row.renderMs;
    return fields && fields.peek() == EOF && std::string(commas, 4) == ",,,," &&
           line.find_first_of("+-") == std::string::npos && !row.phase.empty();
}

} // namespace

PngPicture readPng(const std::string& path) {
    PngPicture picture;
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                               &std::fclose);
    std::vector<png_bytep> rows;
    picture.readable = file && decode(file.get(), picture, rows);
    return picture;
}

FrameCsv readFrameCsv(const std::string& path) {
    FrameCsv csv;
    std::ifstream in(path);
    std::getline(in, csv.header);
    for (std::string line; std::getline(in, line);) {
        FrameRow row;
        (parseRow(line, row) ? csv.rows.push_back(row) : csv.badLines.push_back(line));
    }
    return csv;
}
