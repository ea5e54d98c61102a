// The picture the program shows itself by to other SAMP clients.
#pragma once

#include <QTemporaryFile>
#include <memory>

namespace wendrel {

// A 64 x 64 PNG of a spectrum with an absorption line, written into a
// temporary file that is removed with it; nothing when it cannot be written.
std::unique_ptr<QTemporaryFile> WriteSampIcon();

}  // namespace wendrel
