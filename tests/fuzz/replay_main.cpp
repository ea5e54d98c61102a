// Runs a fuzz target once over its seeds and over every file in the folders
// (or files) named on the command line: the saved inputs that once broke it.
// A broken property aborts, which fails the test.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/fuzz/seed_corpus.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

void Run(const std::string& bytes) {
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

std::string FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

int main(int argc, char** argv) {
    const auto seeds = wendrel::fuzzing::SeedsFor(WENDREL_FUZZ_TARGET);
    if (seeds.empty()) {
        std::fprintf(stderr, "no seeds for %s\n", WENDREL_FUZZ_TARGET);
        return 1;
    }
    for (const auto& seed : seeds) Run(seed.bytes);

    std::vector<std::filesystem::path> files;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path arg = argv[i];
        if (std::filesystem::is_directory(arg)) {
            for (const auto& entry : std::filesystem::directory_iterator(arg))
                if (entry.is_regular_file()) files.push_back(entry.path());
        } else if (std::filesystem::exists(arg)) {
            files.push_back(arg);
        }
    }
    std::sort(files.begin(), files.end());
    for (const auto& file : files) Run(FileBytes(file));
    std::printf("%s: %zu seeds and %zu saved inputs ran\n", WENDREL_FUZZ_TARGET, seeds.size(), files.size());
    return 0;
}
