// Writes a fuzz target's seeds into a folder, one file per seed:
//   fuzz_seeds fits_reader|settings_file|number_text FOLDER
#include <cstdio>

#include "tests/fuzz/seed_corpus.h"
#include "tests/support/fits_writer.h"

int main(int argc, char** argv) {
    const auto seeds = wendrel::fuzzing::SeedsFor(argc == 3 ? argv[1] : "");
    if (seeds.empty()) return std::fprintf(stderr, "usage: fuzz_seeds fits_reader|settings_file|number_text FOLDER\n"), 2;
    std::filesystem::create_directories(argv[2]);
    for (const auto& [name, bytes] : seeds) wendrel::WriteFileBytes(std::filesystem::path(argv[2]) / name, bytes);
}
