// The libFuzzer entry of one check, named by JEWELS_FUZZ_CHECK: a failed check
// is printed and aborts, so that libFuzzer keeps the input as a crash.
#include <cstdio>
#include <cstdlib>

#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        JEWELS_FUZZ_CHECK(data, size);
    } catch (const CheckFailure& failure) {
        std::fprintf(stderr, "\nfuzz check failed: %s\n", failure.what());
        std::abort();
    }
    return 0;
}
