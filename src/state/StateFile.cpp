#include "state/StateFile.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

#include "model/Constants.h"
#include "model/Twips.h"
#include "tablefiles/TextEncoding.h"
#include "workspace/Workspace.h"

namespace mivora {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString Num(int value) { return QString::number(value); }

QString RectFields(const TwipRect& r) {
  return TwipText(r.left) + u',' + TwipText(r.top) + u',' + TwipText(r.height) + u',' +
         TwipText(r.width);
}

QString SizeRecord(const TopWindow& w) { return TwipText(w.height) + u',' + TwipText(w.width); }

// The maker's web domain: the product's web address without its scheme.
QString ProductDomain() {
  QString address = ProductWebAddress();
  const qsizetype scheme = address.indexOf(QStringLiteral("://"));
  if (scheme >= 0) address = address.mid(scheme + 3);
  while (address.endsWith(u'/')) address.chop(1);
  return address;
}

void TablesSection(const Workspace& ws, QString& out) {
  const TablesWindow& t = ws.tables;
  const int n = std::max(t.SlotCount() - 1, kFirstTableSlot);
  out += Num(n) + QStringLiteral(", TableFileNames  Left Top Height Width#a#") + kCrLf;
  for (int slot = kFirstTableSlot; slot <= n; ++slot) {
    QString path;
    if (slot < static_cast<int>(t.table_file_names.size())) path = t.table_file_names[slot];
    if (slot < t.SlotCount()) {
      const TableSlot& s = t.slots[slot];
      out += path + u',' + Num(slot) + u',' + RectFields(s.frame.rect) + u',' +
             (s.frame.visible ? QStringLiteral("True") : QStringLiteral("False")) + u',' +
             Num(s.grid.LeftCol()) + u',' + Num(s.grid.TopRow()) + kCrLf;
    } else {
      // The canvas was never prepared: the template slot as start-up would leave it.
      out += path + u',' + Num(slot) + u',' + TwipText(kTemplateFrameLeft) + u',' +
             TwipText(kTemplateFrameTop) + u',' + TwipText(kTemplateFrameHeight) + u',' +
             TwipText(kTemplateFrameWidth) + QStringLiteral(",False,1,1") + kCrLf;
    }
  }
  out += SizeRecord(t.window) + kCrLf;
}

void JoinsSection(const Workspace& ws, QString& out) {
  out += QStringLiteral(
             "JoinsF: Serial# DepartureTable# DepartureColumn# DestinationTable# "
             "DestinationColumn#b#") +
         kCrLf;
  for (int n = 1; n <= kJoinSlots; ++n) {
    const Join& j = ws.search.joins[n];
    if (j.departure_table == 0 || j.destination_table == 0) continue;
    out += Num(n) + u',' + Num(j.departure_table) + u',' + Num(j.departure_column) + u',' +
           Num(j.destination_table) + u',' + Num(j.destination_column) + kCrLf;
  }
}

void ReportSection(const Workspace& ws, QString& out) {
  out += QStringLiteral("ReportTableColumn: Serial# Table# Column#c#") + kCrLf;
  for (int n = 1; n <= kReportSlots; ++n) {
    const ColumnRef& r = ws.search.report_columns[n];
    if (r.table == 0) continue;
    out += Num(n) + u',' + Num(r.table) + u',' + Num(r.column) + kCrLf;
  }
}

QString ContainerRef(int container) {
  return container >= 0 ? QStringLiteral("<") + Num(container) : QStringLiteral("<");
}

void ConditionTreeSections(const Workspace& ws, QString& out) {
  const Conditions& c = ws.conditions;
  const bool pink = !c.panels.empty() && c.panels[0].label_n.back_colour == kAndColour;
  out += QStringLiteral(
             "Parentheses: Serial# PanelLeft PanelTop PanelHeight PanelWidth ConteinerPanel#d#,") +
         Num(static_cast<int>(c.panels.size()) - 1) + u',' +
         (pink ? QStringLiteral("Pink") : QStringLiteral("Blue")) + kCrLf;
  for (int i = 0; i < static_cast<int>(c.panels.size()); ++i) {
    const ParenthesesPanel& p = c.panels[i];
    if (!p.kakko.visible) continue;
    out += Num(i) + u',' + RectFields(p.kakko.rect) + u',' + ContainerRef(p.container) + kCrLf;
  }
  out += QStringLiteral(
             "EquationBox: Serial# TextBoxLeft TextBoxTop TextBoxHeight TextBoxWidth "
             "ContainerPanel#e#,") +
         Num(static_cast<int>(c.boxes.size()) - 1) + kCrLf;
  for (int j = 0; j < static_cast<int>(c.boxes.size()); ++j) {
    const EquationBox& b = c.boxes[j];
    if (!b.txt_hndl.visible) continue;
    out += Num(j) + u',' + RectFields(b.txt_hndl.rect) + u',' + b.text + u',' +
           ContainerRef(b.container) + kCrLf;
  }
  out += QStringLiteral("#f#") + kCrLf;
  out += RectFields(c.cnd_equation.rect) + kCrLf;
  out += kCrLf;
  out += QStringLiteral("this software is deveroped by ") + ProductDomain() + kCrLf;
  out += QStringLiteral("#g#") + kCrLf;
  out += TwipText(c.equation.rect.left) + u',' + TwipText(c.equation.rect.top) + u',' +
         SizeRecord(ws.equations_window) + kCrLf;
}

void ResultSection(const Workspace& ws, QString& out) {
  const ResultWindow& r = ws.result;
  const Grid& found = r.ResultGrid();
  const QString corner = found.Rows() > 0 && found.Cols() > 0 ? found.Text(0, 0) : QString();
  out += QStringLiteral("ResultProperties#h#,") + corner + kCrLf;
  for (const TableSlot& w : r.windows) {
    out += RectFields(w.frame.rect) + u',' + Num(w.grid.LeftCol()) + u',' + Num(w.grid.TopRow()) +
           kCrLf;
  }
  out += SizeRecord(r.window) + kCrLf;
}

void ConditionCellSection(const Workspace& ws, QString& out) {
  out += QStringLiteral("ConditionEquations: Serial# CndTxtBox# Table# Row# Column#i#") + kCrLf;
  const auto& cells = ws.conditions.condition_cells;
  for (int n = 1; n <= kConditionCellCount; ++n) {
    const ConditionCell& cell = cells[n - 1];
    if (cell.table <= 3) continue;
    out += Num(n) + u',' + Num(cell.box) + u',' + Num(cell.table) + u',' + Num(cell.row) + u',' +
           Num(cell.column) + kCrLf;
  }
}

}  // namespace

