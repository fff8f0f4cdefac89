#include "tablefiles/XlsWorkbook.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-utils.h>

#include <QFile>
#include <algorithm>
#include <cstring>
#include <map>

#include "model/Grid.h"
#include "tablefiles/CellValueText.h"

namespace mivora {

namespace {

// BIFF8 record types this reader uses.
enum : std::uint16_t {
  kFormula = 0x0006,
  kEof = 0x000A,
  kFilePass = 0x002F,
  kDateMode = 0x0022,
  kContinue = 0x003C,
  kBoundSheet = 0x0085,
  kMulRk = 0x00BD,
  kXf = 0x00E0,
  kSst = 0x00FC,
  kLabelSst = 0x00FD,
  kRString = 0x00D6,
  kNumber = 0x0203,
  kLabel = 0x0204,
  kBoolErr = 0x0205,
  kString = 0x0207,
  kRk = 0x027E,
  kFormat = 0x041E,
  kBof = 0x0809,
};

std::uint16_t U16(const char* p) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(p[0]) |
                                    static_cast<unsigned char>(p[1]) << 8);
}
std::uint32_t U32(const char* p) {
  return static_cast<std::uint32_t>(U16(p)) | static_cast<std::uint32_t>(U16(p + 2)) << 16;
}
double F64(const char* p) {
  double d;
  std::memcpy(&d, p, 8);
  return d;
}

double RkValue(std::uint32_t rk) {
  double d;
  if (rk & 2) {
    d = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
  } else {
    const std::uint64_t bits = static_cast<std::uint64_t>(rk & 0xFFFFFFFCu) << 32;
    std::memcpy(&d, &bits, 8);
  }
  return (rk & 1) ? d / 100 : d;
}

const char* ErrorText(unsigned code) {
  switch (code) {
    case 0x00:
      return "#NULL!";
    case 0x07:
      return "#DIV/0!";
    case 0x0F:
      return "#VALUE!";
    case 0x17:
      return "#REF!";
    case 0x1D:
      return "#NAME?";
    case 0x24:
      return "#NUM!";
    case 0x2A:
      return "#N/A";
    default:
      return "#N/A";
  }
}

struct Record {
  std::uint16_t type = 0;
  const char* data = nullptr;
  std::uint32_t size = 0;
};

// Walks the records of the workbook stream, every length checked against the stream.
class RecordCursor {
 public:
  RecordCursor(const QByteArray& stream, std::int64_t at) : stream_(stream), at_(at) {}
  // False at the end of the stream or on a record running past it (then `broken`).
  bool Next(Record* r) {
    if (at_ + 4 > stream_.size()) {
      broken_ = at_ != stream_.size();
      return false;
    }
    const char* p = stream_.constData() + at_;
    r->type = U16(p);
    r->size = U16(p + 2);
    if (at_ + 4 + r->size > stream_.size()) {
      broken_ = true;
      return false;
    }
    r->data = p + 4;
    at_ += 4 + r->size;
    return true;
  }
  // The next record's type without taking it (0 at the end).
  std::uint16_t PeekType() const {
    return at_ + 4 <= stream_.size() ? U16(stream_.constData() + at_) : 0;
  }
  bool Broken() const { return broken_; }

 private:
  const QByteArray& stream_;
  std::int64_t at_;
  bool broken_ = false;
};

// Characters of a BIFF8 string: 8-bit (the low bytes of UTF-16) or 16-bit.
void AppendChars(QString& out, const char* p, int count, bool wide) {
  for (int i = 0; i < count; ++i) {
    out.append(QChar(wide ? static_cast<char16_t>(U16(p + 2 * i))
                          : static_cast<char16_t>(static_cast<unsigned char>(p[i]))));
  }
}

