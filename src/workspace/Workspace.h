#pragma once

#include <QString>
#include <cstdint>

#include "conditions/Conditions.h"
#include "search/SearchState.h"
#include "model/CellStore.h"
#include "model/Control.h"
#include "workspace/FolderMemory.h"
#include "model/Host.h"
#include "workspace/ResultWindow.h"
#include "workspace/TablesWindow.h"

namespace mivora {

// The whole working state of one run: the three windows' models, the cell store, the joins
// and result columns, the condition tree. One object per run (each test builds its own).
class Workspace {
 public:
  explicit Workspace(Host& host) : host(host) {}
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;

  Host& host;
  const TextMeasurer* measurer = nullptr;  // set by the ui; without it widths stay default

  TablesWindow tables;
  TopWindow equations_window;
  ResultWindow result;

  CellStore cell_store;
  SearchState search;
  Conditions conditions;

  QString resume_mode = QStringLiteral("No");
  FolderMemory table_dialog_folders;
  FolderMemory state_save_folders;  // "現状を保存する"
  FolderMemory state_open_folders;  // "以前中断した処理を再開する"
  // The status the program ends with once it is asked to end (a resume writing its result).
  int exit_status = 0;

  // The last result file written (CSV, HTML or workbook) and its worksheet (empty for CSV and
  // HTML); set only by successful writes, saved in the state file.
  QString last_result_file;
  QString last_result_sheet;
  // The folders of the three result save dialogs (CSV, HTML, workbook), each its own.
  FolderMemory csv_result_folders;
  FolderMemory html_result_folders;
  FolderMemory workbook_result_folders;

  Grid& TableGrid(int slot) { return tables.slots.at(slot).grid; }
  const Grid& TableGrid(int slot) const { return tables.slots.at(slot).grid; }

  // Brings a control in front of its siblings.
  void BringToFront(Control& control) { control.z = ++z_counter_; }

 private:
  std::uint64_t z_counter_ = 0;
};

}  // namespace mivora
