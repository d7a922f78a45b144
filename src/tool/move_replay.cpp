#include "tool/move_replay.h"

#include <algorithm>
#include <fstream>
#include <optional>
#include <string>

#include "ai/ai.h"
#include "driver/move_file.h"
#include "engine/candidates.h"
#include "engine/gravity.h"
#include "engine/moves.h"
#include "tool/tool_errors.h"

namespace {

// One line without its line end; a carriage return directly before the line feed
// belongs to the line end. False once the file has no more lines.
bool readMoveLine(std::istream& in, const std::filesystem::path& file, std::string& line) {
    if (!std::getline(in, line)) {
        if (in.bad()) throw ToolError("cannot read move file " + file.string());
        return false;
    }
    if (!in.eof() && !line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

// The legal moves are listed by the upper or left cell of each pair, so an N or
// W move is looked up as the Z or O move of its neighbour.
std::optional<Move> asListedMove(const Move& move) {
    switch (move.direction) {
        case North:
            if (move.row == 0) return std::nullopt;
            return Move{move.column, move.row - 1, South};
        case West:
            if (move.column == 0) return std::nullopt;
            return Move{move.column - 1, move.row, East};
        default: return move;
    }
}

class Replay {
public:
    explicit Replay(Game& game) : game_(game) { legalMoves_.reserve(kReservedMoves); }

    void playLine(std::uint32_t lineNumber, const std::string& line) {
        const std::optional<Move> move = parseMoveLine(line);
        if (!move) throw BadMoveLine(lineNumber, "malformed", line);
        const std::optional<Move> legalMove = asLegalMove(*move);
        if (!legalMove) throw BadMoveLine(lineNumber, "illegal move", line);
        swap(game_, *legalMove);
        gameOver_ = !settle(game_).settled;
    }

private:
    std::optional<Move> asLegalMove(const Move& move) {
        // After a cut-off cascade the field never came to rest, so it offers no move.
        if (gameOver_) return std::nullopt;
        const std::optional<Move> listed = asListedMove(move);
        if (!listed) return std::nullopt;
        legalMoves_.clear();
        enumerateAll(game_, &legalMoves_);
        if (std::find(legalMoves_.begin(), legalMoves_.end(), *listed) == legalMoves_.end()) return std::nullopt;
        return listed;
    }

    Game& game_;
    MoveList legalMoves_;
    bool gameOver_ = false;
};

}  // namespace

std::uint32_t replayMoveFile(Game& game, const std::filesystem::path& file, std::uint32_t maxMoves,
                             const ReplayObserver& afterMove) {
    std::ifstream in(file, std::ios::binary);
    if (!in.is_open()) throw ToolError("cannot open move file " + file.string());
    Replay replay(game);
    std::uint32_t played = 0;
    std::string line;
    while (played < maxMoves && readMoveLine(in, file, line)) {
        replay.playLine(played + 1, line);
        ++played;
        if (afterMove) afterMove(played, game);
    }
    return played;
}
