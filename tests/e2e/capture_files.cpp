// Decoding the offline renderer's PNG files with libpng and parsing its frames.csv.
#include "capture_files.h"

#include <fstream>
#include <sstream>

#include <png.h>

#include "audio/built_in_track.h"

namespace {

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
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_file(&image, path.c_str())) {
        // The file's own format, before asking for 8-bit RGB.
        const bool rgb = image.format == PNG_FORMAT_RGB;
        picture.width = static_cast<int>(image.width);
        picture.height = static_cast<int>(image.height);
        image.format = PNG_FORMAT_RGB;
        picture.rows.resize(PNG_IMAGE_SIZE(image));
        picture.is640x480Rgb =
            rgb && png_image_finish_read(&image, nullptr, picture.rows.data(), 0, nullptr) &&
            picture.width == 640 && picture.height == 480;
    }
    png_image_free(&image);
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

std::uint64_t pixelHash(const std::vector<std::uint8_t>& bytes) {
    std::uint64_t hash = 14695981039346656037ull;
    for (const std::uint8_t byte : bytes) {
        hash = (hash ^ byte) * 1099511628211ull;
    }
    return hash;
}

// "frame hash" pairs, any number a line, after a "#" nothing.
std::map<std::uint64_t, std::uint64_t> recordedFrameHashes() {
    std::map<std::uint64_t, std::uint64_t> hashes;
    std::ifstream file(std::string(OMBRA_SOURCE_DIR) + "/tests/e2e/frame_hashes.txt");
    for (std::string line; std::getline(file, line);) {
        std::istringstream pairs(line.substr(0, line.find('#')));
        std::uint64_t frame = 0, hash = 0;
        while (pairs >> std::dec >> frame >> std::hex >> hash) {
            hashes[frame] = hash;
        }
    }
    return hashes;
}

std::string frameFile(std::uint64_t frame) {
    char name[32];
    std::snprintf(name, sizeof name, "frame_%06llu.png", static_cast<unsigned long long>(frame));
    return name;
}

const std::string& builtInTrackBytes() {
    static const std::string whole = [] {
        BuiltInTrack track;
        std::string all;
        std::vector<std::uint8_t> piece;
        do {
            track.read(1 << 20, piece);
            all.append(piece.begin(), piece.end());
        } while (!piece.empty());
        return all;
    }();
    return whole;
}
