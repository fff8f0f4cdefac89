#include "workspace/Startup.h"

#include "canvas/ButtonHints.h"
#include "canvas/ScrollBars.h"
#include "conditions/EquationBoxes.h"
#include "search/ResultWindowCommands.h"
#include "state/Resume.h"
#include "state/StateFile.h"
#include "model/Constants.h"
#include "workspace/TableSlots.h"
#include "workspace/Workspace.h"

namespace mivora {

namespace {

// Tables loads its canvas the first time it is shown.
void ShowTablesWindow(Workspace& ws) {
  LoadTablesWindow(ws);
  ws.tables.window.visible = true;
}

// Equations and Result load their models the first time they are shown.
void ShowOtherWindows(Workspace& ws, bool* loaded) {
  if (!*loaded) {
    LoadEquationsWindow(ws);
    LoadResultWindow(ws);
    *loaded = true;
  }
  ws.equations_window.visible = true;
  ws.result.window.visible = true;
}

}  // namespace

QString WindowCaption(const QString& name) { return name + u' ' + ProductWebAddress(); }

QString ResumeMode(Workspace& ws, const QString& text) {
  if (text == QStringLiteral("Shrink"))
    ws.resume_mode = QStringLiteral("Yes");
  else if (text == QStringLiteral("Expand"))
    ws.resume_mode = QStringLiteral("No");
  return ws.resume_mode;
}

void LoadTablesWindow(Workspace& ws) {
  TablesWindow& t = ws.tables;
  if (!t.slots.empty()) return;
  // Slots 0-3: the boundary bars, in the canvas colour and without border.
  for (int i = 0; i < 4; ++i) {
    TableSlot& bar = t.slots.emplace_back();
    bar.frame.back_colour = kCanvasColour;
    bar.frame.border = false;
    bar.frame.visible = true;
  }
  // The pool of join-line segments, hidden until the layout shows them.
  t.line2.resize(kLine2Count);
  for (Control& segment : t.line2) {
    segment.back_colour = kJoinLineColour;
    segment.rect.width = kLine2Thickness;
    segment.rect.height = kLine2Thickness;
    ws.BringToFront(segment);
  }
  // Slot 4: the template table window.
  TableSlot& tmpl = t.slots.emplace_back();
  tmpl.frame.rect = {kTemplateFrameLeft, kTemplateFrameTop, kTemplateFrameWidth,
                     kTemplateFrameHeight};
  tmpl.frame.back_colour = kTemplateFrameColour;
  tmpl.frame.visible = true;
  tmpl.graph_box.back_colour = kTemplateFrameColour;
  for (Control* c : {&tmpl.vsc_bar, &tmpl.hsc_bar}) c->back_colour = kScrollBarColour;
  for (Control* c : {&tmpl.vsldr, &tmpl.hsldr}) c->back_colour = kSliderColour;
  for (Control* c : {&tmpl.up_arrow, &tmpl.dn_arrow, &tmpl.le_arrow, &tmpl.ri_arrow, &tmpl.corner})
    c->back_colour = kCornerColour;
  for (Control* c : {&tmpl.graph_box, &tmpl.vsc_bar, &tmpl.hsc_bar, &tmpl.vsldr, &tmpl.up_arrow,
                     &tmpl.dn_arrow, &tmpl.hsldr, &tmpl.le_arrow, &tmpl.ri_arrow, &tmpl.corner})
    c->visible = true;
  tmpl.grid.control.visible = true;
  tmpl.frame.rect.height = kTemplateFrameHeight;
  tmpl.frame.rect.left = kTemplateFrameLeft;
  PlaceSlot(ws, kFirstTableSlot, 0, 0, 0, 0);
  SetCanvasScrollBarGeometry(ws);
  SetTableScrollBarGeometry(tmpl);
  tmpl.frame.visible = false;
  UpdateCanvasVScroll(ws);
  UpdateCanvasHScroll(ws);
  SetCanvasHintAtLoad(t.default_hint_mask, t.default_hint_picture);
}

ResumeOutcome StartUp(Workspace& ws, const QStringList& arguments) {
  ws.tables.window.caption = WindowCaption(QStringLiteral("表編集"));
  ws.equations_window.caption = WindowCaption(QStringLiteral("条件式編集"));
  ws.result.window.caption = WindowCaption(QStringLiteral("検索結果"));
  bool others_loaded = false;

  ResumeOutcome outcome = ResumeOutcome::kCancelled;
  QString state_text, reason;
  if (!arguments.isEmpty()) {
    if (ReadStateFile(arguments.first(), &state_text, &reason)) {
      ResumeMode(ws, QStringLiteral("Shrink"));
      ShowTablesWindow(ws);
      ShowOtherWindows(ws, &others_loaded);
      outcome = ResumeState(ws, state_text, arguments.first());
      // A file naming a result file is a run to be repeated: it ends, also when stopped.
      if (outcome == ResumeOutcome::kStopped && NamesResultFile(state_text)) {
        ws.exit_status = 1;
        ws.host.ExitProgram();
      }
    } else {
      ws.host.ShowMessage(StateFileOpenMessage(arguments.first(), reason));
    }
  }
  for (TopWindow* w : {&ws.tables.window, &ws.equations_window, &ws.result.window}) {
    w->height = kStartWindowHeight;
    w->width = kStartWindowWidth;
  }
  ResumeMode(ws, QStringLiteral("Expand"));
  if (!ws.tables.window.visible) {
    ShowTablesWindow(ws);
    ShowOtherWindows(ws, &others_loaded);
  }
  return outcome;
}

void EndProgram(Workspace& ws) {
  SetCanvasHintAfterMenu(ws.tables.default_hint_mask, ws.tables.default_hint_picture);
  ws.host.ExitProgram();
}

}  // namespace mivora
