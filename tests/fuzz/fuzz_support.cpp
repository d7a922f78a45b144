#include "fuzz_support.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

LevelFolder& LevelFolder::instance() {
    static LevelFolder folder;
    return folder;
}

LevelFolder::LevelFolder() {
    // Memory-backed when the machine has it: the files are rewritten for every input.
    const std::string base = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : "/tmp";
    std::string pattern = base + "/jewels-fuzz-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) failCheck("cannot create a folder under %s", base.c_str());
    path = pattern;
}

LevelFolder::~LevelFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

void LevelFolder::removeSupply() const {
    std::error_code ignored;
    std::filesystem::remove(supplyFile(), ignored);
}

void LevelFolder::write(const std::string& fileName, const std::string& bytes) {
    std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) failCheck("cannot write %s", fileName.c_str());
}

void failCheck(const char* format, ...) {
    char message[512];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(message, sizeof message, format, arguments);
    va_end(arguments);
    throw CheckFailure(message);
}
