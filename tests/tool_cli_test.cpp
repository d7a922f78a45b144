// jewels-tool's command line: help, version, and the one-line refusals; the
// level errors are with jewels' own in run_test.cpp.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
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
    const char* arguments;  // separated by blanks; LEVEL stands for the small level's folder
    std::string mention;    // a word the one-line message must hold
};

TEST(ToolUsage, BadArgumentsAreRefusedWithOneLineOnStandardErrorAndStatusTwo) {
    const RefusalCase cases[] = {
        {"no subcommand", "", "subcommand"},
        {"unknown subcommand", "replay", "replay"},
        {"unknown option", "verify --level LEVEL --fast", "--fast"},
        {"play without a strategy", "play --level LEVEL --moves 3", "--ai"},
        {"play of no moves", "play --level LEVEL --ai 0 --moves 0", "--moves"},
        {"strategy index past the roster", "play --level LEVEL --ai 10 --moves 3", "10"},
        {"strategy name in the wrong case", "play --level LEVEL --ai magicai --moves 3", "magicai"},
        {"strategy depth that does not exist", "play --level LEVEL --ai SimpleRecursiveAi<4> --moves 3",
         "SimpleRecursiveAi<4>"},
        {"the fallback number in a benchmark", "bench --level LEVEL --ai 1,7777", "7777"},
        {"progress every 0 moves", "verify --level LEVEL --every 0", "--every"},
        {"a missing move file", "verify --level LEVEL missing.txt", "missing.txt"},
        {"a move file that is a folder", "verify --level LEVEL folder", "folder"},
        {"play's move file a folder", "play --level LEVEL --ai 0 --moves 3 --out folder", "Couldn't open output file"},
        {"a search of width 0", "solve --level LEVEL --moves 3 --width 0", "--width"},
        {"a search on no thread", "solve --level LEVEL --moves 3 --width 1 --threads 0", "--threads"},
        {"solve's move file a folder", "solve --level LEVEL --moves 3 --width 1 --out folder",
         "cannot write move file folder"},
        {"show --after without a move file", "show --level LEVEL --after 3", "--moves"},
        {"generate without a folder", "generate --cols 8 --rows 8", "DIR"},
        {"51 columns", "generate level --cols 51 --rows 8", "--cols"},
        {"4 rows", "generate level --cols 8 --rows 4", "--rows"},
        {"11 kinds", "generate level --cols 8 --rows 8 --kinds 11", "--kinds"},
        {"supplies over 1000", "generate level --cols 8 --rows 8 --supply 1 1001", "--supply"},
        {"supplies of no jewel", "generate level --cols 8 --rows 8 --supply 0 5", "--supply"},
        {"shortest supply over the longest", "generate level --cols 8 --rows 8 --supply 9 3", "--supply"},
        {"unknown rock style", "generate level --cols 8 --rows 8 --rocks some", "--rocks"},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        std::filesystem::create_directory(dir.path() / "folder");
        std::vector<std::string> arguments = wordsOf(c.arguments);
        std::replace(arguments.begin(), arguments.end(), std::string("LEVEL"), bundledLevelFolder("small-8x8"));
        const ProgramRun run = runTool(dir, arguments);
        EXPECT_EQ(run.exitStatus, 2);
        EXPECT_EQ(run.output, "");
        EXPECT_TRUE(std::regex_match(run.errors, std::regex("jewels-tool: [^\n]*\n"))) << run.errors;
        EXPECT_NE(run.errors.find(c.mention), std::string::npos) << run.errors;
        EXPECT_FALSE(std::filesystem::exists(dir.path() / "level"));
    }
}

}  // namespace
