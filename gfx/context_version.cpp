// Reading the current context's OpenGL version and the GLSL flavour that goes with it.
#include "gfx/context_version.h"

#include <cctype>
#include <cstring>

#include <GL/glew.h>

namespace gfx {

namespace {

// Reads the digits at text into number and returns the character after them, or null.
const char* readNumber(const char* text, int& number) {
    if (!std::isdigit(static_cast<unsigned char>(*text))) {
        return nullptr;
    }
    number = 0;
    for (; std::isdigit(static_cast<unsigned char>(*text)); ++text) {
        number = number * 10 + (*text - '0');
        if (number > 1000) {
            return nullptr;
        }
    }
    return text;
}

} // namespace

ContextVersion parseContextVersion(const char* versionText) {
    ContextVersion version;
    if (versionText == nullptr) {
        return version;
    }
    constexpr const char* embeddedPrefix = "OpenGL ES ";
    const char* at = versionText;
    if (std::strncmp(at, embeddedPrefix, std::strlen(embeddedPrefix)) == 0) {
        version.embedded = true;
        at += std::strlen(embeddedPrefix);
    }
    int major = 0, minor = 0;
    at = readNumber(at, major);
    if (at == nullptr || *at != '.' || readNumber(at + 1, minor) == nullptr) {
        return {};
    }
    version.major = major;
    version.minor = minor;
    return version;
}

Flavour flavourOf(ContextVersion version) {
    const auto atLeast = [version](int major, int minor) {
        return version.major > major || (version.major == major && version.minor >= minor);
    };
    if (version.embedded) {
        return atLeast(3, 0) ? Flavour::Embedded30 : Flavour::Desktop21;
    }
    return atLeast(3, 3) ? Flavour::Desktop33 : Flavour::Desktop21;
}

ContextVersion currentContextVersion() {
    return parseContextVersion(reinterpret_cast<const char*>(glGetString(GL_VERSION)));
}

bool listsExtension(const char* list, const char* name) {
    if (list == nullptr || *name == '\0') {
        return false;
    }
    const std::size_t length = std::strlen(name);
    for (const char* at = std::strstr(list, name); at != nullptr;
         at = std::strstr(at + length, name)) {
        const bool starts = at == list || at[-1] == ' ';
        const bool ends = at[length] == ' ' || at[length] == '\0';
        if (starts && ends) {
            return true;
        }
    }
    return false;
}

bool contextOffersExtension(const char* name) {
    return listsExtension(reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS)), name);
}

} // namespace gfx