QString TwipText(float value) {
  if (!std::isfinite(value) || value == 0) return QStringLiteral("0");
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  if (result.ec != std::errc()) return QStringLiteral("0");
  return QString::fromLatin1(buffer, result.ptr - buffer);
}

QString StateFileText(const Workspace& ws) {
  QString out;
  TablesSection(ws, out);
  JoinsSection(ws, out);
  ReportSection(ws, out);
  ConditionTreeSections(ws, out);
  ResultSection(ws, out);
  ConditionCellSection(ws, out);
  out += QStringLiteral("#j#") + kCrLf;
  out += ws.last_result_file + kCrLf;
  out += ws.last_result_sheet + kCrLf;
  out += QStringLiteral("#k#") + kCrLf;
  return out;
}

bool ReadStateFile(const QString& path, QString* text, QString* reason) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    *reason = file.errorString();
    return false;
  }
  // A state file is a few kilobytes; one this large is not one.
  const QString too_large = QStringLiteral("大きすぎます（状態保存ファイルは ") +
                            QString::number(kMaxStateFileBytes >> 20) +
                            QStringLiteral(" MB までです）。");
  if (file.size() > kMaxStateFileBytes) {
    *reason = too_large;
    return false;
  }
  // Room for what the file holds now (and one byte to see it grew past the limit), not for
  // the largest file allowed.
  const QByteArray bytes = file.read(std::min<qint64>(file.size(), kMaxStateFileBytes) + 1);
  if (bytes.size() > kMaxStateFileBytes) {
    *reason = too_large;
    return false;
  }
  if (file.error() != QFileDevice::NoError) {
    *reason = file.errorString();
    return false;
  }
  QByteArray converted;
  QString all = QString::fromUtf8(TableTextAsUtf8(bytes, &converted));
  all.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  all.replace(u'\r', u'\n');
  QStringList lines = all.split(u'\n');
  if (!lines.isEmpty() && lines.constLast().isEmpty()) lines.removeLast();
  text->clear();
  for (const QString& line : lines) *text += line + kCrLf;
  return true;
}

bool WriteStateFile(const QString& path, const QString& text, QString* reason) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) {
    *reason = file.errorString();
    return false;
  }
  const QByteArray bytes = text.toUtf8();
  if (file.write(bytes) != bytes.size() || !file.commit()) {
    *reason = file.errorString();
    file.cancelWriting();
    return false;
  }
  return true;
}

std::optional<int> StateFieldNumber(const QString& field, int min, int max) {
  qsizetype i = 0;
  while (i < field.size() && (field[i] == u' ' || field[i] == u'\t' || field[i] == u'\n')) ++i;
  std::string number;
  auto digit = [&](qsizetype k) {
    return k < field.size() && field[k].isDigit() && field[k].unicode() < 128;
  };
  if (i < field.size() && (field[i] == u'-' || field[i] == u'+'))
    number += char(field[i++].unicode());
  bool any = false;
  while (digit(i)) {
    number += char(field[i++].unicode());
    any = true;
  }
  if (i < field.size() && field[i] == u'.') {
    std::string fraction = ".";
    qsizetype k = i + 1;
    while (digit(k)) fraction += char(field[k++].unicode());
    if (fraction.size() > 1 || any) {
      number += fraction;
      any = any || fraction.size() > 1;
      i = k;
    }
  }
  if (any && i < field.size() && (field[i] == u'e' || field[i] == u'E')) {
    std::string exponent = "e";
    qsizetype k = i + 1;
    if (k < field.size() && (field[k] == u'-' || field[k] == u'+'))
      exponent += char(field[k++].unicode());
    bool exp_digits = false;
    while (digit(k)) {
      exponent += char(field[k++].unicode());
      exp_digits = true;
    }
    if (exp_digits) number += exponent;
  }
  const double value = any ? std::strtod(number.c_str(), nullptr) : 0.0;
  if (!std::isfinite(value) || value < static_cast<double>(min) - 0.5 ||
      value > static_cast<double>(max) + 0.5)
    return std::nullopt;
  const long long rounded = RoundHalfEven(value);
  if (rounded < min || rounded > max) return std::nullopt;
  return static_cast<int>(rounded);
}

}  // namespace mivora
