#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

struct ProgramRun {
    int exitStatus;      // -1 when the program did not exit normally
    std::string output;  // everything it wrote to standard output
    std::string errors;  // everything it wrote to standard error
};

// Runs an executable with the given arguments in a working directory, without a
// shell, and collects its standard output and standard error.
ProgramRun runProgramIn(const std::filesystem::path& workingDirectory, const std::string& executable,
                        const std::vector<std::string>& arguments = {});

// Starts an executable in a working directory, without a shell, its standard
// output and standard error going to the given files; answers its process id.
pid_t startProgramIn(const std::filesystem::path& workingDirectory, const std::string& executable,
                     const std::vector<std::string>& arguments, const std::filesystem::path& outputPath,
                     const std::filesystem::path& errorsPath);

// Reads a whole file as bytes.
std::string readFileBytes(const std::filesystem::path& path);

// The path of a file of the source tree, e.g. "levels/example/speelveld.txt".
std::filesystem::path sourcePath(const std::string& relative);
