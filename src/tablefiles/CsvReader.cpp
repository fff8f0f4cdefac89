#include "tablefiles/CsvReader.h"

#include <atomic>
#include <bit>
#include <charconv>
#include <cstring>
#include <deque>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tablefiles/ReadCeilings.h"
#include "tablefiles/TableNames.h"
#include "tablefiles/TextEncoding.h"
#include "model/Grid.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace mivora {

namespace {

constexpr std::int64_t kProgressEveryLines = 65536;
constexpr std::int64_t kSampleLines = 64;
// Form2 shows at most this much of a line that could not be read.
constexpr qsizetype kShownLineBytes = 65536;

// Reserves room for the rest of the file from the first data lines (their number and the
// bytes of each column), so that filling a big table rarely moves its arrays. The estimate
// never exceeds what the rest of the file can hold: no more rows than its bytes give at the
// shortest line seen, no more cell handles than about two bytes of file each (a file of
// short lines under a wide header fills its handles as it goes), and no more text in all
// columns together than its bytes.
void ReserveForRest(Grid& grid, qsizetype total, qsizetype sample_start, qsizetype sample_end,
                    const std::vector<std::int64_t>& sample_bytes, std::int64_t sample_lines,
                    qsizetype shortest_line) {
  const qsizetype sample = sample_end - sample_start;
  if (sample <= 0 || sample_lines <= 0) return;
  const double rest = static_cast<double>(total - sample_start);
  const double per_line = static_cast<double>(sample) / static_cast<double>(sample_lines);
  double rows = rest / per_line * 1.04 + 16;
  rows = std::min(rows, rest / static_cast<double>(std::max<qsizetype>(1, shortest_line)) + 16);
  rows = std::min(rows, 2 * rest / (8.0 * grid.Cols()) + 16);
  rows = std::min(rows, static_cast<double>(kMaxCsvRows));
  rows = std::min(rows, static_cast<double>(kMaxReadCells / grid.Cols()));
  grid.Reserve(static_cast<int>(rows), 0);
  const double scale = rows / static_cast<double>(sample_lines);
  const int columns = std::min<int>(grid.Cols() - 1, static_cast<int>(sample_bytes.size()));
  double text = 0;
  for (int c = 1; c <= columns; ++c) text += static_cast<double>(sample_bytes[c - 1]) * scale + 64;
  const double fit = text > rest ? rest / text : 1.0;
  for (int c = 1; c <= columns; ++c)
    grid.ReserveColumnText(
        c, static_cast<std::int64_t>((static_cast<double>(sample_bytes[c - 1]) * scale + 64) * fit));
}

// The first ',', '\r' or '\n' from `from` on, or n when there is none. Sixteen bytes are
// looked at in one step, so a field's end costs no mispredicted loop exit per byte.
qsizetype UnquotedFieldEnd(const char* data, qsizetype from, qsizetype n) {
#if defined(__SSE2__)
  const __m128i comma = _mm_set1_epi8(',');
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  for (; from + 16 <= n; from += 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + from));
    const __m128i ends = _mm_or_si128(
        _mm_or_si128(_mm_cmpeq_epi8(bytes, comma), _mm_cmpeq_epi8(bytes, cr)),
        _mm_cmpeq_epi8(bytes, lf));
    const auto mask = static_cast<unsigned>(_mm_movemask_epi8(ends));
    if (mask != 0) return from + std::countr_zero(mask);
  }
#endif
  while (from < n && data[from] != ',' && data[from] != '\r' && data[from] != '\n') ++from;
  return from;
}

// Splits UTF-8 CSV text into lines of fields; views point into the text or, for quoted
// fields with doubled quotes, into the parser's own scratch.
class CsvParser {
 public:
  explicit CsvParser(QByteArrayView text, qsizetype from = 0) : text_(text), pos_(from) {}

  bool AtEnd() const { return pos_ >= text_.size(); }
  // Goes on reading at `at` (the start of a line).
  void SkipTo(qsizetype at) { pos_ = at; }
  qsizetype Position() const { return pos_; }

