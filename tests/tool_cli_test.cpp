// jewels-tool's command line: help, version, and the one-line refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "support/level_fixture.h"
#include "support/tool_run.h"

namespace {

// Every subcommand's help opens with its usage line; the tool's lists them all.
TEST(ToolHelp, TheToolAndEverySubcommandDescribeTheirArguments) {
    const std::vector<std::string> subcommands = {"verify", "play", "bench", "show", "generate", "report", "solve"};
    TempDir dir;
    const ProgramRun tool = runTool(dir, {"--help"});
    EXPECT_EQ(tool.exitStatus, 0);
    for (const std::string& subcommand : subcommands) {
        SCOPED_TRACE(subcommand);
        EXPECT_NE(tool.output.find("\n  " + subcommand + " "), std::string::npos) << tool.output;
        const ProgramRun run = runTool(dir, {subcommand, "--help"});
        EXPECT_EQ(run.exitStatus, 0);
        EXPECT_EQ(run.errors, "");
        EXPECT_NE(run.output.find("\nUsage: jewels-tool " + subcommand + " "), std::string::npos) << run.output;
    }
    const ProgramRun version = runTool(dir, {"--version"});
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(version.output, std::string("jewels-tool ") + JEWELS_VERSION + "\n");
}

struct RefusalCase {
    const char* name;
    std::vector<std::string> arguments;
    std::string mention;  // a word the one-line message must hold
};

TEST(ToolUsage, BadArgumentsAreRefusedWithOneLineOnStandardErrorAndStatusTwo) {
    const std::string small = bundledLevelFolder("small-8x8");
    const RefusalCase cases[] = {
        {"no subcommand", {}, "subcommand"},
        {"unknown subcommand", {"replay"}, "replay"},
        {"unknown option", {"verify", "--level", small, "--fast"}, "--fast"},
        {"play without a strategy", {"play", "--level", small, "--moves", "3"}, "--ai"},
        {"play of no moves", {"play", "--level", small, "--ai", "0", "--moves", "0"}, "--moves"},
        {"strategy index past the roster", {"play", "--level", small, "--ai", "10", "--moves", "3"}, "10"},
        {"strategy name in the wrong case", {"play", "--level", small, "--ai", "magicai", "--moves", "3"}, "magicai"},
        {"strategy depth that does not exist",
         {"play", "--level", small, "--ai", "SimpleRecursiveAi<4>", "--moves", "3"},
         "SimpleRecursiveAi<4>"},
        {"the fallback number in a benchmark", {"bench", "--level", small, "--ai", "1,7777"}, "7777"},
        {"progress every 0 moves", {"verify", "--level", small, "--every", "0"}, "--every"},
        {"a missing move file", {"verify", "--level", small, "missing.txt"}, "missing.txt"},
        {"a move file that is a folder", {"verify", "--level", small, "folder"}, "folder"},
        {"show --after without a move file", {"show", "--level", small, "--after", "3"}, "--moves"},
        {"generate without a folder", {"generate", "--cols", "8", "--rows", "8"}, "DIR"},
        {"51 columns", {"generate", "level", "--cols", "51", "--rows", "8"}, "--cols"},
        {"4 rows", {"generate", "level", "--cols", "8", "--rows", "4"}, "--rows"},
        {"11 kinds", {"generate", "level", "--cols", "8", "--rows", "8", "--kinds", "11"}, "--kinds"},
        {"supplies over 1000",
         {"generate", "level", "--cols", "8", "--rows", "8", "--supply", "1", "1001"},
         "--supply"},
        {"shortest supply over the longest",
         {"generate", "level", "--cols", "8", "--rows", "8", "--supply", "9", "3"},
         "--supply"},
        {"unknown rock style", {"generate", "level", "--cols", "8", "--rows", "8", "--rocks", "some"}, "--rocks"},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        std::filesystem::create_directory(dir.path() / "folder");
        const ProgramRun run = runTool(dir, c.arguments);
        EXPECT_EQ(run.exitStatus, 2);
        EXPECT_EQ(run.output, "");
        EXPECT_EQ(run.errors.rfind("jewels-tool: ", 0), 0u) << run.errors;
        EXPECT_EQ(std::count(run.errors.begin(), run.errors.end(), '\n'), 1) << run.errors;
        EXPECT_EQ(run.errors.back(), '\n');
        EXPECT_NE(run.errors.find(c.mention), std::string::npos) << run.errors;
        EXPECT_FALSE(std::filesystem::exists(dir.path() / "level"));
    }
}

struct BrokenLevel {
    const char* name;
    const char* layout;   // nullptr: no speelveld.txt
    const char* supply;   // nullptr: no kolommen.txt
    const char* message;  // the readers' own, or the first fill's
};

TEST(ToolLevelErrors, EveryCommandReportsTheReadersMessageOrAnUnsettledFieldWithStatusTwo) {
    const char* const fiveByFive = "00000\n00000\n00000\n00000\n00000\n";
    const BrokenLevel levels[] = {
        {"missing layout", nullptr, "0\n0\n0\n0\n0", "Kon bestand niet openen... asdfjkl; "},
        {"layout too small", "0000\n0000\n0000\n0000\n0000\n", "0\n0\n0\n0", "Speelveld is te klein!"},
        {"more supplies than columns", fiveByFive, "0\n1\n2\n3\n4\n5", "Te veel kolommen, meer dan in speelveld.txt"},
        // Column 4 refills four 1s forever, so the first fill never settles.
        {"never settles", fiveByFive, "0123\n1230\n2301\n3012\n11", "Speelveld komt nooit tot rust"},
    };
    const std::vector<std::vector<std::string>> commands = {
        {"verify", "--level", "."},
        {"play", "--level", ".", "--ai", "0", "--moves", "5"},
        {"bench", "--level", "."},
        {"show", "--level", "."},
    };
    for (const BrokenLevel& level : levels) {
        TempDir dir;
        if (level.layout != nullptr) dir.write("speelveld.txt", level.layout);
        if (level.supply != nullptr) dir.write("kolommen.txt", level.supply);
        for (const std::vector<std::string>& command : commands) {
            SCOPED_TRACE(std::string(level.name) + ", " + command[0]);
            const ProgramRun run = runTool(dir, command);
            EXPECT_EQ(run.exitStatus, 2);
            EXPECT_EQ(run.output, "");
            EXPECT_EQ(run.errors, std::string("jewels-tool: ") + level.message + "\n");
        }
    }
}

}  // namespace
