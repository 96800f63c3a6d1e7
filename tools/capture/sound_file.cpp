// Writing a source's samples as a WAV file: the RIFF header, then the samples as they are read.
#include "tools/capture/sound_file.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <system_error>
#include <vector>

namespace {

// A second of samples at a time.
constexpr std::size_t pieceSeconds = 1;

void putLittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

// The 44-byte header of 16-bit PCM, with the data's size in bytes.
std::vector<std::uint8_t> wavHeader(const SampleSource& source, std::uint32_t dataBytes) {
    std::vector<std::uint8_t> header;
    const auto text = [&header](const char* four) {
        for (int i = 0; i < 4; ++i) {
            header.push_back(static_cast<std::uint8_t>(four[i]));
        }
    };
    text("RIFF");
    putLittleEndian(header, 36 + dataBytes, 4);
    text("WAVE");
    text("fmt ");
    putLittleEndian(header, 16, 4);
    putLittleEndian(header, 1, 2); // PCM
    putLittleEndian(header, source.channels(), 2);
    putLittleEndian(header, source.rate(), 4);
    putLittleEndian(header, source.byteRate(), 4);
    putLittleEndian(header, source.frameBytes(), 2);
    putLittleEndian(header, 16, 2);
    text("data");
    putLittleEndian(header, dataBytes, 4);
    return header;
}

void writeBytes(std::ofstream& file, const std::vector<std::uint8_t>& bytes) {
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// A name no other render picks: renders run side by side.
std::string newPath() {
    std::random_device random;
    char name[48];
    std::snprintf(name, sizeof name, "ombra-capture-%08x%08x.wav", random(), random());
    return (std::filesystem::temp_directory_path() / name).string();
}

} // namespace

SoundFile::SoundFile(SampleSource& source) : path_(newPath()) {
    std::ofstream file(path_, std::ios::binary | std::ios::trunc);
    writeBytes(file, wavHeader(source, 0));
    std::uint32_t dataBytes = 0;
    std::vector<std::uint8_t> piece;
    do {
        source.read(pieceSeconds * source.byteRate(), piece);
        writeBytes(file, piece);
        dataBytes += static_cast<std::uint32_t>(piece.size());
    } while (!piece.empty());
    file.seekp(0);
    writeBytes(file, wavHeader(source, dataBytes));
    file.close();
    if (!file) {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
        throw std::runtime_error("cannot write the soundtrack's samples to " + path_);
    }
}

SoundFile::~SoundFile() {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
}
