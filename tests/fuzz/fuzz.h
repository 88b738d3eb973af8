#pragma once
// A fuzz target: libFuzzer calls it with the inputs it makes, the replay program with the committed
// corpus. A broken invariant aborts, so both stop there and name the input.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#define FUZZ_CHECK(condition) \
    if (!(condition)) std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition), std::abort()

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

// The text split at each '\n'; the last holds what follows the last one.
inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    for (size_t begin = 0;; begin = text.find('\n', begin) + 1) {
        lines.push_back(text.substr(begin, text.find('\n', begin) - begin));
        if (text.find('\n', begin) == std::string::npos) return lines;
    }
}
