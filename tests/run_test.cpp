// Whole-program checks: the real executable, run in a folder holding a level.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "support/level_fixture.h"
#include "support/run_program.h"

namespace {

void copyLevel(const std::string& levelName, const TempDir& dir) {
    for (const char* file : {"speelveld.txt", "kolommen.txt"})
        std::filesystem::copy_file(sourcePath("levels/" + levelName + "/" + file), dir.path() / file);
}

TEST(WholeRun, ExampleLevelPrintsReportsAndDrawingsThenHitsTheRefillCap) {
    TempDir dir;
    copyLevel("example", dir);

    const ProgramRun run = runProgramIn(dir.path(), JEWELS_EXECUTABLE);

    // Every pass of the first fill clears column 3 (three 0s, 50 points) and
    // column 4 (four 1s, 100 points) and refills them with the same jewels, so
    // the score climbs by 150 per pass until the cap of 10000 passes.
    std::string expected = readFileBytes(sourcePath("tests/data/example_opening.txt"));
    for (unsigned pass = 1; pass <= 10000; ++pass) expected += " -> " + std::to_string(150 * pass);
    expected += "Wat jammer nou: Speelveld komt nooit tot rust\n";
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.output, expected);
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "uitvoer.txt"));
}

struct ReaderErrorRun {
    const char* name;
    std::optional<std::string> layout;  // nullopt: no speelveld.txt
    std::optional<std::string> supply;  // nullopt: no kolommen.txt
    std::string expectedOutput;
    bool layoutIsFolder = false;  // a folder named speelveld.txt: it opens, but reading it fails
};

std::string repeated(const std::string& text, int times) {
    std::string result;
    for (int i = 0; i < times; ++i) result += text;
    return result;
}

const std::string kFiveByFive = repeated("00000\n", 5);
const std::string kLayoutError = "Hello vlimSpeelveld.txt inlezen... Wat jammer nou: ";
const std::string kSupplyError = "Hello vlimSpeelveld.txt inlezen... ok\nKolommen.txt inlezen... Wat jammer nou: ";

// The readers' choice of message is held to a plain reading of the files on
// every seed of the fuzzer; here each way a message reaches the output.
const ReaderErrorRun readerErrorRuns[] = {
    {"missing layout", std::nullopt, "0\n0\n0\n0\n0",
     "Hello vlimSpeelveld.txt inlezen... Wat jammer nou: Kon bestand niet openen... asdfjkl; \n"},
    {"missing supply", "00000\n00000\n00000\n00000\n00000\n", std::nullopt,
     "Hello vlimSpeelveld.txt inlezen... ok\nKolommen.txt inlezen... "
     "Wat jammer nou: Te veel kolommen, meer dan in speelveld.txt\n"},
    // A message that ends in a line feed gets a second one from the report.
    {"51 rows", repeated("00000\n", 51), "0\n0\n0\n0\n0", kLayoutError + "Te veel regels! (>50)\n\n"},
    {"a letter in the field", "00000\n00x00\n00000\n00000\n00000\n", "0\n0\n0\n0\n0",
     kLayoutError + "Ow jee, alleen '0' en '1' toegestaan\n\n"},
    {"a folder named speelveld.txt", std::nullopt, "0\n0\n0\n0\n0", kLayoutError + "shit\n", true},
    {"a letter in a supply", kFiveByFive, "0123\n4a5\n6789\n0\n11",
     kSupplyError + "Ow jee, alleen '0' tot '9' toegestaan\n\n"},
    {"fewer supplies than columns", kFiveByFive, "0123\n45\n6789",
     kSupplyError + "Aantal kolommen niet gelijk aan data in speelveld.txt\n"},
};

TEST(WholeRun, ReaderErrorsEndTheRunWithTheirMessageAndStatusZero) {
    for (const ReaderErrorRun& c : readerErrorRuns) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        if (c.layoutIsFolder) std::filesystem::create_directory(dir.path() / "speelveld.txt");
        if (c.layout) dir.write("speelveld.txt", *c.layout);
        if (c.supply) dir.write("kolommen.txt", *c.supply);

        const ProgramRun run = runProgramIn(dir.path(), JEWELS_EXECUTABLE);

        EXPECT_EQ(run.exitStatus, 0);
        EXPECT_EQ(run.output, c.expectedOutput);
        EXPECT_FALSE(std::filesystem::exists(dir.path() / "uitvoer.txt"));
    }
}

}  // namespace