// An XLUnicodeString (16-bit count) or ShortXLUnicodeString (8-bit count) inside one record.
bool ReadUnicodeString(const char* p, std::uint32_t size, bool short_count, QString* out,
                       std::uint32_t* used = nullptr) {
  const std::uint32_t head = short_count ? 2 : 3;
  if (size < head) return false;
  const int count = short_count ? static_cast<unsigned char>(p[0]) : U16(p);
  const unsigned flags = static_cast<unsigned char>(p[head - 1]);
  const bool wide = flags & 1;
  const std::uint32_t bytes = static_cast<std::uint32_t>(count) * (wide ? 2 : 1);
  if (head + bytes > size) return false;
  out->clear();
  AppendChars(*out, p + head, count, wide);
  if (used) *used = head + bytes;
  return true;
}

// Reads bytes across a record and its CONTINUE records (the shared string table).
class SpanReader {
 public:
  void Add(const char* data, std::uint32_t size) { parts_.push_back({data, size}); }
  bool Byte(unsigned* v) {
    if (!Ensure()) return false;
    *v = static_cast<unsigned char>(parts_[part_].first[at_++]);
    return true;
  }
  bool U16v(unsigned* v) {
    unsigned lo, hi;
    if (!Byte(&lo) || !Byte(&hi)) return false;
    *v = lo | hi << 8;
    return true;
  }
  bool U32v(std::uint32_t* v) {
    unsigned lo, hi;
    if (!U16v(&lo) || !U16v(&hi)) return false;
    *v = lo | static_cast<std::uint32_t>(hi) << 16;
    return true;
  }
  bool Skip(std::uint32_t n) {
    while (n > 0) {
      if (!Ensure()) return false;
      const std::uint32_t take = std::min(n, parts_[part_].second - at_);
      at_ += take;
      n -= take;
    }
    return true;
  }
  // Characters; a CONTINUE boundary inside them starts with a new flags byte.
  bool Chars(QString* out, int count, bool wide) {
    while (count > 0) {
      if (at_ == parts_[part_].second) {
        if (part_ + 1 >= parts_.size()) return false;
        ++part_;
        at_ = 0;
        unsigned flags;
        if (!Byte(&flags)) return false;
        wide = flags & 1;
      }
      const std::uint32_t room = (parts_[part_].second - at_) / (wide ? 2 : 1);
      const int take = static_cast<int>(std::min<std::uint32_t>(room, count));
      if (take == 0) return false;
      AppendChars(*out, parts_[part_].first + at_, take, wide);
      at_ += static_cast<std::uint32_t>(take) * (wide ? 2 : 1);
      count -= take;
    }
    return true;
  }

 private:
  bool Ensure() {
    while (part_ < parts_.size() && at_ == parts_[part_].second) {
      ++part_;
      at_ = 0;
    }
    return part_ < parts_.size();
  }
  std::vector<std::pair<const char*, std::uint32_t>> parts_;
  std::size_t part_ = 0;
  std::uint32_t at_ = 0;
};

struct SheetEntry {
  QString name;
  std::uint32_t offset;
};

struct XlsCell {
  int row, col;  // 0-based
  QByteArray text;
};

// A BIFF8 sheet has 256 columns (A to IV); a cell record naming a column beyond is broken. Rows
// run to 65,535, so a sheet's grid stays within 65,536 × 257 cells whatever its records say.
constexpr int kXlsColumns = 256;

class XlsWorkbook : public Workbook {
 public:
  bool Open(const QString& path, QString* reason);
  QStringList SheetNames() const override {
    QStringList names;
    for (const SheetEntry& s : sheets_) names << s.name;
    return names;
  }
  bool SheetIsEmpty(int index) override {
    std::vector<XlsCell> cells;
    ReadCells(index, &cells);
    return cells.empty();
  }
  TableReadResult ReadSheet(int index, Grid& grid, const ReadProgress& progress) override;