  // Reads the next line into fields. False when a quoted field is still open at the end of
  // the text; the fields before it are given. A line of more than max_fields fields stops
  // after field max_fields + 1 (and gives false), so a line of a billion commas costs nothing.
  bool NextLine(std::vector<QByteArrayView>* fields, std::size_t max_fields) {
    fields->clear();
    scratch_.clear();
    line_start_ = pos_;
    line_end_ = -1;
    const char* data = text_.data();
    const qsizetype n = text_.size();
    while (true) {
      if (pos_ < n && data[pos_] == '"') {
        if (!QuotedField(fields)) return false;
      } else {
        const qsizetype start = pos_;
        pos_ = UnquotedFieldEnd(data, pos_, n);
        fields->push_back(QByteArrayView(data + start, pos_ - start));
      }
      if (pos_ < n && data[pos_] == ',') {
        ++pos_;
        if (fields->size() > max_fields) {
          // The raw line, for the message, still runs to its line break.
          line_end_ = pos_;
          while (line_end_ < n && data[line_end_] != '\r' && data[line_end_] != '\n') ++line_end_;
          return false;
        }
        continue;
      }
      line_end_ = pos_;
      SkipLineEnd();
      return true;
    }
  }

  // The raw text of the line read last (up to its end, or to the end of the text).
  QByteArrayView LastLine() const {
    qsizetype end = line_end_ >= 0 ? line_end_ : text_.size();
    return text_.sliced(line_start_, end - line_start_);
  }

 private:
  void SkipLineEnd() {
    const char* data = text_.data();
    const qsizetype n = text_.size();
    if (pos_ < n && data[pos_] == '\r') {
      ++pos_;
      if (pos_ < n && data[pos_] == '\n') ++pos_;
    } else if (pos_ < n && data[pos_] == '\n') {
      ++pos_;
    }
  }

  bool QuotedField(std::vector<QByteArrayView>* fields) {
    const char* data = text_.data();
    const qsizetype n = text_.size();
    qsizetype start = ++pos_;  // after the opening quote
    std::string* unescaped = nullptr;
    qsizetype run = start;
    while (true) {
      if (pos_ >= n) {
        line_end_ = n;
        return false;
      }
      if (data[pos_] != '"') {
        const void* quote = std::memchr(data + pos_, '"', static_cast<std::size_t>(n - pos_));
        pos_ = quote ? static_cast<const char*>(quote) - data : n;
        continue;
      }
      if (pos_ + 1 < n && data[pos_ + 1] == '"') {  // a doubled quote is one quote
        if (!unescaped) unescaped = &scratch_.emplace_back();
        unescaped->append(data + run, static_cast<std::size_t>(pos_ + 1 - run));
        pos_ += 2;
        run = pos_;
        continue;
      }
      break;  // the closing quote
    }
    QByteArrayView inside(data + start, pos_ - start);
    if (unescaped) {
      unescaped->append(data + run, static_cast<std::size_t>(pos_ - run));
      inside = QByteArrayView(unescaped->data(), static_cast<qsizetype>(unescaped->size()));
    }
    ++pos_;  // past the closing quote
    // Anything between the closing quote and the next separator stays part of the field.
    const qsizetype tail = pos_;
    pos_ = UnquotedFieldEnd(data, pos_, n);
    if (pos_ > tail) {
      std::string& joined =
          scratch_.emplace_back(inside.data(), static_cast<std::size_t>(inside.size()));
      joined.append(data + tail, static_cast<std::size_t>(pos_ - tail));
      inside = QByteArrayView(joined.data(), static_cast<qsizetype>(joined.size()));
    }
    fields->push_back(inside);
    return true;
  }

  QByteArrayView text_;
  qsizetype pos_ = 0;
  qsizetype line_start_ = 0;
  qsizetype line_end_ = -1;          // -1 while the line is open
  std::deque<std::string> scratch_;  // a deque keeps earlier strings in place
};

// The second half of a big file, read on a second thread while the first half is read on the
// calling one. The half starts after the first line feed past the middle, on the guess that
// it ends a line (it does unless it lies inside a quoted field). Its rows are used only if the
// read of the first half ends exactly there and the half read without any fault; otherwise
// the ordinary read goes on past the split, as if the half had never been read. So the table,
// its messages and the row a fault is reported at are those of a read in one pass.
class TailRead {
 public:
  TailRead(QByteArrayView text, qsizetype from, int cols, std::size_t max_fields)
      : text_(text), max_fields_(max_fields) {
    const qsizetype middle = from + (text.size() - from) / 2;
    const qsizetype feed = text.indexOf('\n', middle);
    split_ = feed < 0 ? text.size() : feed + 1;
    tail_.SetCols(cols);
    tail_.SetRows(0);
    if (split_ < text.size()) thread_ = std::thread([this] { Run(); });
  }
  ~TailRead() { Stop(); }
  TailRead(const TailRead&) = delete;
  TailRead& operator=(const TailRead&) = delete;

