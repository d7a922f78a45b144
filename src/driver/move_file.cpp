#include "driver/move_file.h"

#include <filesystem>
#include <stdexcept>
#include <system_error>

MoveFile::MoveFile(std::string fileName)
    : fileName_(std::move(fileName)), stream_(std::make_unique<std::ofstream>(fileName_)) {
    if (!stream_->is_open()) throw std::runtime_error("Couldn't open output file");
}

void MoveFile::restart() {
    stream_.reset();
    // No shell is started to delete the old file; a failure shows in the new stream.
    std::error_code ignored;
    std::filesystem::remove(fileName_, ignored);
    stream_ = std::make_unique<std::ofstream>(fileName_);
}

void MoveFile::writeMove(std::uint32_t column, std::uint32_t row, std::uint32_t direction) {
    *stream_ << column << ' ' << row << ' ' << kDirectionLetters[direction] << '\n';
}
