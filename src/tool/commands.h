#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "planner/beam_search.h"
#include "tool/move_replay.h"
#include "tool/random_level.h"

// The subcommands of jewels-tool, each given its parsed options; each returns
// the exit status and throws what the entry reports.

struct VerifyOptions {
    std::string levelFolder = ".";
    std::string moveFile;     // empty: uitvoer.txt in the level folder
    std::uint32_t every = 0;  // 0: no progress lines
    bool time = false;        // also print the time per move
};
int runVerify(const VerifyOptions& options);

struct PlayOptions {
    std::string levelFolder = ".";
    std::string ai;
    std::uint32_t moves = 0;
    std::string outFile;  // empty: no move file
    bool time = false;    // also print the time per move
};
int runPlay(const PlayOptions& options);

struct BenchOptions {
    std::string levelFolder = ".";
    std::vector<std::string> ais;  // empty: the whole roster
};
int runBench(const BenchOptions& options);

struct ShowOptions {
    std::string levelFolder = ".";
    std::string moveFile;  // empty: the starting field
    std::uint32_t after = kEveryMove;
    std::string svgFile;  // empty: no picture
};
int runShow(const ShowOptions& options);

struct SolveOptions {
    std::string levelFolder = ".";
    std::uint32_t moves = 100000;
    double budgetSeconds = 880.0;
    std::string outFile;      // empty: uitvoer.txt in the level folder
    std::uint32_t width = 0;  // 0: sized to the budget
    SearchSettings search;    // its width unused
};
int runSolve(const SolveOptions& options);

struct GenerateOptions {
    std::string folder;
    LevelShape shape;
    std::vector<std::uint32_t> supplyLengths = {20, 60};  // shortest and longest
    std::string rocks = "none";
};
int runGenerate(const GenerateOptions& options);

struct ReportOptions {
    std::vector<std::string> logFiles;
    std::string svgFile;  // empty: no chart
};
int runReport(const ReportOptions& options);
