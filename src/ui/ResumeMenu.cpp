#include "ui/ResumeMenu.h"

#include "canvas/ButtonHints.h"
#include "state/Resume.h"
#include "state/Samples.h"
#include "workspace/Workspace.h"

namespace mivora::ui {

namespace {

// Resumes from a path (empty asks for one); every canvas command ends with the right-button hint.
void Resume(Workspace& ws, const QString& path, const std::function<void()>& after) {
  ChooseAndResume(ws, path);
  SetCanvasHintAfterMenu(ws.tables.default_hint_mask, ws.tables.default_hint_picture);
  if (after) after();
}

void AddEntries(QMenu& menu, Workspace& ws, const std::vector<SampleEntry>& entries,
                const std::function<void()>& after) {
  bool first = true;
  for (const SampleEntry& entry : entries) {
    if (!first) menu.addSeparator();
    first = false;
    if (!entry.children.empty()) {
      QMenu* sub = menu.addMenu(entry.caption);
      sub->setObjectName(entry.name);
      AddEntries(*sub, ws, entry.children, after);
      continue;
    }
    QAction* action = menu.addAction(entry.caption);
    action->setObjectName(entry.name);
    const QString path = entry.path;
    QObject::connect(action, &QAction::triggered, &menu,
                     [&ws, path, after] { Resume(ws, path, after); });
  }
}

}  // namespace

QAction* AddResumeCommand(QMenu& menu, Workspace& ws, const std::function<void()>& after) {
  QAction* action = menu.addAction(QStringLiteral("以前中断した処理を再開する"));
  action->setObjectName(QStringLiteral("mnuRsmEnv"));
  action->setEnabled(ws.tables.resume_menu_enabled);
  QObject::connect(action, &QAction::triggered, &menu,
                   [&ws, after] { Resume(ws, QString(), after); });
  return action;
}

QMenu* AddExamplesMenu(QMenu& menu, Workspace& ws, const std::function<void()>& after) {
  QMenu* examples = menu.addMenu(QStringLiteral("例題"));
  examples->setObjectName(QStringLiteral("mnuResume"));
  examples->setEnabled(ws.tables.examples_menu_enabled);
  AddEntries(*examples, ws, SampleMenuEntries(), after);
  examples->addSeparator();
  QAction* oracle = examples->addAction(QStringLiteral("Oracle Example"));
  oracle->setObjectName(QStringLiteral("OracleEx"));
  oracle->setVisible(false);
  return examples;
}

}  // namespace mivora::ui
