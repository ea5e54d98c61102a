// The Help window's reference section after its first paragraphs: what the
// program does beyond them (zooming, measuring and fitting, formats,
// uncertainties, sessions, export, SAMP, pictures, keys and mouse), as
// Markdown, the one text README.md copies.
#pragma once

#include <string>

namespace wendrel {

const std::string& HelpReference();

}  // namespace wendrel
