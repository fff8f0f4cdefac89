#include "tablefiles/WorkbookUpdate.h"

#include <zip.h>

#include <QFile>
#include <list>
#include <map>
#include <set>

#include "model/Grid.h"
#include "tablefiles/WorkbookWriter.h"
#include "tablefiles/XlsxParts.h"
#include "tablefiles/ZipArchive.h"

namespace mivora {

namespace {

constexpr int kMaxSheetRows = 1048576;
constexpr int kMaxCellChars = 32767;

// Writes a pugixml document into a byte array.
struct ByteWriter : pugi::xml_writer {
  QByteArray bytes;
  void write(const void* data, std::size_t size) override {
    bytes.append(static_cast<const char*>(data), static_cast<qsizetype>(size));
  }
};

QByteArray Serialize(const pugi::xml_document& doc) {
  ByteWriter w;
  doc.save(w, "", pugi::format_raw, pugi::encoding_utf8);
  return w.bytes;
}

// Control characters and "_xHHHH_"-like texts escaped as workbooks store them.
QByteArray EncodeXstring(const QByteArray& text) {
  QByteArray out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const bool looks_escaped = c == '_' && i + 6 < text.size() && text[i + 1] == 'x' &&
                               text[i + 6] == '_';
    if ((c < 0x20 && c != '\t' && c != '\n') || looks_escaped) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "_x%04X_", c);
      out.append(buf);
    } else {
      out.append(static_cast<char>(c));
    }
  }
  return out;
}

// The sheet's rows by number, cells given references, so cells can be found and inserted in
// order.
class SheetCells {
 public:
  explicit SheetCells(pugi::xml_node sheet_data, QByteArray prefix)
      : data_(sheet_data), prefix_(std::move(prefix)) {
    int last_row = 0;
    for (pugi::xml_node row : data_.children()) {
      if (!IsNamed(row, "row")) continue;
      int r = row.attribute("r") ? row.attribute("r").as_int() : last_row + 1;
      last_row = r;
      if (!row.attribute("r")) row.append_attribute("r").set_value(r);
      rows_[r] = row;
      int last_col = 0;
      for (pugi::xml_node c : row.children()) {
        if (!IsNamed(c, "c")) continue;
        int col = last_col + 1, cr = r;
        if (pugi::xml_attribute ref = c.attribute("r")) SplitCellRef(ref.value(), &col, &cr);
        last_col = col;
        if (!c.attribute("r")) c.append_attribute("r").set_value(CellRefText(col, r).constData());
      }
    }
  }

  pugi::xml_node Row(int r, bool create) {
    auto it = rows_.lower_bound(r);
    if (it != rows_.end() && it->first == r) return it->second;
    if (!create) return {};
    const QByteArray name = prefix_ + "row";
    pugi::xml_node row = it == rows_.end() ? data_.append_child(name.constData())
                                           : data_.insert_child_before(name.constData(), it->second);
    row.append_attribute("r").set_value(r);
    rows_.emplace_hint(it, r, row);
    return row;
  }

  static int ColOf(const pugi::xml_node& c) {
    int col = 0, row = 0;
    SplitCellRef(c.attribute("r").value(), &col, &row);
    return col;
  }

  pugi::xml_node Cell(int r, int col, bool create) {
    pugi::xml_node row = Row(r, create);
    if (!row) return {};
    pugi::xml_node before;
    for (pugi::xml_node c : row.children()) {
      if (!IsNamed(c, "c")) continue;
      const int cc = ColOf(c);
      if (cc == col) return c;
      if (cc > col) {
        before = c;
        break;
      }
    }
    if (!create) return {};
    row.remove_attribute("spans");
    const QByteArray name = prefix_ + "c";
    pugi::xml_node c = before ? row.insert_child_before(name.constData(), before)
                              : row.append_child(name.constData());
    c.append_attribute("r").set_value(CellRefText(col, r).constData());
    return c;
  }

  const std::map<int, pugi::xml_node>& Rows() const { return rows_; }

 private:
  pugi::xml_node data_;
  QByteArray prefix_;
  std::map<int, pugi::xml_node> rows_;
};

bool HoldsValue(const pugi::xml_node& c) {
  if (pugi::xml_node v = ChildNamed(c, "v")) return *v.text().get() != 0;
  if (pugi::xml_node is = ChildNamed(c, "is")) return !StringItemText(is).isEmpty();
  return false;
}

