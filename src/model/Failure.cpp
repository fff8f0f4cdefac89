#include "model/Failure.h"

#include <cstdio>
#include <cstdlib>
#include <new>

#include "model/Host.h"

namespace mivora {

QString FailureMessage(std::exception_ptr error) {
  QString reason;
  try {
    if (error) std::rethrow_exception(error);
    reason = QStringLiteral("原因不明のエラー");
  } catch (const std::bad_alloc&) {
    reason = QStringLiteral("メモリが足りません。");
  } catch (const std::exception& e) {
    reason = QString::fromUtf8(e.what());
  } catch (...) {
    reason = QStringLiteral("原因不明のエラー");
  }
  return QStringLiteral("処理を続けられませんでした：") + reason;
}

void ReportFailure(Host& host, std::exception_ptr error) {
  const QString message = FailureMessage(error);
  if (host.IsBatch()) {
    // One line: the error's own text may hold line breaks.
    QString line = message;
    line.replace(u'\r', u' ').replace(u'\n', u' ');
    std::fputs(line.toUtf8().append('\n').constData(), stderr);
    std::fflush(stderr);
    std::exit(1);
  }
  host.ShowProgress(0, 0);
  host.ShowMessage(message);
}

}  // namespace mivora
