// Runs a fuzz target over the files it is given and every file in the folders it is given, so a
// build without libFuzzer still replays the committed corpus.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "tests/fuzz/fuzz.h"

int main(int argc, char** argv) {
    std::vector<std::filesystem::path> inputs;
    for (int i = 1; i < argc; ++i) {
        if (!std::filesystem::is_directory(argv[i])) inputs.push_back(argv[i]);
        else
            for (const auto& entry : std::filesystem::directory_iterator(argv[i])) inputs.push_back(entry.path());
    }
    for (const auto& path : inputs) {
        std::ifstream file(path, std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        std::fprintf(stderr, "%s\n", path.c_str());
        // An exact heap block: a read past the input's end is caught under AddressSanitizer.
        uint8_t* block = static_cast<uint8_t*>(std::malloc(bytes.size() ? bytes.size() : 1));
        std::copy(bytes.begin(), bytes.end(), block);
        LLVMFuzzerTestOneInput(block, bytes.size());
        std::free(block);
    }
    std::printf("%zu inputs replayed\n", inputs.size());
    return inputs.empty();
}
