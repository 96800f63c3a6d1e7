// Placeholder soundtrack module: plays nothing, reports position 0.
#include "app/soundtrack.h"

namespace Soundtrack {
void initOutput() {}
Stream openStream(const char*) {
    return 0;
}
void play(Stream) {}
std::uint64_t position(Stream) {
    return 0;
}
void release() {}
std::optional<std::uint32_t> byteRate(const char*) {
    return std::nullopt;
}
void forceSilent(std::uint32_t) {}
} // namespace Soundtrack
