// Reading what the offline renderer writes: PNG pictures and frames.csv.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct PngPicture {
    bool readable = false; // false for anything libpng refuses
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int bitDepth = 0;
    int colourType = -1;            // PNG_COLOR_TYPE_*
    std::vector<std::uint8_t> rows; // the decoded bytes as stored, top row first
};

PngPicture readPng(const std::string& path);

struct FrameRow {
    std::uint64_t frame = 0;
    double time = 0;
    int scene = 0;
    std::string phase;
    double sceneTime = 0;
    double renderMs = 0;
};

struct FrameCsv {
    std::string header;
    std::vector<FrameRow> rows;
    std::vector<std::string> badLines; // lines that are not six well-formed fields
};

FrameCsv readFrameCsv(const std::string& path);
