#include "tablefiles/XlsxWorkbook.h"

#include <algorithm>
#include <charconv>
#include <cstring>

#include "model/Grid.h"
#include "tablefiles/CellValueText.h"
#include "tablefiles/ReadCeilings.h"
#include "tablefiles/XlsxParts.h"
#include "tablefiles/ZipArchive.h"

namespace mivora {

namespace {

constexpr std::int64_t kSliceBytes = 4 << 20;
// The start tag of sheetData with its attributes fits in this many bytes.
constexpr qsizetype kSheetDataTagBytes = 64 << 10;
// The XML of one row (or of the stretch between two rows) may take this many bytes.
constexpr qsizetype kMaxRowBytes = qsizetype{256} << 20;
// The shared strings are parsed whole; each '<' may become a node of the parsed document
// (some 50 bytes each), so their part may hold this many.
constexpr std::int64_t kMaxSharedStringTags = std::int64_t{1} << 25;

// Finds the sheetData element in the bytes read so far: gives its namespace prefix and the
// offset just past its start tag (-1 while not complete; -2 for an empty <sheetData/>).
qsizetype FindSheetDataStart(const QByteArray& buf, QByteArray* prefix) {
  const qsizetype at = buf.indexOf("sheetData");
  if (at < 0) return -1;
  const qsizetype lt = buf.lastIndexOf('<', at);
  if (lt < 0) return -1;
  *prefix = buf.mid(lt + 1, at - lt - 1);
  const qsizetype gt = buf.indexOf('>', at);
  if (gt < 0) return -1;
  if (buf.at(gt - 1) == '/') return -2;
  return gt + 1;
}

class XlsxWorkbook : public Workbook {
 public:
  bool Open(const QString& path, QString* reason) {
    return zip_.Open(path, reason) && ReadXlsxLayout(zip_, &layout_, reason);
  }

  QStringList SheetNames() const override {
    QStringList names;
    for (const XlsxSheetPart& s : layout_.sheets) names << s.name;
    return names;
  }

  bool SheetIsEmpty(int index) override {
    Grid probe;
    stop_after_first_value_ = true;
    ReadSheet(index, probe, {});
    stop_after_first_value_ = false;
    return !found_value_;
  }

  TableReadResult ReadSheet(int index, Grid& grid, const ReadProgress& progress) override;

 private:
  bool LoadSharedData(QString* reason);
  // Handles the rows of one parsed slice; false when the sheet is broken.
  bool TakeRows(const pugi::xml_node& parent, Grid& grid);
  QByteArray CellText(const pugi::xml_node& c) const;
  void EnsureRows(Grid& grid, int sheet_row);

  ZipArchive zip_;
  XlsxLayout layout_;
  bool shared_loaded_ = false;
  std::vector<QByteArray> shared_;
  std::vector<char> style_kinds_;

