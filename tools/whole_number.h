// A command-line value read as one number of type T: nothing before or after it.
#pragma once

#include <charconv>
#include <optional>
#include <string_view>

namespace wendrel {

template <class T>
std::optional<T> WholeNumber(std::string_view text) {
    T value{};
    const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || stop != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace wendrel