 private:
  bool ReadGlobals(QString* reason);
  bool ReadSst(const Record& first, RecordCursor& cursor);
  QByteArray NumberText(double value, unsigned xf) const;
  // The cells holding a value, in stream order; false when the sheet breaks off (cells read
  // so far kept).
  bool ReadCells(int index, std::vector<XlsCell>* cells);

  QByteArray stream_;
  std::vector<SheetEntry> sheets_;
  std::vector<QByteArray> sst_;
  std::vector<char> xf_kinds_;  // 0 number, 1 date, 2 time of day only
  bool date1904_ = false;
};

bool ReadOleStream(const QString& path, QByteArray* stream, QString* reason) {
  gsf_init();
  GError* error = nullptr;
  GsfInput* input = gsf_input_stdio_new(QFile::encodeName(path).constData(), &error);
  if (!input) {
    *reason = error ? QString::fromUtf8(error->message) : QString();
    if (error) g_error_free(error);
    return false;
  }
  GsfInfile* ole = gsf_infile_msole_new(input, &error);
  g_object_unref(input);
  if (!ole) {
    *reason = QStringLiteral("Excel のブックではありません。");
    if (error) g_error_free(error);
    return false;
  }
  GsfInput* workbook = gsf_infile_child_by_name(ole, "Workbook");
  bool ok = false;
  if (!workbook) {
    if (GsfInput* encrypted = gsf_infile_child_by_name(ole, "EncryptedPackage")) {
      g_object_unref(encrypted);
      *reason = QStringLiteral("暗号化されています。");
    } else if (GsfInput* old = gsf_infile_child_by_name(ole, "Book")) {
      g_object_unref(old);
      *reason = QStringLiteral("古い形式 (Excel 95 以前) のブックは読めません。");
    } else {
      *reason = QStringLiteral("Excel のブックではありません。");
    }
  } else {
    const gsf_off_t size = gsf_input_size(workbook);
    if (size > (std::int64_t{1} << 30)) {
      *reason = QStringLiteral("大きすぎます。");
    } else {
      stream->resize(static_cast<qsizetype>(size));
      ok = size == 0 || gsf_input_read(workbook, static_cast<std::size_t>(size),
                                       reinterpret_cast<guint8*>(stream->data())) != nullptr;
      if (!ok) *reason = QStringLiteral("ブックを読めません。");
    }
    g_object_unref(workbook);
  }
  g_object_unref(ole);
  return ok;
}

bool XlsWorkbook::Open(const QString& path, QString* reason) {
  return ReadOleStream(path, &stream_, reason) && ReadGlobals(reason);
}

bool XlsWorkbook::ReadSst(const Record& first, RecordCursor& cursor) {
  SpanReader in;
  in.Add(first.data, first.size);
  while (cursor.PeekType() == kContinue) {
    Record c;
    if (!cursor.Next(&c)) return false;
    in.Add(c.data, c.size);
  }
  std::uint32_t total, unique;
  if (!in.U32v(&total) || !in.U32v(&unique)) return false;
  // The declared count only hints: each string takes at least three bytes of the stream.
  sst_.reserve(std::min<std::uint64_t>(unique, static_cast<std::uint64_t>(stream_.size()) / 3));
  for (std::uint32_t i = 0; i < unique; ++i) {
    unsigned count, flags, runs = 0;
    std::uint32_t ext = 0;
    if (!in.U16v(&count) || !in.Byte(&flags)) return false;
    if ((flags & 0x08) && !in.U16v(&runs)) return false;
    if ((flags & 0x04) && !in.U32v(&ext)) return false;
    QString text;
    if (!in.Chars(&text, static_cast<int>(count), flags & 1)) return false;
    if (!in.Skip(runs * 4u) || !in.Skip(ext)) return false;
    sst_.push_back(text.toUtf8());
  }
  return true;
}

