#include "app/window_kinds.h"

#include "agreement/compute_kappa_window.h"
#include "analysis/breakdown_events_window.h"
#include "analysis/export_table_window.h"
#include "analysis/plot_mds_window.h"
#include "analysis/simple_stats_window.h"
#include "analysis/table_stats_window.h"
#include "app/main_window.h"
#include "modify/modify_mds_dialog.h"
#include "modify/round_mds_dialog.h"

namespace vork {
namespace {

template <class Window>
QWidget* Make(WindowHost& host, QWidget* parent) {
  return new Window(host, parent);
}

const WindowKind Kinds[] = {
    {&TMainForm::RunSimpleStats, "SimpleStats", WindowKind::SingleFile, &Make<TSimpleStats>},
    {&TMainForm::RunTableStats, "TableStats", WindowKind::SingleFile, &Make<TTableStats>},
    {&TMainForm::RunPlotMDS, "PlotMDS", WindowKind::SingleFile, &Make<TPlotMDS>},
    {&TMainForm::RunBreakdown, "BreakdownEvents", WindowKind::SingleFile, &Make<TBreakdownEvents>},
    {&TMainForm::RunExportTable, "ExportTable", WindowKind::SingleFile, &Make<TExportTable>},
    {&TMainForm::RunComputeKappa, "ComputeKappa", WindowKind::Agreement, &Make<TComputeKappa>},
    {&TMainForm::RunModifyMDS, "ModifyMDS", WindowKind::Modal, &Make<TModifyMDS>},
    {&TMainForm::RunRound, "RoundMDS", WindowKind::Modal, &Make<TRoundMDS>},
};

}  // namespace

std::span<const WindowKind> WindowKinds() { return Kinds; }

}  // namespace vork
