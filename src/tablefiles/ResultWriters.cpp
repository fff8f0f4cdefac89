#include "tablefiles/ResultWriters.h"

#include "workspace/Workspace.h"

namespace mivora {

namespace {
bool NotYet(Workspace& ws) {
  ws.host.ShowMessage(QStringLiteral("この機能はまだ使えません。"));
  return false;
}
}  // namespace

bool WriteResultCsv(Workspace& ws, const QString&) { return NotYet(ws); }
bool WriteResultHtml(Workspace& ws, const QString&) { return NotYet(ws); }
bool WriteResultWorkbook(Workspace& ws, const QString&, const QString&) { return NotYet(ws); }

}  // namespace mivora
