// Whether a driver's list of extensions (names separated by spaces) holds a name, whole: one that
// only begins a longer name ("GLX_EXT_swap_control_tear") or ends one does not count.
#pragma once

#include <string_view>

inline bool listsExtension(std::string_view list, std::string_view name) {
    for (std::size_t at = list.find(name); at != std::string_view::npos;
         at = list.find(name, at + 1)) {
        const std::size_t end = at + name.size();
        if ((at == 0 || list[at - 1] == ' ') && (end == list.size() || list[end] == ' ')) {
            return true;
        }
    }
    return false;
}