  qsizetype Split() const { return split_; }
  // Waits for the half; its rows, or null when it met a fault (or there was none to read).
  Grid* Finish() {
    if (thread_.joinable()) thread_.join();
    return ok_ ? &tail_ : nullptr;
  }
  // Asks the half to stop and waits for it.
  void Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }

 private:
  void Run() {
    try {
      CsvParser parser(text_, split_);
      std::vector<QByteArrayView> fields;
      const std::size_t data_cols = static_cast<std::size_t>(tail_.Cols() - 1);
      for (std::int64_t rows = 0; !parser.AtEnd(); ++rows) {
        if (rows % 4096 == 0 && stop_) return;
        if (rows >= kMaxCsvRows) return;
        if (!parser.NextLine(&fields, max_fields_) || fields.size() > data_cols) return;
        for (QByteArrayView field : fields)
          if (field.size() > kMaxCsvCellBytes) return;
        tail_.AppendRowUtf8(fields.data(), static_cast<int>(fields.size()), 1);
      }
      ok_ = true;
    } catch (...) {
      // Running short here leaves the rest to the ordinary read, which reports it.
    }
  }

  QByteArrayView text_;
  std::size_t max_fields_;
  qsizetype split_ = 0;
  Grid tail_;
  bool ok_ = false;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// Files from this size on read their second half on a second thread. Beyond the largest,
// the second half's pages of a mapped file, which only the calling thread gives back as it
// goes, and the second copy of its rows cost more than the thread saves: a 600 MB file read
// in two halves took 2.2 times its size in memory against 1.5, and no less time.
constexpr qsizetype kTailReadBytes = qsizetype{1} << 22;
constexpr qsizetype kTailReadMaxBytes = qsizetype{1} << 28;

}  // namespace

QString CsvRowProblemMessage(int row) {
  return QStringLiteral("CSV 表ファイルの ") + QString::number(row) +
         QStringLiteral(" 行目に問題があります。");
}

QString CsvTooManyColumnsMessage(int row) {
  return QStringLiteral("CSV 表ファイルの ") + QString::number(row) +
         QStringLiteral(" 行目の列が多すぎます（") + QString::number(kMaxCsvColumns) +
         QStringLiteral(" 列まで）。");
}

QString CsvCellTooLongMessage(int row) {
  return QStringLiteral("CSV 表ファイルの ") + QString::number(row) +
         QStringLiteral(" 行目に長すぎるセルがあります（") + QString::number(kMaxCsvCellBytes) +
         QStringLiteral(" バイトまで）。");
}

QString CsvTooManyRowsMessage() {
  return QStringLiteral("CSV 表ファイルの行が多すぎます（") + QString::number(kMaxCsvRows) +
         QStringLiteral(" 行まで）。");
}

