// The plot's x axis as it is labelled and read out: the wavelengths the view
// holds (Angstroms, each row in its rest frame) shown in the view's
// wavelength unit, or as Doppler velocities in km/s about the view's rest
// wavelength, v = c (lambda / lambda0 - 1). The view's range stays in
// Angstroms; only the labels, the title and the read-out go through this
// mapping, which rises with the wavelength.
#pragma once

#include <string>

#include "store/plot_view.h"

namespace wendrel {

class XAxisMapping {
public:
    explicit XAxisMapping(const PlotView& view);

    // The axis value of a wavelength in Angstroms, and back.
    double Axis(double angstroms) const;
    double Wavelength(double axisValue) const;
    bool ShowsVelocity() const { return restLambda_ > 0; }
    // The axis title below the plot: "Wavelength /nm", or
    // "Velocity /km/s about 6562.8 A (air)", or "Velocity /km/s about each
    // row's line" when the rows have rest wavelengths of their own.
    std::string Title() const;

private:
    WavelengthUnit unit_;
    double angstromsPerUnit_;
    double restLambda_;
    bool perRow_;
    bool vacuum_;
};

// The rest wavelength (Angstroms) about which the velocity axis shows the
// slot's velocities: the slot's own when it has one (VelocityRowRest), else
// the view's; 0 for a wavelength axis.
double SlotRestLambda(const PlotView& view, int slot);

// Whether the velocity axis is about rest wavelengths of the rows' own, some
// other than the view's.
bool RestPerRow(const PlotView& view);

// The rest wavelength of a velocity axis as typed (Angstroms): empty or 0
// gives 0, the wavelength axis. Sets `restLambda` and returns an empty text,
// or returns why the text is refused (not a number, negative, not finite).
std::string ReadVelocityRest(const std::string& typed, double& restLambda);

}  // namespace wendrel
