#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// Text made from a printf pattern, of any length.
template <typename... Values>
std::string formatted(const char* pattern, Values... values) {
    const int length = std::snprintf(nullptr, 0, pattern, values...);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    std::snprintf(text.data(), text.size() + 1, pattern, values...);
    return text;
}

// Text as it may stand in XML character data or in an attribute value.
std::string xmlEscaped(std::string_view text);

// The opening of an SVG document of the given size: the XML declaration, the svg
// element, a title and a background filling the picture. The caller adds the
// drawing and "</svg>\n".
std::string svgOpening(double width, double height, const std::string& title);
