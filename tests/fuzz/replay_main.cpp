// Runs a fuzz target over its seeds and over the saved inputs that once broke it, in the folders or files
// named on the command line. A broken property aborts, which fails the test.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "tests/fuzz/seed_corpus.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

int main(int argc, char** argv) {
    std::vector<std::string> inputs;
    for (auto& [name, bytes] : wendrel::fuzzing::SeedsFor(WENDREL_FUZZ_TARGET)) inputs.push_back(std::move(bytes));
    const size_t seeds = inputs.size();
    std::set<std::filesystem::path> files(argv + 1, argv + argc);
    for (int i = 1; i < argc; ++i)
        if (std::filesystem::is_directory(argv[i]))
            for (const auto& entry : std::filesystem::directory_iterator(argv[i])) files.insert(entry.path());
    for (const auto& file : files)
        if (std::ifstream in(file, std::ios::binary); std::filesystem::is_regular_file(file))
            inputs.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    for (const std::string& bytes : inputs) LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    std::printf("%s: %zu seeds and %zu saved inputs ran\n", WENDREL_FUZZ_TARGET, seeds, inputs.size() - seeds);
    return seeds == 0;
}
