#include "ui/TablesCanvasMenu.h"

#include <QMenu>
#include <QShortcut>
#include <map>

#include "canvas/ButtonHints.h"
#include "ui/HintView.h"
#include "ui/TopLevelWindow.h"
#include "workspace/TableRemoval.h"
#include "workspace/TablesMenu.h"
#include "workspace/Workspace.h"

namespace mivora::ui {

namespace {

template <typename F>
QAction* AddCommand(QMenu* menu, const char* name, const QString& caption, F&& command) {
  QAction* action = menu->addAction(caption);
  action->setObjectName(QString::fromLatin1(name));
  QObject::connect(action, &QAction::triggered, menu, std::forward<F>(command));
  return action;
}

}  // namespace

void ExecCanvasMenu(QWidget* parent, Workspace& ws, SyncHub& hub, const QPoint& global) {
  QMenu menu(QStringLiteral("File"), parent);
  menu.setObjectName(QStringLiteral("FrmMenu"));
  // Each command re-syncs the windows once the menu has closed.
  auto run = [&hub](auto command) {
    return [&hub, command] {
      command();
      hub.SyncAll();
    };
  };

  AddCommand(&menu, "mnuRsmEnv", QStringLiteral("以前中断した処理を再開する"), run([&ws] {
    MenuResumeEnvironment(ws);
  }))->setEnabled(ResumeMenuEnabled(ws));
  menu.addSeparator();
  AddCommand(&menu, "FrmOpen", QStringLiteral("表を読み込む"), run([&ws] { MenuLoadTable(ws); }));
  menu.addSeparator();
  AddCommand(&menu, "mnuBlancTbl", QStringLiteral("html text の paste"),
             run([&ws] { MenuPasteBox(ws); }));
  menu.addSeparator();

  QMenu* examples = menu.addMenu(QStringLiteral("例題"));
  examples->setObjectName(QStringLiteral("mnuResume"));
  examples->menuAction()->setObjectName(QStringLiteral("mnuResume"));
  examples->menuAction()->setEnabled(ExamplesMenuEnabled(ws));
  std::map<QString, QMenu*> submenus;
  for (const SampleSubmenu& s : SampleSubmenus()) {
    QMenu* sub = examples->addMenu(s.caption);
    sub->setObjectName(s.name);
    sub->menuAction()->setObjectName(s.name);
    submenus[s.name] = sub;
    examples->addSeparator();
  }
  for (const SampleCommand& c : SampleCommands()) {
    QMenu* in = c.submenu.isEmpty() ? examples : submenus.at(c.submenu);
    if (!in->actions().isEmpty() && in != examples) in->addSeparator();
    const QString file = c.state_file;
    QAction* a = in->addAction(c.caption);
    a->setObjectName(c.name);
    QObject::connect(a, &QAction::triggered, &menu, run([&ws, file] { MenuSample(ws, file); }));
    if (in == examples) examples->addSeparator();
  }
  AddCommand(examples, "OracleEx", QStringLiteral("Oracle Example"),
             run([&ws] { MenuOracleExample(ws); }))
      ->setVisible(false);
  menu.addSeparator();
  HintView::AddSwitch(&menu, [&ws] {
    SetCanvasHintAfterMenu(ws.tables.default_hint_mask, ws.tables.default_hint_picture);
  });
  AddCommand(&menu, "FrmExit", QStringLiteral("終了"), [&ws] { MenuExit(ws); });
  menu.exec(global);
}

void ExecTableMenu(QWidget* parent, Workspace& ws, SyncHub& hub, const QPoint& global) {
  QMenu menu(QStringLiteral("grid"), parent);
  menu.setObjectName(QStringLiteral("grid0"));
  AddCommand(&menu, "grid1", QStringLiteral("この表を画面から削除する"), [&ws, &hub] {
    RemovePopupTable(ws);
    hub.SyncAll();
  });
  menu.exec(global);
}

void InstallOracleExampleShortcut(QWidget* window, Workspace& ws, SyncHub& hub) {
  auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O), window);
  shortcut->setContext(Qt::WindowShortcut);
  QObject::connect(shortcut, &QShortcut::activated, window, [&ws, &hub] {
    if (!ExamplesMenuEnabled(ws)) return;
    MenuOracleExample(ws);
    hub.SyncAll();
  });
}

}  // namespace mivora::ui
