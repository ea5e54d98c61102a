// Writes a fuzz target's seeds into a folder, one file per seed:
//   fuzz_seeds TARGET FOLDER
#include <cstdio>
#include <filesystem>

#include "tests/fuzz/seed_corpus.h"
#include "tests/support/fits_writer.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: fuzz_seeds fits_reader|settings_file|number_text FOLDER\n");
        return 2;
    }
    const auto seeds = wendrel::fuzzing::SeedsFor(argv[1]);
    if (seeds.empty()) {
        std::fprintf(stderr, "fuzz_seeds: no target named %s\n", argv[1]);
        return 2;
    }
    std::filesystem::create_directories(argv[2]);
    for (const auto& seed : seeds) wendrel::WriteFileBytes(std::filesystem::path(argv[2]) / seed.name, seed.bytes);
    return 0;
}