TableReadResult CsvReader::Read(QByteArrayView content, const QString& path, Grid& grid,
                                const ReadProgress& progress) {
  QByteArray converted;
  qsizetype replaced_at = -1;
  // The check of the whole text reports how far it got, so pages behind it can be given back.
  QByteArrayView text = TableTextAsUtf8(content, &converted, &replaced_at, [&](qsizetype checked) {
    if (progress) progress(checked, content.size());
  });
  CsvParser parser(text);
  TableReadResult result;
  int replaced_row = -1;  // the first row holding a replacement character
  auto finish = [&] {
    if (replaced_row >= 0) result.notice = UndecodableTextMessage(path, replaced_row);
    return result;
  };
  auto fail = [&](const QString& message) {
    result.ok = false;
    result.message = message;
    // The line as Form2 shows it; an enormous line is cut, whole characters kept.
    QByteArrayView line = parser.LastLine();
    if (line.size() > kShownLineBytes) {
      qsizetype cut = kShownLineBytes;
      while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
      line = line.first(cut);
    }
    result.failed_line = QString::fromUtf8(line);
    grid.ShowRowNumbers(0, 1, grid.Rows() - 1);
    grid.Squeeze();  // a failed read gives back the room reserved ahead, as a finished one
    return finish();
  };

  grid.ClearCells();  // a reused slot keeps nothing of its former table
  grid.SetRow(0);
  std::vector<QByteArrayView> fields;
  std::int64_t line = 0;  // lines read so far; the grid row of a line is line - 1
  qsizetype reserve_from = 0;
  qsizetype shortest_line = text.size();
  std::vector<std::int64_t> sample_bytes;  // per data column, over the first data lines
  std::size_t max_fields = kMaxCsvColumns;
  std::optional<TailRead> tail;  // declared after what its thread reads
  std::int64_t max_rows = kMaxCsvRows;  // data rows; set from the header's width
  while (!parser.AtEnd()) {
    const qsizetype line_start = parser.Position();
    bool complete = parser.NextLine(&fields, max_fields);
    ++line;
    if (line - 1 > max_rows)
      return fail(line - 1 > kMaxCsvRows ? CsvTooManyRowsMessage() : TooManyCellsMessage());
    const int row = static_cast<int>(line - 1);
    if (replaced_row < 0 && replaced_at >= line_start && replaced_at < parser.Position())
      replaced_row = row;
    for (QByteArrayView field : fields)
      if (field.size() > kMaxCsvCellBytes) return fail(CsvCellTooLongMessage(row));
    if (row == 0) {
      if (fields.size() > static_cast<std::size_t>(kMaxCsvColumns))
        return fail(CsvTooManyColumnsMessage(0));
      grid.SetCols(1 + static_cast<int>(fields.size()));
      for (int k = 0; k < static_cast<int>(fields.size()); ++k)
        grid.SetTextUtf8(0, k + 1, fields[k]);
      if (!complete) return fail(CsvRowProblemMessage(0));
      reserve_from = parser.Position();
      sample_bytes.assign(fields.size(), 0);
      max_fields = fields.size();  // one more than the header stops the read anyway
      max_rows = std::min<std::int64_t>(kMaxCsvRows, kMaxReadCells / grid.Cols() - 1);
      continue;
    }
    if (line <= kSampleLines + 1) {
      for (std::size_t k = 0; k < fields.size() && k < sample_bytes.size(); ++k)
        sample_bytes[k] += fields[k].size();
      shortest_line = std::min(shortest_line, parser.Position() - line_start);
      if (line == kSampleLines + 1) {
        ReserveForRest(grid, text.size(), reserve_from, parser.Position(), sample_bytes, line - 1,
                       shortest_line);
        // The row of a replaced character is found by the ordinary read only.
        const qsizetype rest = text.size() - parser.Position();
        if (rest >= kTailReadBytes && rest <= kTailReadMaxBytes && replaced_at < 0)
          tail.emplace(text, parser.Position(), grid.Cols(), max_fields);
      }
    }
    // Column 0 numbers the rows; it is filled once the rows are read.
    const int data_cols = grid.Cols() - 1;
    const int usable = std::min<int>(static_cast<int>(fields.size()), data_cols);
    grid.AppendRowUtf8(fields.data(), usable, 1);
    grid.SetRow(row);
    if (static_cast<int>(fields.size()) > data_cols || !complete)
      return fail(CsvRowProblemMessage(row));
    if (tail && parser.Position() >= tail->Split()) {
      Grid* rows = parser.Position() == tail->Split() ? tail->Finish() : nullptr;
      if (rows && grid.Rows() - 1 + std::int64_t{rows->Rows()} <= max_rows) {
        line += rows->Rows();
        grid.AppendRowsOf(std::move(*rows));
        parser.SkipTo(text.size());
        if (progress) progress(text.size(), text.size());
      }
      tail.reset();
      continue;
    }
    // While the second half is read alongside, this half's progress stands for the whole.
    if (progress && line % kProgressEveryLines == 0)
      progress(parser.Position(), tail ? tail->Split() : text.size());
  }

  result.name = TableNameFromPath(path);
  grid.SetRow(0);
  grid.SetCol(0);
  grid.SetCurrentText(result.name);
  grid.ShowRowNumbers(0, 1, grid.Rows() - 1);
  for (int c = 1; c < grid.Cols(); ++c) grid.SetMergeCol(c, true);
  grid.Squeeze();
  return finish();
}

}  // namespace mivora
