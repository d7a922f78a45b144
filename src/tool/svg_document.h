#pragma once

#include <string>
#include <string_view>

#include "tool/formatted.h"

// Text as it may stand in XML character data or in an attribute value.
std::string xmlEscaped(std::string_view text);

// The opening of an SVG document of the given size: the XML declaration, the svg
// element, a title and a background filling the picture. The caller adds the
// drawing and "</svg>\n".
std::string svgOpening(double width, double height, const std::string& title);
