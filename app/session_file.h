// Sessions: the loaded rows (each spectrum's file and number in it, colour,
// offset and velocity), the view and the two keyword names the spectra were
// read with, kept in a JSON file ("name.wendrel") so that the work can be
// opened again as it was.
//
// A row's file is written relative to the session file's folder when it lies
// in or below that folder (so that the folder can move with its spectra),
// else as an absolute path; "/" separates its parts.
#pragma once

#include <filesystem>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "app/session_derivation.h"
#include "app/ui_hooks.h"
#include "store/workspace.h"

namespace wendrel {

inline constexpr int kSessionVersion = 1;
inline constexpr std::string_view kSessionEnding = ".wendrel";

// Whether the file's name ends in ".wendrel", in any case.
bool IsSessionFile(const std::filesystem::path& file);

struct SessionRow {
    int Row = 0;               // 1 .. kMaxSlots
    std::string File;          // as written in the session
    int64_t Spectrum = 1;      // the spectrum's number in its file
    int32_t Color = 0;
    int Offset = 0;
    double Velocity = 0;       // km/s
    double AxisRest = 0;       // "velocityAxis": the row's own rest wavelength of the velocity axis; 0 or absent: none
    RowDerivation Derived;     // smoothing, or the two rows it is made of (then File is empty)
};

struct Session {
    std::vector<SessionRow> Rows;  // rising row numbers, each once
    std::string Lambda0Key = "CRVAL1", DLambdaKey = "CD1_1";
    double PlotLeft = 0, PlotRight = 0;
    PlotView::IntensityRange Intensity = PlotView::IntensityRange::Automatic;
    double IntensityLow = 0, IntensityHigh = 100;
    bool ScaleFlux = false;
    bool ShowLegend = false;
    bool ShowUncertainties = false;  // "uncertainties", absent in older sessions
    WavelengthUnit XUnit = WavelengthUnit::Angstrom;  // "xunit": "A", "nm" or "um"; absent in older sessions
    double VelocityRestLambda = 0;  // "velocityAxis", Angstroms; 0 or absent: a wavelength axis
    std::set<std::string> LineMarkSets;
    bool LineMarksInVacuum = false;
    PlotLook Look;  // app/session_look.h
};

// The session of the workspace's loaded rows, their files written as seen
// from the folder of `sessionFile`.
Session SessionOf(const Workspace& ws, const std::filesystem::path& sessionFile);

// The session as JSON, with "version": kSessionVersion.
std::string SessionText(const Session& session);

struct SessionRead {
    std::optional<Session> session;
    std::string error;  // why there is none: a sentence naming the file
};

// Reads a session's JSON; `shownName` names the file in the refusal. Refused:
// broken JSON, a version other than 1 to kSessionVersion (a newer one is named
// as such), and a wrong shape (a field missing or of the wrong type, a row
// number outside 1..10 or given twice, an empty file name, a spectrum number
// below 1, a velocity that is no finite number above minus the speed of light,
// a fixed intensity range that does not rise). Names of line sets the program
// does not know are left out.
SessionRead ParseSessionText(std::string_view text, const std::string& shownName);
SessionRead ReadSessionFile(const std::filesystem::path& file);

// Writes the workspace's session to `file` whole or not at all. Returns an
// empty text when it was written, otherwise a message naming the file.
std::string WriteSessionFile(const std::filesystem::path& file, const Workspace& ws);

// Where a row's file is: a relative path taken from the session file's folder.
std::filesystem::path SessionRowPath(const SessionRow& row, const std::filesystem::path& sessionFile);

// Opens a session in place of the rows: every row is unloaded, the keyword
// names are set, and each row of the session loads its spectrum ("file#N")
// into its row with its colour, offset and velocity. A file that is missing
// or now refused leaves its row empty; they are all named, with the reason,
// in one message. Then the full range is recomputed and the view, intensity
// axis, scale, legend and line marks are set; the plot is drawn once when
// anything loaded, else hidden. Returns the number of rows loaded.
int OpenSession(Workspace& ws, const Session& session, const std::filesystem::path& sessionFile, UiHooks& ui);

}  // namespace wendrel
