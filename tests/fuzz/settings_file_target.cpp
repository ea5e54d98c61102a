// Fuzz target: the bytes are a settings file's text. Whatever it holds, the
// parse ends; what it accepts, the program writes back and reads again the same.
#include <algorithm>
#include <cstdint>
#include <string_view>

#include "app/settings_file.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace wendrel;
    const auto read = ParseSettingsText(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!read) return 0;
    // The file cannot hold a double quote inside a name: the writer leaves it out.
    Settings expected = *read;
    for (std::string* name : {&expected.Lambda0Key, &expected.DLambdaKey}) std::erase(*name, '"');
    const std::string text = SettingsFileText(*read);
    const auto again = ParseSettingsText(text);
    WENDREL_FUZZ_CHECK(again && *again == expected, text);
    WENDREL_FUZZ_CHECK(SettingsFileText(*again) == text, text);
    return 0;
}
