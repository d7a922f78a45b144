#include "driver/move_file.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <limits>
#include <stdexcept>
#include <system_error>

namespace {

std::optional<std::uint32_t> parseNumber(std::string_view text) {
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    if (text.empty() || !std::all_of(text.begin(), text.end(), isDigit)) return std::nullopt;
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error == std::errc::result_out_of_range) return std::numeric_limits<std::uint32_t>::max();
    return value;
}

std::optional<std::uint32_t> parseDirection(std::string_view text) {
    const std::string_view letters(kDirectionLetters);
    if (text.size() != 1) return std::nullopt;
    const std::size_t direction = letters.find(text.front());
    if (direction == std::string_view::npos) return std::nullopt;
    return static_cast<std::uint32_t>(direction);
}

}  // namespace

MoveFile::MoveFile(std::string fileName)
    : fileName_(std::move(fileName)), stream_(std::make_unique<std::ofstream>(fileName_)) {
    if (!stream_->is_open()) throw std::runtime_error("Couldn't open output file");
}

void MoveFile::replaceWith(std::span<const Move> moves) {
    stream_.reset();
    const std::string replacement = fileName_ + ".new";
    stream_ = std::make_unique<std::ofstream>(replacement);
    for (const Move& move : moves) writeMove(move);
    stream_.reset();
    std::error_code failed;
    std::filesystem::rename(replacement, fileName_, failed);
    if (failed) std::filesystem::remove(replacement, failed);
    stream_ = std::make_unique<std::ofstream>(fileName_, std::ios::app);
}

void MoveFile::append(std::span<const Move> moves) {
    for (const Move& move : moves) writeMove(move);
    stream_->flush();
}

void MoveFile::writeMove(std::uint32_t column, std::uint32_t row, std::uint32_t direction) {
    *stream_ << column << ' ' << row << ' ' << kDirectionLetters[direction] << '\n';
}

std::optional<Move> parseMoveLine(std::string_view line) {
    const std::size_t firstBlank = line.find(' ');
    if (firstBlank == std::string_view::npos) return std::nullopt;
    const std::size_t secondBlank = line.find(' ', firstBlank + 1);
    if (secondBlank == std::string_view::npos) return std::nullopt;
    const auto column = parseNumber(line.substr(0, firstBlank));
    const auto row = parseNumber(line.substr(firstBlank + 1, secondBlank - firstBlank - 1));
    const auto direction = parseDirection(line.substr(secondBlank + 1));
    if (!column || !row || !direction) return std::nullopt;
    return Move{*column, *row, *direction};
}
