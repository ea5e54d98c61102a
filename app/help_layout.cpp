#include "app/help_layout.h"

#include "store/rounding.h"

namespace wendrel {

const std::array<std::string, kNumHelpParas>& HelpParagraphs() {
    static const std::array<std::string, kNumHelpParas> paragraphs = {
        std::string("The purpose of this program is to display up to ten (10) calibrated spectral "
                    "images to be displayed on a single plot.") +
            "  You will be able to offset vertically the plots from one another as well as read "
            "off the wavelength under the cursor." +
            "  You will also be able to shift the plots + or - along the wavelength axis in "
            "response to sources that may be moving away or towards us (resp.)." +
            "  Further analysis tools are planned.",
        std::string("First of all, the data files must be in the standard fits type and be "
                    "one-dimensional (1-D) with the wavelenth scale calibrated and rectified.") +
            "  These would be the output of IRAF-calibrated files, or Tollquin (available from "
            "the author's web page). ",
        std::string("Also, the keywords for the wavelength of pixel zero and the scale (Angstroms "
                    "per pixel) must, at the present time, be CRVAL1 and CD1_1, respectively.") +
            "  Therefore, if necessary, use a fits editor to change the appropriate keywords." +
            "  The facility to change the keywords will be added in a later version.",
    };
    return paragraphs;
}

HelpLayout HelpLayoutFor(double width, const std::array<int, kNumHelpParas>& lengths) {
    HelpLayout layout;
    layout.LabelWidth = width - 500;

    layout.Tops[0] = static_cast<int>(kHelpFirstTop);
    for (size_t i = 1; i < kNumHelpParas; ++i)
        layout.Tops[i] = Nearest16(layout.Tops[i - 1] + lengths[i - 1] * 20000.0 / layout.LabelWidth + 300);

    double h = 1000;
    for (int length : lengths) h = Nearest16(h + length * 20000.0 / width + 300);
    layout.WindowHeight = Nearest16(h + 400);
    return layout;
}

}  // namespace wendrel
