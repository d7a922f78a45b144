#include "tool/svg_document.h"

std::string xmlEscaped(std::string_view text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
            case '&': escaped += "&amp;"; break;
            case '<': escaped += "&lt;"; break;
            case '>': escaped += "&gt;"; break;
            case '"': escaped += "&quot;"; break;
            default: escaped += c;
        }
    }
    return escaped;
}

std::string svgOpening(double width, double height, const std::string& title) {
    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg += formatted(
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%.0f\" height=\"%.0f\" "
        "viewBox=\"0 0 %.0f %.0f\">\n",
        width, height, width, height);
    svg += "<title>" + xmlEscaped(title) + "</title>\n";
    svg += "<rect width=\"100%\" height=\"100%\" fill=\"#f7f4ee\"/>\n";
    return svg;
}
