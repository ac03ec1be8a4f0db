#pragma once

#include <QDialog>

#include "core/dyn_arrays.h"
#include "core/line_buffer.h"
#include "core/mds_header.h"
#include "widgets/window_host.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;

namespace vork {

class TRadioGroup;

// The rounding dialog: the current compiled file's times, in tenths,
// hundredths or thousandths of a second, rewritten in a coarser unit into
// the same file or a new numbered one, which becomes the current file.
class TRoundMDS : public QDialog {
  Q_OBJECT

 public:
  explicit TRoundMDS(WindowHost& host, QWidget* parent = nullptr);

  // --- handlers and working routines --------------------------------------
  void FileOpenMDSExecute();
  void FileCloseExecute();
  void RunComputeExecute();
  void LoadMdsForRounding();

  // --- the loaded file ---------------------------------------------------
  LineBuffer MdsLines;
  MdsHeader Header;  // Header.LineIndex is where the header ends (the units line)

  // --- controls ----------------------------------------------------------
  QLabel* RoundLabel = nullptr;
  QComboBox* RoundBox = nullptr;
  TRadioGroup* OverwriteMdsBox = nullptr;
  QCheckBox* CloseAfterRun = nullptr;
  QProgressBar* ProgressBar1 = nullptr;
  QAction* FileOpenMDS = nullptr;
  QAction* RunCompute = nullptr;
  QAction* FileClose = nullptr;
  FileDialogSpec SaveMdsDialog;

 private:
  void SaveRoundedMds(const LineBuffer& lines, const QString& stamp);
  void WriteRoundedMdsFile(const LineBuffer& lines, const QString& stamp);

  WindowHost& Host;
};

}  // namespace vork