// Parses "A1:C3" (or "B2") into a rectangle of 1-based columns and rows.
bool ParseRange(const char* ref, int* c1, int* r1, int* c2, int* r2) {
  const char* colon = std::strchr(ref, ':');
  if (!colon) return SplitCellRef(ref, c1, r1) && SplitCellRef(ref, c2, r2);
  const std::string first(ref, colon);
  return SplitCellRef(first.c_str(), c1, r1) && SplitCellRef(colon + 1, c2, r2);
}

// Sets the workbook's calcPr to recompute every formula when opened.
void RequestFullCalculation(pugi::xml_node workbook) {
  pugi::xml_node calc = ChildNamed(workbook, "calcPr");
  if (!calc) {
    static const char* const kAfter[] = {"oleSize",       "customWorkbookViews", "pivotCaches",
                                         "smartTagPr",    "smartTagTypes",       "webPublishing",
                                         "fileRecoveryPr", "webPublishObjects",  "extLst"};
    pugi::xml_node before;
    for (pugi::xml_node child : workbook.children()) {
      for (const char* name : kAfter) {
        if (IsNamed(child, name)) before = child;
      }
      if (before) break;
    }
    const char* root = workbook.name();
    const char* colon = std::strrchr(root, ':');
    const QByteArray name = QByteArray(root, colon ? colon - root + 1 : 0) + "calcPr";
    calc = before ? workbook.insert_child_before(name.constData(), before)
                  : workbook.append_child(name.constData());
  }
  if (!calc.attribute("fullCalcOnLoad")) calc.append_attribute("fullCalcOnLoad");
  calc.attribute("fullCalcOnLoad").set_value("1");
}

class Update {
 public:
  Update(const Grid& grid, const QString& path) : grid_(grid), path_(path) {}
  WriteResult Run(const QString& sheet, QString* written_sheet);

 private:
  WriteResult Fail(const QString& reason) { return {false, CannotWriteMessage(path_, reason)}; }
  bool LoadXml(const QString& part, pugi::xml_document* doc, QString* reason);
  bool Replace(zip_t* z, const QString& part, QByteArray bytes, QString* reason);

  const Grid& grid_;
  QString path_;
  ZipArchive archive_;
  std::list<QByteArray> keep_alive_;  // buffers libzip reads at zip_close
};

bool Update::LoadXml(const QString& part, pugi::xml_document* doc, QString* reason) {
  QByteArray bytes;
  if (!archive_.Read(part, &bytes, reason)) return false;
  if (!doc->load_buffer(bytes.constData(), bytes.size(), kXmlParseFlags | pugi::parse_declaration)) {
    *reason = QStringLiteral("「") + part + QStringLiteral("」を読めません。");
    return false;
  }
  return true;
}

bool Update::Replace(zip_t* z, const QString& part, QByteArray bytes, QString* reason) {
  keep_alive_.push_back(std::move(bytes));
  const QByteArray& kept = keep_alive_.back();
  const zip_int64_t index = zip_name_locate(z, part.toUtf8().constData(), 0);
  zip_source_t* source = zip_source_buffer(z, kept.constData(), static_cast<zip_uint64_t>(kept.size()), 0);
  if (index < 0 || !source || zip_file_replace(z, static_cast<zip_uint64_t>(index), source, 0) != 0) {
    if (source) zip_source_free(source);
    *reason = QString::fromUtf8(zip_strerror(z));
    return false;
  }
  return true;
}

