// Reading what the offline renderer writes: PNG pictures, frames.csv and the built-in sound.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct PngPicture {
    bool is640x480Rgb = false; // readable, 640x480, stored as 8-bit RGB without alpha
    int width = 0, height = 0;
    std::vector<std::uint8_t> rows; // decoded to 8-bit RGB, top row first
};

PngPicture readPng(const std::string& path);

// 64-bit FNV-1a of decoded pixels, which do not depend on how the PNG was compressed.
std::uint64_t pixelHash(const std::vector<std::uint8_t>& bytes);

// The Linux renderer's frames at 10 fps, seed 1, by their pixel hashes, from frame_hashes.txt.
std::map<std::uint64_t, std::uint64_t> recordedFrameHashes();

std::string frameFile(std::uint64_t frame); // "frame_000042.png"

struct FrameRow {
    std::uint64_t frame = 0;
    double time = 0;
    int scene = 0;
    std::string phase;
    double sceneTime = 0, renderMs = 0;
};

struct FrameCsv {
    std::string header;
    std::vector<FrameRow> rows;
    std::vector<std::string> badLines; // lines that are not six well-formed fields
};

FrameCsv readFrameCsv(const std::string& path);

// The built-in soundtrack's whole sample bytes, as the programs give their output and ffmpeg.
const std::string& builtInTrackBytes();
