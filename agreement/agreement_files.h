#pragma once

// The two observers' compiled files of the agreement window: loading them,
// checking that they can be compared, and the codes offered for picking.

#include <array>
#include <string>
#include <string_view>

#include "core/dyn_arrays.h"
#include "core/line_buffer.h"
#include "core/mds_header.h"
#include "core/user_dialogue.h"

namespace vork {

// One observer's compiled file, held whole in memory.
struct ObserverFile {
  std::string FileName;
  LineBuffer Lines;
  MdsHeader Header;
};

// The time units the agreement output names.
struct AgreementUnits {
  int DataType = 0;
  int TimeFormat = 0;
  int TimeUnitIndex = 0;
  std::string TimeUnitLabel;
};

// Both observers' files, Obs1 first.
struct AgreementFiles {
  std::array<ObserverFile, 2> Obs;

  int DataType() const { return Obs[0].Header.DataType; }
  // The time format and unit in use are Obs1's: Obs2's are only compared
  // with them, for Timed and State data. The label is Obs2's, which
  // replaces Obs1's. So two Event files of which only Obs2 has times are
  // counted in Obs1's whole units, named by Obs2's word.
  AgreementUnits Units() const;
};

enum class AgreementLoadOutcome {
  NotLoaded,  // a file could not be read as a compiled file; nothing changes
  Refused,    // the files cannot be compared; "Compute kappa" is disabled
  Aborted,    // the user refused differing code lists: no codes offered, disabled
  Loaded,
};

// What a load gives the window.
struct AgreementLoad {
  AgreementLoadOutcome Outcome = AgreementLoadOutcome::NotLoaded;
  AgreementFiles Files;     // both files, read (not for NotLoaded or Refused)
  std::string Caption;      // "Kappa - <obs1>(Obs1) <obs2>(Obs2)"
  dynString CodesInFile;    // Obs1's codes, then the codes only Obs2 has
  dynString Markers;        // the first character of each code only Obs2 has
};

// Reads both files and checks them: the same data type and, for Timed and
// State data, the same time format and time unit; the same codes, or the
// user's leave to go on with different ones (Abort / Ignore). Every message
// goes through dialogue. A file that cannot be read throws CommandError.
AgreementLoad LoadAgreementFiles(const std::string& fileName1, const std::string& fileName2,
                                 UserDialogue& dialogue);

// True when the two headers can be compared.
bool SameDataTypeAndTimeFormat(const MdsHeader& obs1, const MdsHeader& obs2);

// The window's controls for a data type.
struct AgreementControls {
  bool AlignPlotVisible = false;
  bool AgreePlotVisible = false;
  std::string_view AgreePlotCaption;
  bool TolerancesVisible = false;
  int TimeTol = 0;
  int EventTol = 0;
  int Overlap = 100;
  std::string_view LineLength;
};

AgreementControls ControlsForDataType(int dataType);

// The time-unit label beside the tolerances: "TUs = " and the unit, for
// Timed and State data; empty for the others.
std::string TimeUnitsCaption(const AgreementUnits& units);

// For each picked code (1..K, in picked order) its code number in names[1..n],
// the first that equals it; 0 when the file lacks it. Element 0 is 0.
dynInteger BuildCodeMap(const dynString& picked, const dynString& names, int n);

}  // namespace vork
