#pragma once

#include <cstdint>
#include <stdexcept>
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

// The two checks of an input, each against a plain second reading of the
// rules; shared by the fuzzers and the unit tests.
void checkReaderInput(const std::uint8_t* data, std::size_t size);
void checkEngineInput(const std::uint8_t* data, std::size_t size);

// A broken invariant, saying what was expected.
class CheckFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Throws a CheckFailure with the printf-formatted message; a fuzzer turns it
// into a crash, so that libFuzzer keeps the input, and a unit test into a failure.
[[noreturn]] void failCheck(const char* format, ...) __attribute__((format(printf, 1, 2)));

#define FUZZ_CHECK(condition, ...)                \
    do {                                          \
        if (!(condition)) failCheck(__VA_ARGS__); \
    } while (false)
