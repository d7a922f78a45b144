#pragma once

#include <filesystem>
#include <string>

// Writes text to a file exactly as given, replacing what was there. Throws
// ToolError when the file cannot be written.
void writeTextFile(const std::filesystem::path& file, const std::string& text);
