// Runs a fuzz target once over its seeds and over every file in the folders
// (or files) named on the command line: the saved inputs that once broke it.
// A broken property aborts, which fails the test.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "tests/fuzz/seed_corpus.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
    const auto run = [](const std::string& bytes) {
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    };
    const auto seeds = wendrel::fuzzing::SeedsFor(WENDREL_FUZZ_TARGET);
    for (const auto& [name, bytes] : seeds) run(bytes);
    std::set<std::filesystem::path> files;
    for (int i = 1; i < argc; ++i) {
        if (std::filesystem::is_regular_file(argv[i])) files.insert(argv[i]);
        if (std::filesystem::is_directory(argv[i]))
            for (const auto& entry : std::filesystem::directory_iterator(argv[i])) files.insert(entry.path());
    }
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        run(std::string(std::istreambuf_iterator<char>(in), {}));
    }
    std::printf("%s: %zu seeds and %zu saved inputs ran\n", WENDREL_FUZZ_TARGET, seeds.size(), files.size());
    return seeds.empty() ? 1 : 0;
}
