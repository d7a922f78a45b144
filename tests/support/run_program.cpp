#include "support/run_program.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>

pid_t startProgramIn(const std::filesystem::path& workingDirectory, const std::string& executable,
                     const std::vector<std::string>& arguments, const std::filesystem::path& outputPath,
                     const std::filesystem::path& errorsPath) {
    const pid_t child = ::fork();
    if (child < 0) throw std::runtime_error("fork failed");
    if (child == 0) {
        const int outputFile = ::open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int errorsFile = ::open(errorsPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (outputFile < 0 || errorsFile < 0 || ::chdir(workingDirectory.c_str()) != 0) ::_exit(127);
        ::dup2(outputFile, STDOUT_FILENO);
        ::dup2(errorsFile, STDERR_FILENO);
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(executable.c_str()));
        for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        ::execv(executable.c_str(), argv.data());
        ::_exit(127);
    }
    return child;
}

ProgramRun runProgramIn(const std::filesystem::path& workingDirectory, const std::string& executable,
                        const std::vector<std::string>& arguments, std::optional<Interruption> interruption) {
    const std::filesystem::path outputPath = workingDirectory / ".stdout";
    const std::filesystem::path errorsPath = workingDirectory / ".stderr";
    const pid_t child = startProgramIn(workingDirectory, executable, arguments, outputPath, errorsPath);
    int status = 0;
    if (interruption) {
        ::usleep(static_cast<useconds_t>(interruption->afterMs) * 1000);
        if (::waitpid(child, &status, WNOHANG) == 0) ::kill(child, interruption->signal);
    }
    ::waitpid(child, &status, 0);
    ProgramRun run{WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFileBytes(outputPath), readFileBytes(errorsPath)};
    std::filesystem::remove(outputPath);
    std::filesystem::remove(errorsPath);
    return run;
}

std::string withoutTimes(const std::string& output) {
    return std::regex_replace(output, std::regex("(in |, )[0-9]+ms"), "$1?ms");
}

std::string readFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::filesystem::path sourcePath(const std::string& relative) {
    return std::filesystem::path(JEWELS_SOURCE_DIR) / relative;
}
