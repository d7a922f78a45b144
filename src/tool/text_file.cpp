#include "tool/text_file.h"

#include <fstream>

#include "tool/tool_errors.h"

void writeTextFile(const std::filesystem::path& file, const std::string& text) {
    std::ofstream out(file, std::ios::binary);
    out << text;
    out.close();
    if (!out) throw ToolError("cannot write " + file.string());
}
