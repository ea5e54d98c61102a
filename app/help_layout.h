// The help window's text and its width-driven layout, free of widgets.
//
// The window's height follows its width: a paragraph is given the height of
// its character count x 20000 / its width in twips (about 100 twips of width
// per character and 200 twips per line), so the user can in effect change
// only the width.
#pragma once

#include <array>
#include <string>

namespace wendrel {

constexpr int kNumHelpParas = 3;

// The help paragraphs, first to last.
const std::array<std::string, kNumHelpParas>& HelpParagraphs();

// The character counts the layout gives the paragraphs. They are fixed
// numbers, not taken from the texts, so that the window keeps its established
// sizes; the second paragraph is counted two characters short of its text.
constexpr std::array<int, kNumHelpParas> kHelpLen = {418, 246, 300};

// Twips.
constexpr double kHelpLabelLeft = 120;
constexpr double kHelpTitleTop = 0;
constexpr double kHelpTitleHeight = 375;
constexpr double kHelpFirstTop = 400;
// The reference section (app/help_reference.h): a scrolling box this high
// below the paragraphs, which the window's height grows by.
constexpr double kHelpReferenceHeight = 5000;

struct HelpLayout {
    double LabelWidth = 0;                   // title and paragraph labels
    std::array<int, kNumHelpParas> Tops{};   // paragraph tops
    int WindowHeight = 0;                    // outer height
};

// The layout for a window of outer width `width` (wider than 500 twips) and
// paragraphs of the given lengths in characters.
HelpLayout HelpLayoutFor(double width, const std::array<int, kNumHelpParas>& lengths = kHelpLen);

}  // namespace wendrel