bool XlsWorkbook::ReadGlobals(QString* reason) {
  RecordCursor cursor(stream_, 0);
  Record r;
  std::map<int, QString> formats;
  std::vector<int> xf_formats;
  bool first = true;
  auto broken = [&] {
    *reason = QStringLiteral("ブックの記録が壊れています。");
    return false;
  };
  while (cursor.Next(&r)) {
    if (first) {
      if (r.type != kBof || r.size < 4 || U16(r.data) != 0x0600) {
        *reason = QStringLiteral("古い形式 (Excel 95 以前) のブックは読めません。");
        return false;
      }
      first = false;
      continue;
    }
    switch (r.type) {
      case kFilePass:
        *reason = QStringLiteral("暗号化されています。");
        return false;
      case kDateMode:
        if (r.size >= 2) date1904_ = U16(r.data) != 0;
        break;
      case kBoundSheet: {
        if (r.size < 8) return broken();
        QString name;
        if (!ReadUnicodeString(r.data + 6, r.size - 6, true, &name)) return broken();
        const unsigned type = static_cast<unsigned char>(r.data[5]);
        if (type == 0) sheets_.push_back({name, U32(r.data)});
        break;
      }
      case kFormat: {
        if (r.size < 2) return broken();
        QString code;
        if (ReadUnicodeString(r.data + 2, r.size - 2, false, &code)) formats[U16(r.data)] = code;
        break;
      }
      case kXf:
        if (r.size >= 4) xf_formats.push_back(U16(r.data + 2));
        break;
      case kSst:
        if (!ReadSst(r, cursor)) return broken();
        break;
      case kEof:
        for (int id : xf_formats) {
          auto it = formats.find(id);
          const QString code = it == formats.end() ? QString() : it->second;
          char kind = 0;
          if (IsDateFormat(id, code)) kind = IsTimeOnlyFormat(id, code) ? 2 : 1;
          xf_kinds_.push_back(kind);
        }
        return true;
      default:
        break;
    }
  }
  if (first) *reason = QStringLiteral("Excel のブックではありません。");
  return first ? false : broken();
}

QByteArray XlsWorkbook::NumberText(double value, unsigned xf) const {
  const char kind = xf < xf_kinds_.size() ? xf_kinds_[xf] : 0;
  if (kind != 0) return DateSerialText(value, date1904_, kind == 2);
  return GeneralNumberText(value);
}

bool XlsWorkbook::ReadCells(int index, std::vector<XlsCell>* cells) {
  cells->clear();
  const std::uint32_t offset = sheets_.at(index).offset;
  if (offset >= stream_.size()) return false;
  RecordCursor cursor(stream_, offset);
  Record r;
  if (!cursor.Next(&r) || r.type != kBof) return false;
  bool bad_column = false;
  auto add = [&](const char* p, QByteArray text) {
    if (U16(p + 2) >= kXlsColumns) bad_column = true;
    if (!text.isEmpty() && !bad_column) cells->push_back({U16(p), U16(p + 2), std::move(text)});
  };
  while (cursor.Next(&r)) {
    if (bad_column) return false;
    const char* p = r.data;
    switch (r.type) {
      case kEof:
        return true;
      case kNumber:
        if (r.size < 14) return false;
        add(p, NumberText(F64(p + 6), U16(p + 4)));
        break;
      case kRk:
        if (r.size < 10) return false;
        add(p, NumberText(RkValue(U32(p + 6)), U16(p + 4)));
        break;
      case kMulRk: {
        if (r.size < 6) return false;
        const int n = static_cast<int>((r.size - 6) / 6);
        const unsigned row = U16(p), first_col = U16(p + 2);
        if (static_cast<int>(first_col) + n > kXlsColumns) return false;
        for (int k = 0; k < n; ++k) {
          const char* e = p + 4 + 6 * k;
          QByteArray text = NumberText(RkValue(U32(e + 2)), U16(e));
          if (!text.isEmpty())
            cells->push_back({static_cast<int>(row), static_cast<int>(first_col) + k, text});
        }
        break;
      }
      case kLabelSst: {
        if (r.size < 10) return false;
        const std::uint32_t i = U32(p + 6);
        if (i < sst_.size()) add(p, sst_[i]);
        break;
      }
      case kLabel:
      case kRString: {
        if (r.size < 6) return false;
        QString text;
        if (!ReadUnicodeString(p + 6, r.size - 6, false, &text)) return false;
        add(p, text.toUtf8());
        break;
      }
      case kBoolErr:
        if (r.size < 8) return false;
        if (p[7])
          add(p, ErrorText(static_cast<unsigned char>(p[6])));
        else
          add(p, p[6] ? "TRUE" : "FALSE");
        break;
      case kFormula: {
        if (r.size < 20) return false;
        const char* v = p + 6;
        if (U16(v + 6) != 0xFFFF) {
          add(p, NumberText(F64(v), U16(p + 4)));
          break;
        }
        switch (static_cast<unsigned char>(v[0])) {
          case 0: {  // a text result follows in a STRING record
            if (cursor.PeekType() != kString) break;
            Record s;
            if (!cursor.Next(&s)) return false;
            QString text;
            if (ReadUnicodeString(s.data, s.size, false, &text)) add(p, text.toUtf8());
            break;
          }
          case 1:
            add(p, v[2] ? "TRUE" : "FALSE");
            break;
          case 2:
            add(p, ErrorText(static_cast<unsigned char>(v[2])));
            break;
          default:
            break;
        }
        break;
      }
      default:
        break;
    }
  }
  return false;  // no EOF: the stream broke off
}