  // State of the sheet being read.
  int last_row_ = 0;         // sheet row of the last <row>
  int grid_sheet_rows_ = 0;  // sheet rows laid into the grid so far
  bool found_value_ = false;
  bool stop_after_first_value_ = false;
  bool too_many_cells_ = false;  // the sheet passed kMaxReadCells
  std::vector<QByteArray> row_texts_;
  std::vector<QByteArrayView> row_cells_;
};

bool XlsxWorkbook::LoadSharedData(QString* reason) {
  if (shared_loaded_) return true;
  style_kinds_ = ReadStyleKinds(zip_, layout_.styles_part, reason);
  if (!reason->isEmpty()) return false;
  if (!layout_.shared_strings_part.isEmpty() && zip_.Has(layout_.shared_strings_part)) {
    QByteArray bytes;
    if (!zip_.Read(layout_.shared_strings_part, &bytes, reason)) return false;
    if (std::count(bytes.cbegin(), bytes.cend(), '<') > kMaxSharedStringTags) {
      *reason = QStringLiteral("共有文字列が多すぎて読めません。");
      return false;
    }
    pugi::xml_document doc;
    if (!doc.load_buffer_inplace(bytes.data(), bytes.size(), kXmlParseFlags)) {
      *reason = QStringLiteral("共有文字列を読めません。");
      return false;
    }
    pugi::xml_node sst = doc.document_element();
    // The declared count only hints: each item takes at least five bytes ("<si/>").
    shared_.reserve(std::min<std::size_t>(sst.attribute("uniqueCount").as_uint(),
                                          static_cast<std::size_t>(bytes.size()) / 5));
    for (pugi::xml_node si : sst.children()) {
      if (IsNamed(si, "si")) shared_.push_back(StringItemText(si));
    }
  }
  shared_loaded_ = true;
  return true;
}

QByteArray XlsxWorkbook::CellText(const pugi::xml_node& c) const {
  const char* t = c.attribute("t").value();
  pugi::xml_node v = ChildNamed(c, "v");
  if (std::strcmp(t, "inlineStr") == 0) return StringItemText(ChildNamed(c, "is"));
  if (!v) return {};
  const char* value = v.text().get();
  if (std::strcmp(t, "s") == 0) {
    const unsigned idx = v.text().as_uint(~0u);
    return idx < shared_.size() ? shared_[idx] : QByteArray();
  }
  if (std::strcmp(t, "b") == 0) return std::strcmp(value, "0") == 0 ? "FALSE" : "TRUE";
  if (std::strcmp(t, "str") == 0) {
    QByteArray text;
    AppendXstring(text, value);
    return text;
  }
  if (std::strcmp(t, "e") == 0 || std::strcmp(t, "d") == 0) return QByteArray(value);
  if (*value == 0) return {};
  double number = 0;
  const char* end = value + std::strlen(value);
  auto [ptr, ec] = std::from_chars(value, end, number);
  if (ec != std::errc() || ptr != end) return QByteArray(value);
  const unsigned style = c.attribute("s").as_uint();
  const char kind = style < style_kinds_.size() ? style_kinds_[style] : 0;
  if (kind != 0) return DateSerialText(number, layout_.date1904, kind == 2);
  return GeneralNumberText(number);
}

void XlsxWorkbook::EnsureRows(Grid& grid, int sheet_row) {
  // Sheet rows between the last one laid out and this one are empty rows of the table.
  while (grid_sheet_rows_ < sheet_row - 1) {
    ++grid_sheet_rows_;
    if (grid_sheet_rows_ == 1) continue;  // the header row exists from the start
    const QByteArray number = QByteArray::number(grid_sheet_rows_ - 1);
    QByteArrayView cell(number);
    grid.AppendRowUtf8(&cell, 1);
  }
}

bool XlsxWorkbook::TakeRows(const pugi::xml_node& parent, Grid& grid) {
  for (pugi::xml_node row : parent.children()) {
    if (!IsNamed(row, "row")) continue;
    const int r = row.attribute("r") ? row.attribute("r").as_int() : last_row_ + 1;
    if (r <= last_row_ || r > 1048576) return false;
    last_row_ = r;
    row_texts_.clear();
    int col = 0;
    for (pugi::xml_node c : row.children()) {
      if (!IsNamed(c, "c")) continue;
      int cc = col + 1, cr = r;
      if (pugi::xml_attribute ref = c.attribute("r")) {
        if (!SplitCellRef(ref.value(), &cc, &cr) || cc <= col) return false;
      }
      col = cc;
      QByteArray text = CellText(c);
      if (text.isEmpty()) continue;
      if (static_cast<int>(row_texts_.size()) < col) row_texts_.resize(col);
      row_texts_[col - 1] = std::move(text);
    }
    if (row_texts_.empty()) continue;  // style-only cells make no row
    found_value_ = true;
    if (stop_after_first_value_) return true;
    const int width = static_cast<int>(row_texts_.size());
    // Sheet row r is grid row r - 1: the table would have r rows.
    if (!WithinReadCells(r, std::max(grid.Cols(), width + 1))) {
      too_many_cells_ = true;
      return false;
    }
    if (width + 1 > grid.Cols()) grid.SetCols(width + 1);
    if (r == 1) {
      for (int k = 0; k < width; ++k) grid.SetTextUtf8(0, k + 1, row_texts_[k]);
      grid_sheet_rows_ = 1;
      continue;
    }
    EnsureRows(grid, r);
    const QByteArray number = QByteArray::number(r - 1);
    row_cells_.assign(1, QByteArrayView(number));
    for (const QByteArray& t : row_texts_) row_cells_.push_back(t);
    grid.AppendRowUtf8(row_cells_.data(), static_cast<int>(row_cells_.size()));
    grid_sheet_rows_ = r;
    grid.SetRow(r - 1);
  }
  return true;
}

TableReadResult XlsxWorkbook::ReadSheet(int index, Grid& grid, const ReadProgress& progress) {
  TableReadResult result;
  const XlsxSheetPart& sheet = layout_.sheets.at(index);
  result.name = sheet.name;
  grid.ClearCells();
  grid.SetRow(0);
  last_row_ = 0;
  grid_sheet_rows_ = 0;
  found_value_ = false;
  too_many_cells_ = false;
  auto fail = [&](const QString& detail) {
    result.ok = false;
    result.message = WorkbookRowProblemMessage(grid.Row());
    result.failed_line = detail;
    return result;
  };
  QString reason;
  if (!LoadSharedData(&reason)) return fail(reason);
  std::unique_ptr<ZipArchive::Stream> stream = zip_.OpenStream(sheet.part, &reason);
  if (!stream) return fail(reason);

  QByteArray buf;
  QByteArray prefix;
  QByteArray row_end;
  bool started = false;
  bool at_end = false;
  qsizetype searched = 0;  // bytes of buf known to hold no row end (or no sheetData)
  while (!at_end) {
    const std::int64_t n = stream->ReadMore(&buf, kSliceBytes, &reason);
    if (n < 0) return fail(reason);
    at_end = n == 0;
    if (!started) {
      const qsizetype start = FindSheetDataStart(buf, &prefix);
      if (start == -2) break;  // <sheetData/>: nothing in the sheet
      if (start < 0) {
        if (at_end) break;
        // What comes before sheetData is not kept: only a tail that may hold its start tag.
        if (buf.size() > kSliceBytes) buf.remove(0, buf.size() - kSheetDataTagBytes);
        continue;
      }
      buf.remove(0, start);
      row_end = "</" + prefix + "row>";
      started = true;
      searched = 0;
    }
    // Parse up to the end of the last complete row; the rest waits for more bytes. Only the
    // bytes added since the last search are searched, so a long stretch without a row end
    // costs linear time, and it ends at the row ceiling.
    qsizetype cut;
    bool cut_short = false;
    if (at_end) {
      cut = buf.indexOf("</" + prefix + "sheetData>");
      if (cut < 0) {
        // The sheet breaks off: the complete rows before the break still count.
        cut_short = true;
        cut = buf.lastIndexOf(row_end);
        cut = cut < 0 ? 0 : cut + row_end.size();
      }
    } else {
      const qsizetype from = std::max<qsizetype>(0, searched - row_end.size());
      cut = QByteArrayView(buf).sliced(from).lastIndexOf(row_end);
      if (cut < 0) {
        searched = buf.size();
        if (buf.size() > kMaxRowBytes) {
          fail(QString::number(last_row_));
          result.message = XlsxRowTooLongMessage();
          return result;
        }
        continue;
      }
      cut += from + row_end.size();
    }
    pugi::xml_document doc;
    pugi::xml_parse_result parsed = doc.load_buffer_inplace(
        buf.data(), static_cast<std::size_t>(cut), kXmlParseFlags | pugi::parse_fragment);
    if (!parsed) return fail(QString::fromUtf8(parsed.description()));
    if (!TakeRows(doc, grid)) {
      if (too_many_cells_) {
        fail(QString::number(last_row_));
        result.message = TooManyCellsMessage();
        return result;
      }
      return fail(QString::number(last_row_));
    }
    if (cut_short) return fail(QStringLiteral("sheetData"));
    if (stop_after_first_value_ && found_value_) return result;
    buf.remove(0, cut);
    searched = 0;
    if (progress) progress(stream->Done(), std::max(stream->Size(), stream->Done()));
  }
  FinishWorksheetGrid(grid, result.name);
  return result;
}

}  // namespace

QString XlsxRowTooLongMessage() {
  return QStringLiteral("Excel ワークシートの行が長すぎて読めません（1 行 ") +
         QString::number(kMaxRowBytes >> 20) + QStringLiteral(" MB までです）。");
}

std::unique_ptr<Workbook> OpenXlsxWorkbook(const QString& path, QString* reason) {
  auto book = std::make_unique<XlsxWorkbook>();
  if (!book->Open(path, reason)) return nullptr;
  return book;
}

}  // namespace mivora
