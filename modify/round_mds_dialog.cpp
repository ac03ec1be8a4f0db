#include "modify/round_mds_dialog.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QToolBar>
#include <QVBoxLayout>

#include "core/mds_reader.h"
#include "core/results_format.h"
#include "core/text_file.h"
#include "modify/round_mds_name.h"
#include "modify/round_times.h"
#include "widgets/date_time_text.h"
#include "widgets/desktop_dialogue.h"
#include "widgets/radio_group_box.h"
#include "widgets/text_lines.h"

namespace vork {

TRoundMDS::TRoundMDS(WindowHost& host, QWidget* parent) : QDialog(parent), Host(host) {
  setWindowTitle("Round times in MDS file");
  move(230, 160);
  setFont(host.MainFont());
  SaveMdsDialog = {"Save MDS file as...", "MDS file (*.mds)|*.mds", "mds", "", true, false};

  FileOpenMDS = new QAction("Open MDS file...", this);
  RunCompute = new QAction("Rounds times", this);
  FileClose = new QAction("Close", this);
  FileClose->setToolTip("Close this window");
  connect(FileOpenMDS, &QAction::triggered, this, [this] { FileOpenMDSExecute(); });
  connect(RunCompute, &QAction::triggered, this, [this] { RunComputeExecute(); });
  connect(FileClose, &QAction::triggered, this, [this] { FileCloseExecute(); });

  auto* column = new QVBoxLayout(this);
  auto* menus = new QMenuBar(this);
  QMenu* file = menus->addMenu("&File");
  file->addAction(FileOpenMDS);
  file->addSeparator();
  file->addAction(FileClose);
  menus->addMenu("&Run")->addAction(RunCompute);
  column->setMenuBar(menus);
  auto* tools = new QToolBar(this);
  tools->addAction(RunCompute);
  ProgressBar1 = new QProgressBar(tools);
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setValue(0);
  tools->addWidget(ProgressBar1);
  column->addWidget(tools);

  auto* round = new QHBoxLayout();
  RoundLabel = new QLabel("Round  to:", this);
  RoundBox = new QComboBox(this);
  round->addWidget(RoundLabel);
  round->addWidget(RoundBox, 1);
  column->addLayout(round);
  OverwriteMdsBox = new TRadioGroup(
      "When you selelct RUN:", {"overwrite the current MDS file.", "write to a new MDS file, prompt for name."}, 1,
      this);
  column->addWidget(OverwriteMdsBox);
  CloseAfterRun = new QCheckBox("Close after Run", this);
  CloseAfterRun->setChecked(true);
  column->addWidget(CloseAfterRun);

  LoadMdsForRounding();
}

void TRoundMDS::LoadMdsForRounding() {
  RunCompute->setEnabled(false);
  const QString fileName = Host.CurrentMdsFile();
  bool read = false;
  RunCommand(Host.Dialogs(), [&] { read = ReadMdsHeader(MdsLines, fileName.toStdString(), Header, Host.Dialogs()); });
  if (!read) {
    // There is no current compiled file any more.
    Host.SetCurrentMdsFile(QString(), false);
    return;
  }
  const std::string refusal = RoundingRefusal(Header);
  if (!refusal.empty()) {
    Host.Dialogs().Notice(QString::fromStdString(refusal));
    return;
  }
  SaveMdsDialog.FileName = fileName;
  setWindowTitle("Round times in MDS file - " + NameWithoutFolder(fileName));
  RoundBox->clear();
  for (int unit = 0; unit < Header.TimeUnitIndex && unit < int(RoundUnitNames.size()); ++unit)
    RoundBox->addItem(QString::fromUtf8(RoundUnitNames[size_t(unit)].data()));
  RoundBox->setCurrentIndex(0);
  RoundLabel->setText("Round " + QString::fromUtf8(TimeUnitPrefix[size_t(Header.TimeUnitIndex)].data()) + " to:");
  RunCompute->setEnabled(true);
}

void TRoundMDS::FileOpenMDSExecute() {
  if (Host.OpenMdsFile(false)) LoadMdsForRounding();
}

void TRoundMDS::FileCloseExecute() { close(); }

void TRoundMDS::RunComputeExecute() {
  if (!RunCompute->isEnabled()) return;
  DesktopDialogue dialogue(Host.Dialogs(), *ProgressBar1);
  bool done = false;
  RunCommand(Host.Dialogs(), [&] {
    const QString stamp = NowText();
    RoundingOutput output;
    try {
      RoundMdsTimes(MdsLines, Header, SaveMdsDialog.FileName.toStdString(), RoundBox->currentIndex(),
                    stamp.toStdString(), output, dialogue);
    } catch (...) {
      // The results keep what the run wrote before the fault.
      Host.AppendResults(output.ResultLines);
      ProgressBar1->setValue(0);
      throw;
    }
    Host.AppendResults(output.ResultLines);
    ProgressBar1->setValue(0);
    SaveRoundedMds(output.MdsLines, stamp);
    done = true;
  });
  if (done && CloseAfterRun->isChecked()) close();
}

void TRoundMDS::SaveRoundedMds(const LineBuffer& lines, const QString& stamp) {
  if (OverwriteMdsBox->ItemIndex() == 0) {
    WriteRoundedMdsFile(lines, stamp);
    return;
  }
  const std::string next = NextNumberedMdsName(SaveMdsDialog.FileName.toStdString());
  if (!next.empty()) SaveMdsDialog.FileName = QString::fromStdString(next);
  std::optional<QString> chosen = Host.Dialogs().SaveFileName(SaveMdsDialog);
  if (!chosen) return;
  SaveMdsDialog.FileName = *chosen;
  WriteRoundedMdsFile(lines, stamp);
}

void TRoundMDS::WriteRoundedMdsFile(const LineBuffer& lines, const QString& stamp) {
  // Written beside the file it replaces: a failed write leaves that file whole.
  SaveLines(SaveMdsDialog.FileName.toStdString(), lines);
  Host.AddFileSavedMsg(SaveMdsDialog.FileName, " (rounded), ", stamp);
  Host.SetCurrentMdsFile(SaveMdsDialog.FileName, false);
}

}  // namespace vork
