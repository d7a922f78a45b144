// jewels-tool: the companion of jewels. It checks and replays move files, lets a
// strategy play, measures strategies, draws fields, generates levels and charts
// the logs of runs, all with the library that jewels itself runs on.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>
#include <thread>

#include "tool/commands.h"
#include "tool/tool_errors.h"

namespace {

struct ToolOptions {
    VerifyOptions verify;
    PlayOptions play;
    BenchOptions bench;
    ShowOptions show;
    SolveOptions solve;
    GenerateOptions generate;
    ReportOptions report;
};

struct Subcommands {
    CLI::App* verify;
    CLI::App* play;
    CLI::App* bench;
    CLI::App* show;
    CLI::App* solve;
    CLI::App* generate;
    CLI::App* report;
};

void addLevelOption(CLI::App& command, std::string& folder) {
    command.add_option("--level", folder, "Folder holding speelveld.txt and kolommen.txt")
        ->type_name("DIR")
        ->capture_default_str();
}

CLI::App* addVerify(CLI::App& tool, VerifyOptions& options) {
    CLI::App* verify = tool.add_subcommand(
        "verify",
        "Replays a move file from the level's settled start; prints \"ok N moves, score S\" "
        "(S the game's score, the first fill's points included, as jewels prints it) or the first bad "
        "line (exit status 1)");
    addLevelOption(*verify, options.levelFolder);
    verify->add_option("MOVEFILE", options.moveFile, "The move file [default: uitvoer.txt in the level folder]");
    verify->add_option("--every", options.every, "Also print the game's score after every K moves")
        ->type_name("K")
        ->check(CLI::Range(1u, kEveryMove));
    verify->add_flag("--time", options.time, "Also print the time the replay took, in ms per move");
    return verify;
}

CLI::App* addPlay(CLI::App& tool, PlayOptions& options) {
    CLI::App* play = tool.add_subcommand(
        "play",
        "Lets one strategy play from the level's settled start; prints \"MOVE COLUMN ROW LETTER SCORE\" "
        "per move (SCORE the game's score after it), then \"total POINTS moves N\" "
        "(POINTS gained by the moves, the first fill's points left out)");
    addLevelOption(*play, options.levelFolder);
    play->add_option("--ai", options.ai,
                     "Roster index 0-9, 7777 for SurviveAi, or a class name such as 'SimpleRecursiveAi<2>'")
        ->type_name("AI")
        ->required();
    play->add_option("--moves", options.moves, "Most moves to play")
        ->type_name("M")
        ->required()
        ->check(CLI::Range(1u, kEveryMove));
    play->add_option("--out", options.outFile, "Also write the moves to this move file")->type_name("FILE");
    play->add_flag("--time", options.time, "Also print the time the moves took, in ms per move");
    return play;
}

CLI::App* addBench(CLI::App& tool, BenchOptions& options) {
    CLI::App* bench =
        tool.add_subcommand("bench", "Runs the strategy benchmark of jewels on the level's settled start");
    addLevelOption(*bench, options.levelFolder);
    bench->add_option("--ai", options.ais, "Only these strategies: roster indices or class names, comma-separated")
        ->type_name("LIST")
        ->delimiter(',');
    return bench;
}

CLI::App* addShow(CLI::App& tool, ShowOptions& options) {
    CLI::App* show = tool.add_subcommand(
        "show",
        "Draws the field as jewels does, after replaying a move file; prints \"score S after N moves\" "
        "(S the game's score, the first fill's points included)");
    addLevelOption(*show, options.levelFolder);
    CLI::Option* moves =
        show->add_option("--moves", options.moveFile, "Move file to replay [default: none]")->type_name("FILE");
    show->add_option("--after", options.after, "Replay only the first N lines [default: all]")
        ->type_name("N")
        ->needs(moves);
    show->add_option("--svg", options.svgFile, "Also draw the field as an SVG picture")->type_name("FILE");
    return show;
}

CLI::App* addSolve(CLI::App& tool, SolveOptions& options) {
    CLI::App* solve =
        tool.add_subcommand("solve",
                            "Plans the best moves it can find within a time budget and writes them as a move file; "
                            "prints \"solved N moves, score S in T ms\" (S the game's score), exit status 7 when every "
                            "line runs out of moves even after going back to checkpoints, 130 or 143 when interrupted "
                            "(the moves so far are written)");
    addLevelOption(*solve, options.levelFolder);
    solve->add_option("--moves", options.moves, "Most moves to play")
        ->type_name("N")
        ->capture_default_str()
        ->check(CLI::Range(1u, kEveryMove));
    solve->add_option("--budget", options.budgetSeconds, "Wall-clock seconds for the whole command, loading included")
        ->type_name("SECONDS")
        ->capture_default_str()
        ->check(CLI::Range(1.0, 1e7));
    solve->add_option("--out", options.outFile, "The move file [default: uitvoer.txt in the level folder]")
        ->type_name("FILE");
    solve
        ->add_option("--width", options.width,
                     "Keep W positions per move instead of sizing the search to the budget: no clock, "
                     "the same file on every machine")
        ->type_name("W")
        ->check(CLI::Range(1u, 100000u));
    solve->add_option("--depth", options.search.depth, "Most moves the lines run ahead of the moves played")
        ->type_name("D")
        ->capture_default_str()
        ->check(CLI::Range(1u, 1000u));
    solve
        ->add_option("--move-weight", options.search.pointsPerLegalMove,
                     "Points each legal move on the field is worth to the search")
        ->type_name("P")
        ->capture_default_str()
        ->check(CLI::Range(0u, 100000u));
    solve
        ->add_option("--scarce-weight", options.search.scarcePointsPerSize,
                     "Points the first legal move is worth besides, per square root of the jewel spaces; "
                     "the k-th move is worth 1/k of them")
        ->type_name("P")
        ->capture_default_str()
        ->check(CLI::Range(0u, 1000000u));
    // Every processor the machine has, unless told otherwise: the moves are the same for any count.
    options.search.threads = std::max(1u, std::thread::hardware_concurrency());
    solve->add_option("--threads", options.search.threads, "Threads that search, the same moves for any count")
        ->type_name("T")
        ->capture_default_str()
        ->check(CLI::Range(1u, 256u));
    return solve;
}

CLI::App* addGenerate(CLI::App& tool, GenerateOptions& options) {
    CLI::App* generate = tool.add_subcommand("generate", "Writes a random level into a folder, created if missing");
    generate->add_option("DIR", options.folder, "Folder for speelveld.txt and kolommen.txt")->required();
    generate->add_option("--cols", options.shape.columns, "Columns, 5 to 50")
        ->type_name("C")
        ->required()
        ->check(CLI::Range(5u, 50u));
    generate->add_option("--rows", options.shape.rows, "Rows, 5 to 50")
        ->type_name("R")
        ->required()
        ->check(CLI::Range(5u, 50u));
    generate->add_option("--kinds", options.shape.kinds, "Jewel kinds, 1 to 10")
        ->type_name("K")
        ->capture_default_str()
        ->check(CLI::Range(1u, 10u));
    generate->add_option("--seed", options.shape.seed, "Seed of the random numbers")
        ->type_name("S")
        ->capture_default_str();
    generate->add_option("--supply", options.supplyLengths, "Shortest and longest supply, 1 <= MIN <= MAX <= 1000")
        ->type_name("MIN MAX")
        ->expected(2)
        ->capture_default_str()
        ->check(CLI::Range(1u, 1000u));
    generate->add_option("--rocks", options.rocks, "Rock at the bottom of the columns: none or ragged")
        ->capture_default_str()
        ->check(CLI::IsMember({"none", "ragged"}));
    return generate;
}

CLI::App* addReport(CLI::App& tool, ReportOptions& options) {
    CLI::App* report = tool.add_subcommand(
        "report",
        "Reads console logs of jewels (and progress lines of solve); prints a line per log: the moves "
        "and the game's score at its last score line, points per move, time used, failures, resets, "
        "lines skipped and the strategies with their chunks");
    report->add_option("LOG", options.logFiles, "A log: what jewels printed, e.g. through tee")->required();
    report
        ->add_option("--svg", options.svgFile,
                     "Also draw the score over the moves played, the time left, failures, resets and the "
                     "strategy per chunk as an SVG chart")
        ->type_name("FILE");
    return report;
}

Subcommands addSubcommands(CLI::App& tool, ToolOptions& options) {
    return {addVerify(tool, options.verify), addPlay(tool, options.play),   addBench(tool, options.bench),
            addShow(tool, options.show),     addSolve(tool, options.solve), addGenerate(tool, options.generate),
            addReport(tool, options.report)};
}

int runChosen(const Subcommands& commands, const ToolOptions& options) {
    if (commands.verify->parsed()) return runVerify(options.verify);
    if (commands.play->parsed()) return runPlay(options.play);
    if (commands.bench->parsed()) return runBench(options.bench);
    if (commands.show->parsed()) return runShow(options.show);
    if (commands.solve->parsed()) return runSolve(options.solve);
    if (commands.generate->parsed()) return runGenerate(options.generate);
    if (commands.report->parsed()) return runReport(options.report);
    throw ToolError(
        "a subcommand is required: verify, play, bench, show, solve, generate or report (see jewels-tool --help)");
}

// Messages of the level readers end in a line feed or two; the tool prints one line.
std::string withoutLineEnds(std::string message) {
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
    return message;
}

int reportError(const std::string& message) {
    std::fprintf(stderr, "jewels-tool: %s\n", withoutLineEnds(message).c_str());
    return kToolErrorStatus;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App tool(
        "The companion of jewels: verify, play, bench, show, solve and generate levels and move files, "
        "and report on the logs of runs.",
        "jewels-tool");
    tool.set_version_flag("--version", std::string("jewels-tool ") + JEWELS_VERSION);
    // Not require_subcommand: it would answer an unknown subcommand with "a subcommand is required".
    tool.require_subcommand(0, 1);
    tool.footer(
        "Exit status: 0 done; 1 a move file holds a malformed or illegal line; 2 bad arguments, a level\n"
        "that cannot be read or never settles, a file that cannot be read or written, or a log without\n"
        "a score line; 7 solve ran out of legal moves; 130 or 143 solve was interrupted.\n");
    ToolOptions options;
    const Subcommands commands = addSubcommands(tool, options);

    try {
        tool.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // Help and version are "errors" that end parsing with status 0.
        if (error.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success)) return tool.exit(error);
        return reportError(std::string(error.what()) + " (see jewels-tool --help)");
    }
    try {
        return runChosen(commands, options);
    } catch (const BadMoveLine& badLine) {
        std::printf("%s\n", badLine.what());
        return kBadMoveLineStatus;
    } catch (const std::exception& error) {
        return reportError(error.what());
    }
}
