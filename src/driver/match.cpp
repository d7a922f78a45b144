#include "driver/match.h"

#include <optional>
#include <span>
#include <vector>

#include "ai/survive.h"
#include "driver/console.h"
#include "driver/live_game.h"
#include "driver/move_file.h"
#include "driver/stopwatch.h"

namespace {

// Once the budget is spent there is no time left, not a wrapped-around fortune:
// the fastest strategy then ends the run soonest.
std::uint32_t timeLeftMs(std::uint32_t budgetMs) {
    const std::uint32_t elapsed = programClock.read();
    return elapsed >= budgetMs ? 0 : budgetMs - elapsed;
}

class MatchRunner {
public:
    MatchRunner(const Roster& roster, const PerformanceTable& table, Game& game, const MatchRules& rules, Ai& fallback)
        : roster_(roster),
          table_(table),
          game_(game),
          rules_(rules),
          moveFile_(kMoveFileName),
          fallback_(fallback),
          moves_(rules.totalMoves, Move{0, 0, East}),
          snapshots_((rules.totalMoves + rules.checkpointInterval - 1) / rules.checkpointInterval),
          retried_(snapshots_.size(), false) {}

    MatchResult play() {
        for (std::uint32_t movesLeft = rules_.totalMoves; movesLeft > 0; movesLeft -= rules_.chunkSize) {
            if (!playChunk(movesLeft)) return MatchResult::GaveUp;
        }
        return MatchResult::Completed;
    }

private:
    bool playChunk(std::uint32_t movesLeft) {
        const std::uint32_t msLeft = timeLeftMs(rules_.budgetMs);
        const unsigned best = chooseBestAi(movesLeft, msLeft, table_.data(), kRosterSize);
        Ai* currentAi = roster_[best].get();
        unsigned currentAiNumber = best;
        printNow("Score %u, %ums left, %u moves left, best ai = #%u\n", game_.score, msLeft, movesLeft, best);

        const std::uint32_t chunkStart = moveNumber_;
        const std::uint32_t chunkEnd = chunkStart + rules_.chunkSize;
        retried_.assign(retried_.size(), false);
        bool rewoundBeforeChunk = false;

        while (moveNumber_ < chunkEnd) {
            if (moveNumber_ % rules_.checkpointInterval == 0) takeCheckpoint();
            Move move{0, 0, East};
            if (currentAi->chooseMove(move, game_)) {
                playLiveMove(game_, move);
                moves_[moveNumber_++] = move;
                continue;
            }
            printNow("Ai #%u failed at move %u, retrying with survive ai\n", currentAiNumber, moveNumber_);
            currentAi = &fallback_;
            currentAiNumber = kFallbackAiNumber;
            const std::optional<std::uint32_t> checkpoint = unusedCheckpoint();
            if (!checkpoint) {
                printNow("No f*cking way: can't solve these 1000 moves... not even in survival mode.. i FAILED\n");
                return false;
            }
            rewindTo(*checkpoint);
            rewoundBeforeChunk = rewoundBeforeChunk || moveNumber_ < chunkStart;
        }
        writeChunk(chunkStart, chunkEnd, rewoundBeforeChunk);
        return true;
    }

    void takeCheckpoint() { snapshots_[moveNumber_ / rules_.checkpointInterval] = game_; }

    // The latest checkpoint at or before the failing move not yet reset to in this chunk.
    std::optional<std::uint32_t> unusedCheckpoint() const {
        for (std::uint32_t slot = moveNumber_ / rules_.checkpointInterval + 1; slot-- > 0;)
            if (!retried_[slot]) return slot;
        return std::nullopt;
    }

    void rewindTo(std::uint32_t slot) {
        printNow("Resetting to move (%u) %u\n", slot, slot * rules_.checkpointInterval);
        moveNumber_ = slot * rules_.checkpointInterval;
        game_ = *snapshots_[slot];
        retried_[slot] = true;
    }

    // The file always holds the moves of the game as played: after a rewind into
    // an earlier chunk, those replayed moves replace the lines written before.
    void writeChunk(std::uint32_t chunkStart, std::uint32_t chunkEnd, bool rewoundBeforeChunk) {
        const std::span<const Move> played(moves_);
        if (chunkStart == 0 || rewoundBeforeChunk)
            moveFile_.replaceWith(played.first(chunkEnd));
        else
            moveFile_.append(played.subspan(chunkStart, chunkEnd - chunkStart));
    }

    const Roster& roster_;
    const PerformanceTable& table_;
    Game& game_;
    const MatchRules rules_;
    MoveFile moveFile_;
    Ai& fallback_;
    std::vector<Move> moves_;
    std::vector<std::optional<Game>> snapshots_;
    std::vector<bool> retried_;
    std::uint32_t moveNumber_ = 0;
};

}  // namespace

MatchResult playMatch(const Roster& roster, const PerformanceTable& table, Game& game, const MatchRules& rules,
                      Ai& fallback) {
    return MatchRunner(roster, table, game, rules, fallback).play();
}

MatchResult playMatch(const Roster& roster, const PerformanceTable& table, Game& game, const MatchRules& rules) {
    SurviveAi fallback;
    return playMatch(roster, table, game, rules, fallback);
}
