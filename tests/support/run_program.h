#pragma once

#include <sys/types.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

struct ProgramRun {
    int exitStatus;      // -1 when the program did not exit normally
    std::string output;  // everything it wrote to standard output
    std::string errors;  // everything it wrote to standard error
};

// A signal sent to a running program once it has run for a while.
struct Interruption {
    int signal;
    int afterMs;
};

// Runs an executable with the given arguments in a working directory, without a
// shell, and collects its standard output and standard error; when given the
// interruption, sends its signal at its moment unless the program ended before.
ProgramRun runProgramIn(const std::filesystem::path& workingDirectory, const std::string& executable,
                        const std::vector<std::string>& arguments = {},
                        std::optional<Interruption> interruption = std::nullopt);

// Starts an executable in a working directory, without a shell, its standard
// output and standard error going to the given files; answers its process id.
pid_t startProgramIn(const std::filesystem::path& workingDirectory, const std::string& executable,
                     const std::vector<std::string>& arguments, const std::filesystem::path& outputPath,
                     const std::filesystem::path& errorsPath);

// The output of jewels with the milliseconds it measured, its trial times and
// the time left, as "?": the only figures that vary from run to run.
std::string withoutTimes(const std::string& output);

// Reads a whole file as bytes.
std::string readFileBytes(const std::filesystem::path& path);

// The path of a file of the source tree, e.g. "levels/example/speelveld.txt".
std::filesystem::path sourcePath(const std::string& relative);
