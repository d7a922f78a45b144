#pragma once

#include <cstdio>
#include <string>

// Text made from a printf pattern, of any length.
template <typename... Values>
std::string formatted(const char* pattern, Values... values) {
    const int length = std::snprintf(nullptr, 0, pattern, values...);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    std::snprintf(text.data(), text.size() + 1, pattern, values...);
    return text;
}