TableReadResult XlsWorkbook::ReadSheet(int index, Grid& grid, const ReadProgress& progress) {
  TableReadResult result;
  result.name = sheets_.at(index).name;
  std::vector<XlsCell> cells;
  const bool complete = ReadCells(index, &cells);
  std::stable_sort(cells.begin(), cells.end(), [](const XlsCell& a, const XlsCell& b) {
    return a.row != b.row ? a.row < b.row : a.col < b.col;
  });
  int width = 0;
  for (const XlsCell& c : cells) width = std::max(width, c.col + 1);
  grid.ClearCells();
  grid.SetRow(0);
  grid.SetCols(width + 1);
  std::vector<QByteArrayView> row_cells;
  int laid_rows = 1;  // grid rows so far (the header row exists)
  for (std::size_t i = 0; i < cells.size();) {
    const int row = cells[i].row;
    std::size_t end = i;
    while (end < cells.size() && cells[end].row == row) ++end;
    if (row == 0) {
      for (std::size_t k = i; k < end; ++k) grid.SetTextUtf8(0, cells[k].col + 1, cells[k].text);
    } else {
      while (laid_rows < row) {
        const QByteArray number = QByteArray::number(laid_rows);
        QByteArrayView v(number);
        grid.AppendRowUtf8(&v, 1);
        ++laid_rows;
      }
      const QByteArray number = QByteArray::number(row);
      row_cells.assign(static_cast<std::size_t>(width) + 1, QByteArrayView());
      row_cells[0] = number;
      for (std::size_t k = i; k < end; ++k) row_cells[cells[k].col + 1] = cells[k].text;
      grid.AppendRowUtf8(row_cells.data(), static_cast<int>(row_cells.size()));
      laid_rows = row + 1;
      grid.SetRow(row);
    }
    i = end;
  }
  if (progress) progress(1, 1);
  if (!complete) {
    result.ok = false;
    result.message = WorkbookRowProblemMessage(grid.Row());
    return result;
  }
  FinishWorksheetGrid(grid, result.name);
  return result;
}

}  // namespace

std::unique_ptr<Workbook> OpenXlsWorkbook(const QString& path, QString* reason) {
  auto book = std::make_unique<XlsWorkbook>();
  if (!book->Open(path, reason)) return nullptr;
  return book;
}

}  // namespace mivora
