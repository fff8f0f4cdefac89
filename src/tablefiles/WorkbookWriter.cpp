#include "tablefiles/WorkbookWriter.h"

#include <xlsxwriter.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "model/Grid.h"
#include "tablefiles/CellValueText.h"
#include "tablefiles/WorkbookUpdate.h"

namespace mivora {

namespace {

constexpr int kMaxSheetRows = 1048576;

QString LibraryReason(lxw_error error) { return QString::fromUtf8(lxw_strerror(error)); }

QString TemporaryNameBeside(const QString& path) {
  const QFileInfo info(path);
  return info.absolutePath() + QStringLiteral("/.") + info.fileName() + u'.' +
         QString::number(QCoreApplication::applicationPid()) + QStringLiteral(".tmp");
}

}  // namespace

bool IsLegacyWorkbookName(const QString& path) {
  return QFileInfo(path).suffix().compare(QStringLiteral("xls"), Qt::CaseInsensitive) == 0;
}

bool IsGeneralNumberText(const QString& text, double* value) {
  if (text.isEmpty() || text.size() > 24) return false;
  bool ok = false;
  const double d = text.toDouble(&ok);
  if (!ok || !std::isfinite(d)) return false;
  if (GeneralNumberText(d) != text.toLatin1()) return false;
  *value = d;
  return true;
}

WriteResult WriteWorkbookResult(const Grid& grid, const QString& path, const QString& sheet,
                                QString* written_sheet) {
  if (IsLegacyWorkbookName(path))
    return {false, QStringLiteral("旧形式 (.xls) のブックには書き込めません。")};
  if (QFileInfo::exists(path)) return UpdateWorkbookInPlace(grid, path, sheet, written_sheet);
  const QString name = sheet.trimmed().isEmpty() ? QStringLiteral("Sheet1") : sheet.trimmed();
  NewWorkbookWriter writer(name);
  WriteResult result = writer.Write(grid, path);
  if (result.ok) *written_sheet = name;
  return result;
}

WriteResult NewWorkbookWriter::Write(const Grid& grid, const QString& path) {
  if (grid.Rows() > kMaxSheetRows) {
    return {false, CannotWriteMessage(path, QStringLiteral("行が多すぎます (ワークシートは ") +
                                                QString::number(kMaxSheetRows) +
                                                QStringLiteral(" 行まで)。"))};
  }
  const QString temp = TemporaryNameBeside(path);
  const QByteArray temp_name = QFile::encodeName(temp);
  lxw_workbook_options options{};
  options.constant_memory = LXW_TRUE;
  lxw_workbook* book = workbook_new_opt(temp_name.constData(), &options);
  if (!book) return {false, CannotWriteMessage(path, QStringLiteral("ブックを作れません。"))};
  const QByteArray sheet_name = sheet_.toUtf8();
  lxw_worksheet* ws = workbook_add_worksheet(book, sheet_name.constData());
  auto give_up = [&](const QString& reason) -> WriteResult {
    workbook_close(book);
    QFile::remove(temp);
    return {false, CannotWriteMessage(path, reason)};
  };
  if (!ws) {
    return give_up(QStringLiteral("ワークシート名「") + sheet_ + QStringLiteral("」は使えません。"));
  }
  QByteArray text;
  for (int r = 0; r < grid.Rows(); ++r) {
    for (int c = 1; c < grid.Cols(); ++c) {
      const QByteArrayView utf8 = grid.TextUtf8(r, c);
      if (utf8.isEmpty()) continue;
      lxw_error error;
      double number = 0;
      if (utf8.size() <= 24 && IsGeneralNumberText(QString::fromUtf8(utf8), &number)) {
        error = worksheet_write_number(ws, static_cast<lxw_row_t>(r),
                                       static_cast<lxw_col_t>(c - 1), number, nullptr);
      } else {
        text = utf8.toByteArray();
        error = worksheet_write_string(ws, static_cast<lxw_row_t>(r),
                                       static_cast<lxw_col_t>(c - 1), text.constData(), nullptr);
      }
      if (error != LXW_NO_ERROR) {
        return give_up(QStringLiteral("行 ") + QString::number(r + 1) + QStringLiteral(", 列 ") +
                       QString::number(c) + QStringLiteral(": ") + LibraryReason(error));
      }
    }
  }
  const lxw_error closed = workbook_close(book);
  if (closed != LXW_NO_ERROR) {
    QFile::remove(temp);
    return {false, CannotWriteMessage(path, LibraryReason(closed))};
  }
  if (std::rename(temp_name.constData(), QFile::encodeName(path).constData()) != 0) {
    QFile::remove(temp);
    return {false, CannotWriteMessage(path, QString::fromLocal8Bit(std::strerror(errno)))};
  }
  return {};
}

}  // namespace mivora
