// File > Recent: the spectra and sessions opened last, newest first, kept
// with the view's choices (app/view_choices.h).
#pragma once

#include <QJsonValue>
#include <cstddef>
#include <string>
#include <vector>

namespace wendrel {

inline constexpr size_t kMaxRecent = 8;

// The list a JSON array of paths holds, at most kMaxRecent non-empty paths
// without repeats. Anything else, or an array holding anything but
// non-empty texts, gives an empty list.
std::vector<std::string> RecentListOf(const QJsonValue& recent);

// `opened` first, then the others without it, at most kMaxRecent in all.
std::vector<std::string> WithRecent(std::vector<std::string> list, const std::string& opened);

}  // namespace wendrel
