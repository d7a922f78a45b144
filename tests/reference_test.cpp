// The readers and the engine held to the plain second reading of the rules
// that the fuzzers use (tests/fuzz): on every committed seed of each fuzzer,
// on variations of the seeds and on random inputs, all drawn from a fixed
// seed, so that a fault shows in every run of the suite and not only when
// fuzzing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "support/run_program.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// A seed with a few of its bytes replaced, doubled or dropped, the new ones
// taken from the seed itself, so that a level stays mostly a level and a
// rejected one is rejected for one more reason.
Bytes varied(Bytes bytes, std::mt19937& random) {
    const int edits = 1 + static_cast<int>(random() % 4);
    for (int edit = 0; edit < edits && !bytes.empty(); ++edit) {
        const std::size_t at = random() % bytes.size();
        const std::uint8_t other = bytes[random() % bytes.size()];
        switch (random() % 3) {
            case 0: bytes[at] = other; break;
            case 1: bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), other); break;
            default: bytes.erase(bytes.begin() + static_cast<std::ptrdiff_t>(at)); break;
        }
    }
    return bytes;
}

Bytes randomBytes(std::mt19937& random) {
    Bytes bytes(random() % 400);
    for (std::uint8_t& byte : bytes) byte = static_cast<std::uint8_t>(random());
    return bytes;
}

struct Harness {
    const char* corpus;
    void (*check)(const std::uint8_t*, std::size_t);
    int variationsPerSeed;
    int randomInputs;
};

void expectPasses(const Harness& harness, const Bytes& input, const std::string& name) {
    try {
        harness.check(input.data(), input.size());
    } catch (const CheckFailure& failure) {
        ADD_FAILURE() << harness.corpus << " input " << name << ": " << failure.what();
    }
}

TEST(ReferenceChecks, ReadersAndEngineAgreeWithThePlainRulesOnEverySeedAndOnInputsDrawnFromThem) {
    const Harness harnesses[] = {{"readers", checkReaderInput, 30, 0}, {"engine", checkEngineInput, 8, 300}};
    std::mt19937 random(20261207);
    for (const Harness& harness : harnesses) {
        std::vector<std::filesystem::path> seeds;
        for (const auto& entry : std::filesystem::directory_iterator(sourcePath("tests/fuzz/corpus") / harness.corpus))
            seeds.push_back(entry.path());
        std::sort(seeds.begin(), seeds.end());
        ASSERT_GE(seeds.size(), 8u) << harness.corpus;
        for (const std::filesystem::path& path : seeds) {
            const std::string text = readFileBytes(path);
            const Bytes seed(text.begin(), text.end());
            expectPasses(harness, seed, path.filename().string());
            for (int variation = 0; variation < harness.variationsPerSeed; ++variation)
                expectPasses(harness, varied(seed, random),
                             path.filename().string() + " variation " + std::to_string(variation));
        }
        for (int input = 0; input < harness.randomInputs; ++input)
            expectPasses(harness, randomBytes(random), "random " + std::to_string(input));
    }
}

}  // namespace