WriteResult Update::Run(const QString& sheet, QString* written_sheet) {
  QString reason;
  if (grid_.Rows() > kMaxSheetRows)
    return Fail(QStringLiteral("行が多すぎます (ワークシートは ") + QString::number(kMaxSheetRows) +
                QStringLiteral(" 行まで)。"));
  for (int r = 0; r < grid_.Rows(); ++r) {
    for (int c = 1; c < grid_.Cols(); ++c) {
      if (grid_.TextUtf8(r, c).size() > kMaxCellChars && grid_.Text(r, c).size() > kMaxCellChars)
        return Fail(QStringLiteral("セルの文字が 32767 文字を超えます。"));
    }
  }
  XlsxLayout layout;
  if (!archive_.Open(path_, &reason) || !ReadXlsxLayout(archive_, &layout, &reason))
    return Fail(reason);
  const XlsxSheetPart* target = nullptr;
  for (const XlsxSheetPart& s : layout.sheets) {
    if (s.name.trimmed() == sheet.trimmed()) {
      target = &s;
      break;
    }
  }
  if (!target)
    return {false, QStringLiteral("ワークシート「") + sheet.trimmed() + QStringLiteral("」がありません。")};

  std::vector<QByteArray> shared;
  if (!layout.shared_strings_part.isEmpty() && archive_.Has(layout.shared_strings_part)) {
    pugi::xml_document sst;
    if (!LoadXml(layout.shared_strings_part, &sst, &reason)) return Fail(reason);
    for (pugi::xml_node si : sst.document_element().children())
      if (IsNamed(si, "si")) shared.push_back(StringItemText(si));
  }
  pugi::xml_document doc;
  if (!LoadXml(target->part, &doc, &reason)) return Fail(reason);
  pugi::xml_node worksheet = doc.document_element();
  pugi::xml_node data = ChildNamed(worksheet, "sheetData");
  if (!data) return Fail(QStringLiteral("sheetData がありません。"));
  const char* root = worksheet.name();
  const char* colon = std::strrchr(root, ':');
  const QByteArray prefix(root, colon ? colon - root + 1 : 0);
  SheetCells cells(data, prefix);

  // The used range and the headers of row 1.
  int used_rows = 0, used_cols = 0;
  std::map<int, QString> headers;
  for (const auto& [r, row] : cells.Rows()) {
    for (pugi::xml_node c : row.children()) {
      if (!IsNamed(c, "c") || !HoldsValue(c)) continue;
      const int col = SheetCells::ColOf(c);
      used_rows = std::max(used_rows, r);
      used_cols = std::max(used_cols, col);
      if (r != 1) continue;
      QByteArray text;
      if (std::strcmp(c.attribute("t").value(), "s") == 0) {
        const unsigned i = ChildNamed(c, "v").text().as_uint(~0u);
        if (i < shared.size()) text = shared[i];
      } else if (pugi::xml_node is = ChildNamed(c, "is")) {
        text = StringItemText(is);
      } else {
        text = ChildNamed(c, "v").text().get();
      }
      headers[col] = QString::fromUtf8(text).trimmed();
    }
  }

  // Which sheet cells get which result cells: (sheet column, result column), data from
  // `first_row`; cleared rows below down to `clear_to`.
  std::vector<std::pair<int, int>> columns;
  int first_sheet_row = 2, first_result_row = 1, clear_to = 0;
  if (used_rows == 0) {
    for (int c = 1; c < grid_.Cols(); ++c) columns.push_back({c, c});
    first_sheet_row = 1;
    first_result_row = 0;
  } else {
    for (const auto& [col, header] : headers) {
      if (header.isEmpty()) continue;
      for (int j = 1; j < grid_.Cols(); ++j) {
        if (grid_.Text(0, j).trimmed().toUpper() == header.toUpper()) {
          columns.push_back({col, j});
          break;
        }
      }
    }
    if (grid_.Rows() < used_rows) clear_to = used_rows + 1;
  }
  const int last_written = first_sheet_row + (grid_.Rows() - first_result_row) - 1;
  std::set<int> written_cols;
  for (const auto& [col, j] : columns) written_cols.insert(col);
  auto is_written = [&](int r, int col) {
    return written_cols.count(col) && r >= first_sheet_row && r <= std::max(last_written, clear_to);
  };

  // Refuse before touching anything: a written cell anchoring a formula range that reaches
  // unwritten cells.
  bool formula_touched = false;
  for (const auto& [r, row] : cells.Rows()) {
    for (pugi::xml_node c : row.children()) {
      if (!IsNamed(c, "c")) continue;
      pugi::xml_node f = ChildNamed(c, "f");
      if (!f || !is_written(r, SheetCells::ColOf(c))) continue;
      formula_touched = true;
      if (pugi::xml_attribute ref = f.attribute("ref")) {
        int c1, r1, c2, r2;
        if (!ParseRange(ref.value(), &c1, &r1, &c2, &r2)) continue;
        for (int rr = r1; rr <= r2; ++rr)
          for (int cc = c1; cc <= c2; ++cc)
            if (!is_written(rr, cc))
              return {false, CannotWriteMessage(
                                 path_, QStringLiteral("セル ") + QString::fromUtf8(CellRefText(
                                                                       SheetCells::ColOf(c), r)) +
                                            QStringLiteral(" の数式が書き込まないセルに及びます。"))};
      }
    }
  }

  auto set_value = [&](pugi::xml_node c, QByteArrayView utf8) {
    for (const char* child : {"f", "v", "is"}) {
      while (pugi::xml_node n = ChildNamed(c, child)) c.remove_child(n);
    }
    c.remove_attribute("t");
    if (utf8.isEmpty()) return;
    double number = 0;
    const QString text = QString::fromUtf8(utf8);
    if (IsGeneralNumberText(text, &number)) {
      c.append_child((prefix + "v").constData()).text().set(utf8.toByteArray().constData());
      return;
    }
    c.append_attribute("t").set_value("inlineStr");
    pugi::xml_node t = c.append_child((prefix + "is").constData())
                           .append_child((prefix + "t").constData());
    t.append_attribute("xml:space").set_value("preserve");
    t.text().set(EncodeXstring(utf8.toByteArray()).constData());
  };
  for (const auto& [col, j] : columns) {
    for (int r = first_result_row; r < grid_.Rows(); ++r) {
      const QByteArrayView utf8 = grid_.TextUtf8(r, j);
      const int sheet_row = first_sheet_row + r - first_result_row;
      pugi::xml_node c = cells.Cell(sheet_row, col, !utf8.isEmpty());
      if (c) set_value(c, utf8);
    }
    for (int r = last_written + 1; r <= clear_to; ++r) {
      if (pugi::xml_node c = cells.Cell(r, col, false)) set_value(c, {});
    }
  }

  // <dimension> follows the cells now there.
  int dim_rows = 0, dim_cols = 0;
  for (const auto& [r, row] : cells.Rows()) {
    for (pugi::xml_node c : row.children()) {
      if (!IsNamed(c, "c")) continue;
      dim_rows = std::max(dim_rows, r);
      dim_cols = std::max(dim_cols, SheetCells::ColOf(c));
    }
  }
  if (pugi::xml_node dim = ChildNamed(worksheet, "dimension")) {
    QByteArray ref = dim_rows == 0 ? QByteArray("A1")
                                   : "A1:" + CellRefText(std::max(dim_cols, 1), dim_rows);
    if (ref == "A1:A1") ref = "A1";
    if (!dim.attribute("ref")) dim.append_attribute("ref");
    dim.attribute("ref").set_value(ref.constData());
  }

  pugi::xml_document book;
  if (!LoadXml(layout.workbook_part, &book, &reason)) return Fail(reason);
  RequestFullCalculation(book.document_element());

  int error = 0;
  zip_t* z = zip_open(QFile::encodeName(path_).constData(), 0, &error);
  if (!z) return Fail(QStringLiteral("ブックを開けません。"));
  bool ok = Replace(z, target->part, Serialize(doc), &reason) &&
            Replace(z, layout.workbook_part, Serialize(book), &reason);
  if (ok && formula_touched) {
    // The calculation chain lists formula cells; one was overwritten, so it goes.
    std::vector<Relationship> rels;
    QString calc_chain;
    if (ReadRelationships(archive_, layout.workbook_part, &rels, &reason)) {
      for (const Relationship& r : rels)
        if (r.type.endsWith(QStringLiteral("/calcChain"))) calc_chain = r.target;
    }
    if (!calc_chain.isEmpty()) {
      const zip_int64_t index = zip_name_locate(z, calc_chain.toUtf8().constData(), 0);
      if (index >= 0) zip_delete(z, static_cast<zip_uint64_t>(index));
      const QString rels_part = RelationshipsPartOf(layout.workbook_part);
      pugi::xml_document rels_doc, types;
      if (LoadXml(rels_part, &rels_doc, &reason)) {
        pugi::xml_node root_node = rels_doc.document_element();
        for (pugi::xml_node r = root_node.first_child(); r;) {
          pugi::xml_node next = r.next_sibling();
          if (QByteArray(r.attribute("Type").value()).endsWith("/calcChain")) root_node.remove_child(r);
          r = next;
        }
        ok = Replace(z, rels_part, Serialize(rels_doc), &reason);
      }
      const QString types_part = QStringLiteral("[Content_Types].xml");
      if (ok && LoadXml(types_part, &types, &reason)) {
        pugi::xml_node root_node = types.document_element();
        const QByteArray part_name = "/" + calc_chain.toUtf8();
        for (pugi::xml_node o = root_node.first_child(); o;) {
          pugi::xml_node next = o.next_sibling();
          if (part_name == o.attribute("PartName").value()) root_node.remove_child(o);
          o = next;
        }
        ok = Replace(z, types_part, Serialize(types), &reason);
      }
    }
  }
  if (!ok) {
    zip_discard(z);
    return Fail(reason);
  }
  if (zip_close(z) != 0) {
    reason = QString::fromUtf8(zip_strerror(z));
    zip_discard(z);
    return Fail(reason);
  }
  *written_sheet = target->name;
  return {};
}

}  // namespace

WriteResult UpdateWorkbookInPlace(const Grid& grid, const QString& path, const QString& sheet,
                                  QString* written_sheet) {
  Update update(grid, path);
  return update.Run(sheet, written_sheet);
}

}  // namespace mivora
