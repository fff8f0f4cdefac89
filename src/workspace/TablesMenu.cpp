#include "workspace/TablesMenu.h"

#include "canvas/ButtonHints.h"
#include "state/Resume.h"
#include "workspace/OracleExample.h"
#include "workspace/PasteBox.h"
#include "workspace/Startup.h"
#include "workspace/TableSlots.h"
#include "workspace/Workspace.h"

namespace mivora {

namespace {

// Every command of the canvas menu ends by switching the canvas's hint to the right button.
void AfterMenuCommand(Workspace& ws) {
  SetCanvasHintAfterMenu(ws.tables.default_hint_mask, ws.tables.default_hint_picture);
}

}  // namespace

void MenuLoadTable(Workspace& ws) {
  OpenTable(ws, QStringLiteral("OpenFl"), 0, 0, 0, 0);
  AfterMenuCommand(ws);
}

void MenuResumeEnvironment(Workspace& ws) {
  ChooseAndResume(ws);
  AfterMenuCommand(ws);
}

void MenuPasteBox(Workspace& ws) {
  TogglePasteBox(ws);
  AfterMenuCommand(ws);
}

void MenuSample(Workspace& ws, const QString& state_file) {
  ChooseAndResume(ws, state_file);
  AfterMenuCommand(ws);
}

void MenuOracleExample(Workspace& ws) {
  LoadOracleExample(ws);
  AfterMenuCommand(ws);
}

void MenuExit(Workspace& ws) {
  AfterMenuCommand(ws);
  EndProgram(ws);
}

const std::vector<SampleSubmenu>& SampleSubmenus() {
  static const std::vector<SampleSubmenu> submenus = {
      {QStringLiteral("OptionsDB"), QStringLiteral("CarOptions")},
      {QStringLiteral("WaterFallsDB"), QStringLiteral("WaterFalls")},
      {QStringLiteral("ExcelEx"), QStringLiteral("おろし商店")},
  };
  return submenus;
}

const std::vector<SampleCommand>& SampleCommands() {
  static const std::vector<SampleCommand> commands = {
      {QStringLiteral("DoorMirrorSearch"), QStringLiteral("ボディー同色ドアミラー：検索"),
       QStringLiteral("OptionsDB"), QStringLiteral(".\\Options\\OptionsB.RSM")},
      {QStringLiteral("DoorMirrorSave"), QStringLiteral("ボディー同色ドアミラー：保存"),
       QStringLiteral("OptionsDB"), QStringLiteral(".\\Options\\OptionsC.RSM")},
      {QStringLiteral("Heli"), QStringLiteral("Helicopter"), QStringLiteral("WaterFallsDB"),
       QStringLiteral(".\\WaterFalls\\WaterFallsH.rsm")},
      {QStringLiteral("Telescope"), QStringLiteral("Telescope"), QStringLiteral("WaterFallsDB"),
       QStringLiteral(".\\WaterFalls\\WaterFallsT.rsm")},
      {QStringLiteral("Walk"), QStringLiteral("Walk"), QStringLiteral("WaterFallsDB"),
       QStringLiteral(".\\WaterFalls\\WaterFallsW.rsm")},
      {QStringLiteral("Zais"), QStringLiteral("ﾂｧｲｽ"), QStringLiteral("WaterFallsDB"),
       QStringLiteral(".\\WaterFalls\\WaterFallsZ.rsm")},
      {QStringLiteral("ExcelExsearch"), QStringLiteral("衣料品売上(12月)：検索"),
       QStringLiteral("ExcelEx"), QStringLiteral(".\\Accounts\\AccountsB.rsm")},
      {QStringLiteral("ExcelExsave"), QStringLiteral("衣料品売上(12月)：保存"),
       QStringLiteral("ExcelEx"), QStringLiteral(".\\Accounts\\AccountsC.rsm")},
      {QStringLiteral("CheeseCake"), QStringLiteral("CheeseCake Set"), QString(),
       QStringLiteral(".\\ExcelCake\\ExcelCake1.rsm")},
      {QStringLiteral("mnuTraining"), QStringLiteral("CheeseCake 練習"), QString(),
       QStringLiteral(".\\ExcelCake\\CakeTraining.rsm")},
  };
  return commands;
}

bool ResumeMenuEnabled(const Workspace& ws) { return ws.tables.resume_menu_enabled; }
bool ExamplesMenuEnabled(const Workspace& ws) { return ws.tables.examples_menu_enabled; }

}  // namespace mivora
