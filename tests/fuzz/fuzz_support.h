#pragma once

#include <cstdint>
#include <string>

// A folder of this process's own for the two level files, made on first use
// and removed at exit. Every input overwrites the files, so one folder serves
// millions of inputs without touching the rest of the file system.
class LevelFolder {
public:
    static LevelFolder& instance();

    std::string layoutFile() const { return path + "/speelveld.txt"; }
    std::string supplyFile() const { return path + "/kolommen.txt"; }

    void writeLayout(const std::string& bytes) const { write(layoutFile(), bytes); }
    void writeSupply(const std::string& bytes) const { write(supplyFile(), bytes); }
    void removeSupply() const;

    ~LevelFolder();
    LevelFolder(const LevelFolder&) = delete;
    LevelFolder& operator=(const LevelFolder&) = delete;

private:
    LevelFolder();
    static void write(const std::string& fileName, const std::string& bytes);

    std::string path;
};

// A broken invariant: prints what was expected and aborts, so libFuzzer keeps
// the input as a crash. Takes printf arguments.
[[noreturn]] void failCheck(const char* format, ...) __attribute__((format(printf, 1, 2)));

#define FUZZ_CHECK(condition, ...)                  \
    do {                                            \
        if (!(condition)) failCheck(__VA_ARGS__);   \
    } while (false)
