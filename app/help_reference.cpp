#include "app/help_reference.h"

namespace wendrel {

// README.md holds this text word for word under "## Reference" (tests/app
// checks it); change both together.
const std::string& HelpReference() {
    static const std::string text = R"(### Zooming and the view

Drag across the plot to zoom to a span; turn the mouse wheel to zoom about
the wavelength under the cursor; "+" and "-" zoom about the centre, Left and
Right pan, Home shows the full range. The View menu sets a typed range ("Set
Range ..."), goes back ("Previous View"), and chooses the intensity axis:
Automatic (0 to the highest maximum), Fit to View, or a typed or
Shift-dragged range; the scale in percent of the continuum or in the file's
flux; a legend. The read-outs below the plot show the wavelength and
intensity under the cursor and the spectrum nearest to it (a click on the
legend picks one). The Lines menu marks laboratory lines at air or vacuum
wavelengths. The View and Lines choices and the recent files are kept
between runs in "Wendrel3-view.json" beside the settings file.

### Measuring and fitting

Ctrl-drag across a line measures it: continuum, centroid, flux (in the
file's flux unit × Å), equivalent width (Å), peak and FWHM, with 1-sigma
errors. The continuum is a straight line through a few pixels beyond each
end ("Continuum pixels each side"). Shift+Ctrl-drag fits 1 to 6 Gaussian,
Lorentzian or Voigt components on a straight continuum. The panel's "Copy"
gives tab-separated lines under a header line.

### Formats read

FITS spectra: a 1-D image, or the first extension holding a spectrum, an
image or a table with wavelength and flux columns (gzip .gz and
tile-compressed .fz too); IRAF multispec and log-linear scales, SDSS, ESO
and HST tables. Text spectra (.txt, .dat, .csv, .tsv, .ascii): wavelength
and flux in columns 1 and 2. A file of several spectra fills the next empty
rows; "name.fits#2" loads its second spectrum alone.

### Uncertainties

Errors are read from a table's error, inverse-variance or variance column,
a text file's third column, an error image extension or an IRAF sigma band.
Measurements and fits use them; without them, errors come from the scatter
of the continuum pixels (measurements) or of the fit's residuals (fits).

### Opening, sessions and export

Files load through a row's Load button, File > "Open ..." (several at
once), a drop on the main window or the command line; they fill the next
empty rows, and the files refused are named in one message with their
reasons. File > "Save Session As ..." writes the rows and the view as a
session (.wendrel) that "Open Session ..." opens again; File > Recent lists
the last ones opened. The plot window's File > "Export Spectra ..." writes
the loaded spectra as shown, as CSV or FITS tables.

### SAMP

The SAMP menu connects to a desktop hub: spectra and FITS tables sent by
TOPCAT, Aladin, DS9 or astropy load into the next empty row, and a row's
context menu or a legend entry's "Send to" sends a spectrum.

### Pictures

The plot window's File > "Save Picture As ..." writes PNG, SVG or PDF by
the file's ending, at the size asked for in pixels (or inches at a
resolution) and with the labels' font size asked for; a PNG has exactly
those pixels whatever the screen's scale. `wendrel-info --render FILE`
writes the same kinds of file without a window.

### Keys and mouse

- Drag: zoom to a span. Shift-drag: intensity range. Ctrl-drag: measure.
  Shift+Ctrl-drag: fit.
- Wheel: zoom about the cursor. "+", "-": zoom about the centre. Left,
  Right: pan. Home: full range.
- Click on a legend entry: pick that spectrum for the read-out; right click:
  "Send to".
- Main window: double-click a row's velocity to type one (km/s, or z=...);
  right click a loaded row for "Send to"; drop files on a row to load them
  there.
)";
    return text;
}

}  // namespace wendrel
