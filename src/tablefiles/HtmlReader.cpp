#include "tablefiles/HtmlReader.h"

#include <libxml/HTMLparser.h>

#include <QStringDecoder>
#include <algorithm>
#include <charconv>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "model/Grid.h"
#include "tablefiles/ReadCeilings.h"
#include "tablefiles/TableNames.h"
#include "tablefiles/TextEncoding.h"

namespace mivora {

namespace {

constexpr int kMaxColSpan = 1000;
constexpr int kMaxRowSpan = 65534;
constexpr std::int64_t kMaxSpanCells = std::int64_t{1} << 20;
constexpr std::int64_t kMaxSpanCopyBytes = std::int64_t{64} << 20;
// Columns of one table: as many as a CSV file may have.
constexpr int kMaxHtmlColumns = 65536;

// Thrown when the table passes a ceiling; the parse stops with the message.
struct TooLarge {
  QString message;
};
constexpr qsizetype kChunkBytes = 1 << 20;
constexpr qsizetype kDeclarationWindow = 64 * 1024;

bool AsciiEqualNoCase(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b) {
    char x = *a, y = *b;
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return *a == *b;
}

qsizetype FindNoCase(QByteArrayView text, QByteArrayView what, qsizetype from) {
  if (what.isEmpty()) return from;
  for (qsizetype i = from; i + what.size() <= text.size(); ++i) {
    qsizetype k = 0;
    while (k < what.size() &&
           (text[i + k] | 0x20) == (what[k] | 0x20))  // ASCII letters only in `what`
      ++k;
    if (k == what.size()) return i;
  }
  return -1;
}

// The span an attribute value asks for: its leading digits (after spaces), 0 below 2.
int SpanValue(const char* value, int limit) {
  if (!value) return 0;
  while (*value == ' ' || *value == '\t' || *value == '\n' || *value == '\r') ++value;
  long long n = 0;
  bool any = false;
  for (; *value >= '0' && *value <= '9'; ++value) {
    any = true;
    n = std::min<long long>(n * 10 + (*value - '0'), limit);
  }
  if (!any || n < 2) return 0;
  return static_cast<int>(n);
}

// The charset a page declares in a meta element near its start; empty when none.
QByteArray DeclaredCharset(QByteArrayView bytes) {
  QByteArrayView head = bytes.first(std::min(bytes.size(), kDeclarationWindow));
  for (qsizetype at = FindNoCase(head, "<meta", 0); at >= 0;
       at = FindNoCase(head, "<meta", at + 5)) {
    qsizetype end = head.indexOf('>', at);
    if (end < 0) end = head.size();
    QByteArrayView tag = head.sliced(at, end - at);
    qsizetype c = FindNoCase(tag, "charset", 0);
    if (c < 0) continue;
    qsizetype p = c + 7;
    auto skip = [&](auto pred) {
      while (p < tag.size() && pred(tag[p])) ++p;
    };
    skip([](char ch) { return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n'; });
    if (p >= tag.size() || tag[p] != '=') continue;
    ++p;
    skip([](char ch) {
      return ch == ' ' || ch == '\t' || ch == '\r' || ch == '\n' || ch == '"' || ch == '\'';
    });
    qsizetype start = p;
    skip([](char ch) {
      return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') ||
             ch == '-' || ch == '_' || ch == '.' || ch == ':';
    });
    if (p > start) return tag.sliced(start, p - start).toByteArray();
  }
  return {};
}

bool Decode(QByteArrayView bytes, const char* encoding, QByteArray* converted) {
  QStringDecoder decoder(encoding);
  if (!decoder.isValid()) return false;
  *converted = QString(decoder.decode(bytes)).toUtf8();
  return true;
}

// Receives libxml2's SAX events and fills the grid. Only the innermost open table collects
// cells; each table keeps its own open row and the row spans reaching into its later rows.
class TableBuilder {
 public:
  TableBuilder(const HtmlGridSource& source, std::int64_t input_bytes)
      : source_(source), input_bytes_(input_bytes) {}

  void StartElement(const char* name, const char** attrs) {
    if (IsRawText(name)) {
      ++raw_depth_;
      return;
    }
    if (std::strcmp(name, "table") == 0) {
      tables_.emplace_back();
      return;
    }
    if (tables_.empty()) return;
    Table& t = tables_.back();
    if (std::strcmp(name, "tr") == 0) {
      EndCell(t);
      t.row = -1;
      t.row_open = true;
    } else if (std::strcmp(name, "td") == 0 || std::strcmp(name, "th") == 0) {
      EndCell(t);
      if (!t.row_open) {  // a cell outside a row opens one, as browsers do
        t.row = -1;
        t.row_open = true;
      }
      CommitRow(t);  // before any table nested in the cell adds its rows
      t.in_cell = true;
      t.text.clear();
      t.extra_rows = 0;
      t.extra_cols = 0;
      for (const char** a = attrs; a && a[0]; a += 2) {
        if (AsciiEqualNoCase(a[0], "rowspan")) {
          int v = SpanValue(a[1], kMaxRowSpan);
          t.extra_rows = v > 1 ? v - 1 : 0;
        } else if (AsciiEqualNoCase(a[0], "colspan")) {
          int v = SpanValue(a[1], kMaxColSpan);
          t.extra_cols = v > 1 ? v - 1 : 0;
        }
      }
      if (std::int64_t{t.extra_rows + 1} * (t.extra_cols + 1) > kMaxSpanCells)
        throw TooLarge{HtmlSpanTooLargeMessage()};
    }
  }

  void EndElement(const char* name) {
    if (IsRawText(name)) {
      if (raw_depth_ > 0) --raw_depth_;
      return;
    }
    if (tables_.empty()) return;
    Table& t = tables_.back();
    if (std::strcmp(name, "td") == 0 || std::strcmp(name, "th") == 0) {
      EndCell(t);
    } else if (std::strcmp(name, "tr") == 0) {
      EndCell(t);
      t.row_open = false;
    } else if (std::strcmp(name, "table") == 0) {
      EndCell(t);
      tables_.pop_back();
    }
  }

  void Characters(const char* text, int len) {
    if (raw_depth_ > 0 || tables_.empty() || !tables_.back().in_cell) return;
    tables_.back().text.append(text, static_cast<std::size_t>(len));
  }

  // Closes what is still open; true when any cell was read.
  bool Finish() {
    while (!tables_.empty()) {
      EndCell(tables_.back());
      tables_.pop_back();
    }
    if (!grid_) return false;
    for (int c = 1; c < grid_->Cols(); ++c) grid_->SetMergeCol(c, true);
    grid_->SetRows(next_row_);  // drops the spare rows reserved while filling
    grid_->Squeeze();
    return true;
  }

 private:
  struct Span {
    int col = 0;
    int remaining = 0;  // rows still to cover
    std::string text;
  };
  struct Table {
    bool row_open = false;
    int row = -1;             // grid row of the open row once it has a cell
    int col = 0;              // the last column filled in the open row
    std::vector<char> taken;  // columns of the open row already filled
    std::vector<Span> spans;  // row spans reaching into this table's later rows
    bool in_cell = false;
    std::string text;
    int extra_rows = 0;
    int extra_cols = 0;
  };

  static bool IsRawText(const char* name) {
    return std::strcmp(name, "script") == 0 || std::strcmp(name, "style") == 0;
  }

  Grid& TheGrid() {
    if (!grid_) {
      grid_ = &source_();
      grid_->SetRows(1);
      grid_->SetCols(1);
    }
    return *grid_;
  }

  // The open row gets its grid row with its first cell; row spans from above fill it first.
  void CommitRow(Table& t) {
    if (t.row >= 0) return;
    Grid& grid = TheGrid();
    t.row = next_row_++;
    if (!WithinReadCells(next_row_, grid.Cols())) throw TooLarge{TooManyCellsMessage()};
    if (grid.Rows() < next_row_) {
      // Spare rows are reserved ahead, never past the cell ceiling.
      const int spare = static_cast<int>(std::min<std::int64_t>(
          std::int64_t{grid.Rows()} * 2, kMaxReadCells / std::max(grid.Cols(), 1)));
      grid.SetRows(std::max(next_row_, spare));
    }
    t.col = 0;
    t.taken.assign(1, 1);  // column 0 holds the row numbers
    if (t.row > 0) {
      char number[16];
      auto [end, ec] = std::to_chars(number, number + sizeof number, t.row);
      (void)ec;
      grid.SetTextUtf8(t.row, 0, QByteArrayView(number, end - number));
    }
    for (Span& s : t.spans) Put(t, s.col, s.text);
    for (Span& s : t.spans) --s.remaining;
    std::erase_if(t.spans, [](const Span& s) { return s.remaining <= 0; });
  }

  void Put(Table& t, int col, const std::string& text) {
    Grid& grid = TheGrid();
    if (grid.Cols() <= col) {
      if (col >= kMaxHtmlColumns) throw TooLarge{HtmlTooManyColumnsMessage()};
      if (!WithinReadCells(next_row_, std::int64_t{col} + 1))
        throw TooLarge{TooManyCellsMessage()};
      // The spare rows go first when the wider table would pass the ceiling with them.
      if (!WithinReadCells(grid.Rows(), std::int64_t{col} + 1)) grid.SetRows(next_row_);
      grid.SetCols(col + 1);
    }
    // Text the file holds is stored once; copies for spans may add kMaxSpanCopyBytes more.
    stored_bytes_ += static_cast<std::int64_t>(text.size());
    if (stored_bytes_ > input_bytes_ + kMaxSpanCopyBytes) throw TooLarge{HtmlSpanTooLargeMessage()};
    if (!text.empty())
      grid.SetTextUtf8(t.row, col,
                       QByteArrayView(text.data(), static_cast<qsizetype>(text.size())));
    if (static_cast<int>(t.taken.size()) <= col)
      t.taken.resize(static_cast<std::size_t>(col) + 1, 0);
    t.taken[col] = 1;
  }

  bool Taken(const Table& t, int col) const {
    return col < static_cast<int>(t.taken.size()) && t.taken[col] != 0;
  }

  void EndCell(Table& t) {
    if (!t.in_cell) return;
    t.in_cell = false;
    // A no-break space reads as a space.
    std::string& text = t.text;
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
      if (text[i] == '\xC2' && text[i + 1] == '\xA0') {
        text.replace(i, 2, " ");
      }
    }
    int k = t.col + 1;
    for (int n = 0; n <= t.extra_cols; ++n) {
      while (Taken(t, k)) ++k;
      Put(t, k, text);
      if (t.extra_rows > 0) t.spans.push_back(Span{k, t.extra_rows, text});
      ++k;
    }
    t.col = k - 1;
  }

  const HtmlGridSource& source_;
  Grid* grid_ = nullptr;
  std::vector<Table> tables_;
  int next_row_ = 0;
  int raw_depth_ = 0;  // inside script or style
  std::int64_t input_bytes_;
  std::int64_t stored_bytes_ = 0;  // cell text put into the grid, span copies included
};

// The libxml2 callbacks; exceptions never cross the C library.
struct SaxContext {
  TableBuilder* builder = nullptr;
  htmlParserCtxtPtr parser = nullptr;
  bool failed = false;
  QString message;  // why, when a ceiling stopped the parse

  template <typename F>
  void Guard(F&& f) {
    if (failed) return;
    try {
      f();
    } catch (const TooLarge& e) {
      failed = true;
      message = e.message;
      xmlStopParser(parser);
    } catch (const std::exception&) {
      failed = true;
      xmlStopParser(parser);
    }
  }
};

void OnStart(void* ctx, const xmlChar* name, const xmlChar** attrs) {
  auto* c = static_cast<SaxContext*>(ctx);
  c->Guard([&] {
    c->builder->StartElement(reinterpret_cast<const char*>(name),
                             reinterpret_cast<const char**>(attrs));
  });
}

void OnEnd(void* ctx, const xmlChar* name) {
  auto* c = static_cast<SaxContext*>(ctx);
  c->Guard([&] { c->builder->EndElement(reinterpret_cast<const char*>(name)); });
}

void OnCharacters(void* ctx, const xmlChar* text, int len) {
  auto* c = static_cast<SaxContext*>(ctx);
  c->Guard([&] { c->builder->Characters(reinterpret_cast<const char*>(text), len); });
}

void Quiet(void*, const char*, ...) {}

}  // namespace

QString HtmlTableProblemMessage() { return QStringLiteral("HTML 表ファイルに問題があります。"); }

QString HtmlSpanTooLargeMessage() {
  return QStringLiteral("HTML の表の結合セルが大きすぎて読めません（行の結合数 × 列の結合数は ") +
         QString::number(kMaxSpanCells) + QStringLiteral(" セルまでです）。");
}

QString HtmlTooManyColumnsMessage() {
  return QStringLiteral("HTML の表の列が多すぎて読めません（") + QString::number(kMaxHtmlColumns) +
         QStringLiteral(" 列までです）。");
}

QByteArrayView HtmlFileTextAsUtf8(QByteArrayView bytes, QByteArray* converted) {
  static constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";
  if (bytes.size() >= 3 && std::memcmp(bytes.data(), kUtf8Bom, 3) == 0) {
    // A byte-order mark does not make the rest valid: broken sequences become U+FFFD.
    const QByteArrayView rest = bytes.sliced(3);
    if (IsValidUtf8(rest)) return rest;
    *converted = QString::fromUtf8(rest).toUtf8();
    return *converted;
  }
  if (bytes.size() >= 2) {
    const auto b0 = static_cast<unsigned char>(bytes[0]);
    const auto b1 = static_cast<unsigned char>(bytes[1]);
    if ((b0 == 0xFF && b1 == 0xFE) || (b0 == 0xFE && b1 == 0xFF)) {
      Decode(bytes, b0 == 0xFF ? "UTF-16LE" : "UTF-16BE", converted);
      if (converted->startsWith("\xEF\xBB\xBF")) converted->remove(0, 3);
      return *converted;
    }
  }
  const QByteArray declared = DeclaredCharset(bytes);
  if (!declared.isEmpty()) {
    const QByteArray lower = declared.toLower();
    if (lower == "utf-8" || lower == "utf8") {
      if (IsValidUtf8(bytes)) return bytes;
      *converted = QString::fromUtf8(bytes).toUtf8();  // broken sequences become U+FFFD
      return *converted;
    }
    if (Decode(bytes, declared.constData(), converted)) return *converted;
  }
  return TableTextAsUtf8(bytes, converted);
}

HtmlParseOutcome ParseHtmlTableText(QByteArrayView utf8, const HtmlGridSource& grid,
                                    const ReadProgress& progress, QString* message) {
  TableBuilder builder(grid, utf8.size());
  htmlSAXHandler sax;
  std::memset(&sax, 0, sizeof sax);
  sax.startElement = OnStart;
  sax.endElement = OnEnd;
  sax.characters = OnCharacters;
  sax.ignorableWhitespace = OnCharacters;  // spaces in cells stay
  sax.cdataBlock = OnCharacters;           // script and style text, skipped by the builder
  sax.warning = Quiet;
  sax.error = Quiet;
  sax.fatalError = Quiet;

  SaxContext context;
  context.builder = &builder;
  htmlParserCtxtPtr parser =
      htmlCreatePushParserCtxt(&sax, &context, nullptr, 0, nullptr, XML_CHAR_ENCODING_UTF8);
  if (!parser) return HtmlParseOutcome::kFailed;
  context.parser = parser;
  htmlCtxtUseOptions(parser, HTML_PARSE_RECOVER | HTML_PARSE_NONET | HTML_PARSE_IGNORE_ENC);

  // The last chunk goes with the end mark: libxml2 holds back text it has not seen the end of.
  qsizetype done = 0;
  do {
    const qsizetype n = std::min(kChunkBytes, utf8.size() - done);
    const bool last = done + n >= utf8.size();
    htmlParseChunk(parser, utf8.data() + done, static_cast<int>(n), last ? 1 : 0);
    done += n;
    if (progress && !last) progress(done, utf8.size());
  } while (done < utf8.size() && !context.failed);
  htmlFreeParserCtxt(parser);

  if (message) *message = context.message;
  bool any = false;
  try {
    any = builder.Finish();
  } catch (const std::exception&) {
    return HtmlParseOutcome::kFailed;
  }
  if (context.failed) return HtmlParseOutcome::kFailed;
  return any ? HtmlParseOutcome::kFilled : HtmlParseOutcome::kNoTable;
}

TableReadResult HtmlReader::Read(QByteArrayView content, const QString& path, Grid& grid,
                                 const ReadProgress& progress) {
  QByteArray converted;
  QByteArrayView text = HtmlFileTextAsUtf8(content, &converted);
  grid.ClearCells();
  QString why;
  HtmlParseOutcome outcome = ParseHtmlTableText(
      text, [&grid]() -> Grid& { return grid; }, progress, &why);
  TableReadResult result;
  result.name = TableNameFromPath(path);
  grid.SetText(0, 0, result.name);
  if (outcome != HtmlParseOutcome::kFilled) {
    result.ok = false;
    result.message = why.isEmpty() ? HtmlTableProblemMessage() : why;
  }
  return result;
}

}  // namespace mivora
