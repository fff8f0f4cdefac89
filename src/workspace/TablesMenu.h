#pragma once

#include <QString>
#include <vector>

namespace mivora {

class Workspace;

// "表を読み込む" of the canvas menu: reads a chosen table file into a new table window.
void MenuLoadTable(Workspace& ws);

// The other commands of the canvas menu `FrmMenu`. Each ends by switching the canvas's hint
// to the one shown after a menu command.
// "以前中断した処理を再開する": the user picks a state file and the workspace resumes from it.
void MenuResumeEnvironment(Workspace& ws);
// "html text の paste": shows or hides the paste box.
void MenuPasteBox(Workspace& ws);
// A "例題" sample: resumes from its state file.
void MenuSample(Workspace& ws, const QString& state_file);
// "Oracle Example": the example tables, joined and searched.
void MenuOracleExample(Workspace& ws);
// "終了": ends the program as the close box does.
void MenuExit(Workspace& ws);

// One sample command under "例題": its control name, caption, the submenu it sits in (empty
// for the top level of "例題") and its state file, relative to the program's folder.
struct SampleCommand {
  QString name;
  QString caption;
  QString submenu;
  QString state_file;
};
// In menu order.
const std::vector<SampleCommand>& SampleCommands();
// The control names and captions of the "例題" submenus, in menu order.
struct SampleSubmenu {
  QString name;
  QString caption;
};
const std::vector<SampleSubmenu>& SampleSubmenus();

// The menu states: "以前中断した処理を再開する" and "例題" go off for good once a table was
// loaded; the first also once the canvas menu opened while a window was minimised or maximised.
bool ResumeMenuEnabled(const Workspace& ws);
bool ExamplesMenuEnabled(const Workspace& ws);

}  // namespace mivora
