// Hostile inputs at and beyond each reader's stated ceilings: a small file that declares a far
// cell, a giant span or a huge count ends in bounded time and memory, refused with a message
// where it passes a ceiling.
#include <gtest/gtest.h>
#include <zip.h>

#include <QFile>
#include <QTemporaryDir>
#include <cstring>

#include "model/Grid.h"
#include "tablefiles/HtmlReader.h"
#include "tablefiles/ReadCeilings.h"
#include "tablefiles/Workbook.h"
#include "tablefiles/XlsxWorkbook.h"
#include "support/FakeHost.h"

namespace mivora {
namespace {

using testing::TestData;

void PutU16(QByteArray& b, qsizetype at, unsigned v) {
  b[at] = static_cast<char>(v & 0xFF);
  b[at + 1] = static_cast<char>(v >> 8 & 0xFF);
}
void PutU32(QByteArray& b, qsizetype at, std::uint32_t v) {
  PutU16(b, at, v & 0xFFFF);
  PutU16(b, at + 2, v >> 16);
}
void AddRecord(QByteArray& s, unsigned type, const QByteArray& body) {
  QByteArray head(4, '\0');
  PutU16(head, 0, type);
  PutU16(head, 2, static_cast<unsigned>(body.size()));
  s += head + body;
}
QByteArray Cell(unsigned row, unsigned col, double value) {
  QByteArray b(14, '\0');
  PutU16(b, 0, row);
  PutU16(b, 2, col);
  std::memcpy(b.data() + 6, &value, 8);
  return b;
}

// A legacy workbook: one sheet "S" whose records are the given NUMBER cells (row, column) and
// any extra records, in a compound file of 512-byte sectors (header, FAT, directory, stream).
QByteArray XlsBook(const std::vector<std::pair<unsigned, unsigned>>& cells,
                   const QByteArray& extra_sheet_records = {},
                   const QByteArray& extra_global_records = {}) {
  QByteArray bof(16, '\0');
  PutU16(bof, 0, 0x0600);
  PutU16(bof, 2, 0x0005);
  QByteArray stream;
  AddRecord(stream, 0x0809, bof);
  QByteArray sheet(9, '\0');  // offset, visibility, type 0 (worksheet), name "S" (8-bit)
  sheet[6] = 1;
  sheet[8] = 'S';
  const qsizetype sheet_record = stream.size();
  AddRecord(stream, 0x0085, sheet);
  stream += extra_global_records;
  AddRecord(stream, 0x000A, {});
  PutU32(stream, sheet_record + 4, static_cast<std::uint32_t>(stream.size()));
  PutU16(bof, 2, 0x0010);
  AddRecord(stream, 0x0809, bof);
  for (const auto& [row, col] : cells) AddRecord(stream, 0x0203, Cell(row, col, row + col));
  stream += extra_sheet_records;
  AddRecord(stream, 0x000A, {});
  stream.append(4096 - std::min<qsizetype>(stream.size(), 4096), '\0');  // past the mini stream
  const int sectors = static_cast<int>((stream.size() + 511) / 512);
  stream.append(sectors * 512 - stream.size(), '\0');

  QByteArray header(512, '\0');
  std::memcpy(header.data(), "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
  PutU16(header, 24, 0x003E);
  PutU16(header, 26, 3);
  PutU16(header, 28, 0xFFFE);
  PutU16(header, 30, 9);
  PutU16(header, 32, 6);
  PutU32(header, 44, 1);  // FAT sectors
  PutU32(header, 48, 1);  // first directory sector
  PutU32(header, 56, 4096);
  PutU32(header, 60, 0xFFFFFFFE);
  PutU32(header, 68, 0xFFFFFFFE);
  for (int i = 0; i < 109; ++i) PutU32(header, 76 + 4 * i, i == 0 ? 0 : 0xFFFFFFFF);
  QByteArray fat(512, '\xFF');
  PutU32(fat, 0, 0xFFFFFFFD);
  PutU32(fat, 4, 0xFFFFFFFE);
  for (int i = 0; i < sectors; ++i)
    PutU32(fat, 4 * (2 + i), i + 1 < sectors ? 2 + i + 1 : 0xFFFFFFFE);
  QByteArray dir(512, '\0');
  auto entry = [&](int n, const char* name, int type, std::uint32_t child, std::uint32_t start,
                   std::uint32_t size) {
    const qsizetype at = n * 128;
    const int length = static_cast<int>(std::strlen(name));
    for (int i = 0; i < length; ++i) PutU16(dir, at + 2 * i, static_cast<unsigned char>(name[i]));
    PutU16(dir, at + 64, length ? 2 * (length + 1) : 0);
    dir[at + 66] = static_cast<char>(type);
    dir[at + 67] = 1;
    PutU32(dir, at + 68, 0xFFFFFFFF);
    PutU32(dir, at + 72, 0xFFFFFFFF);
    PutU32(dir, at + 76, child);
    PutU32(dir, at + 116, start);
    PutU32(dir, at + 120, size);
  };
  entry(0, "Root Entry", 5, 1, 0xFFFFFFFE, 0);
  entry(1, "Workbook", 2, 0xFFFFFFFF, 2, static_cast<std::uint32_t>(stream.size()));
  entry(2, "", 0, 0xFFFFFFFF, 0, 0);
  entry(3, "", 0, 0xFFFFFFFF, 0, 0);
  return header + fat + dir + stream;
}

class ReaderCeilings : public ::testing::Test {
 protected:
  QString Write(const char* name, const QByteArray& bytes) {
    const QString path = dir_.filePath(QString::fromUtf8(name));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
  }
  // Reads the first sheet of a workbook.
  TableReadResult ReadFirstSheet(const QString& path, Grid& grid) {
    QString reason;
    std::unique_ptr<Workbook> book = OpenWorkbook(path, &reason);
    EXPECT_TRUE(book) << reason.toStdString();
    if (!book) return {false, {}, reason, {}, {}};
    return book->ReadSheet(0, grid, {});
  }
  // A copy of a fixture workbook whose first sheet's XML is replaced.
  QString BookWithSheet(const char* name, const QByteArray& sheet) {
    const QString path = dir_.filePath(QString::fromUtf8(name));
    QFile::copy(TestData(QStringLiteral("workbooks/layout.xlsx")), path);
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    int error = 0;
    zip_t* z = zip_open(QFile::encodeName(path).constData(), 0, &error);
    EXPECT_TRUE(z);
    zip_source_t* src = zip_source_buffer(z, sheet.constData(), sheet.size(), 0);
    EXPECT_GE(zip_file_add(z, "xl/worksheets/a.xml", src, ZIP_FL_OVERWRITE), 0);
    EXPECT_EQ(zip_close(z), 0);
    return path;
  }
  QTemporaryDir dir_;
};

// A legacy sheet reaches at most column IV and row 65,536: the far corner is read in full (the
// whole grid within the cell ceiling); a cell record naming a column past IV, alone or in a
// run of numbers, is a broken record and stops the read with the row message, before any
// grid as wide as the column it names is laid out.
TEST_F(ReaderCeilings, LegacyWorkbookColumnsEndAtIV) {
  Grid grid;
  TableReadResult r = ReadFirstSheet(Write("corner.xls", XlsBook({{0, 0}, {65535, 255}})), grid);
  EXPECT_TRUE(r.ok) << r.message.toStdString();
  EXPECT_EQ(grid.Rows(), 65536);
  EXPECT_EQ(grid.Cols(), 257);
  EXPECT_EQ(grid.Text(65535, 256), QStringLiteral("65790"));

  QByteArray mulrk(6 + 6 * 2, '\0');  // row 1, columns 255 and 256
  PutU16(mulrk, 2, 255);
  QByteArray run;
  AddRecord(run, 0x00BD, mulrk);
  const std::pair<const char*, QByteArray> broken[] = {
      {"far.xls", XlsBook({{0, 0}, {3000, 60000}})},
      {"run.xls", XlsBook({{0, 0}}, run)},
  };
  for (const auto& [name, bytes] : broken) {
    SCOPED_TRACE(name);
    Grid g;
    r = ReadFirstSheet(Write(name, bytes), g);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.message.isEmpty());
    EXPECT_LE(g.Cols(), 257);
  }
}

// A shared string table declaring four billion strings holds one: the count reserves nothing
// and the missing strings are a broken record.
TEST_F(ReaderCeilings, LegacySharedStringCountIsNotTrusted) {
  QByteArray sst(8 + 4, '\0');
  PutU32(sst, 0, 0xFFFFFFFF);
  PutU32(sst, 4, 0xFFFFFFFF);
  PutU16(sst, 8, 1);
  sst[11] = 'x';
  QByteArray globals;
  AddRecord(globals, 0x00FC, sst);
  QString reason;
  EXPECT_FALSE(OpenWorkbook(Write("sst.xls", XlsBook({{0, 0}}, {}, globals)), &reason));
  EXPECT_FALSE(reason.isEmpty());
}

// An .xlsx sheet may name row 1,048,576 and column XFD: a table past kMaxReadCells is refused
// with its message before it grows; a far cell within the ceiling is read.
TEST_F(ReaderCeilings, WorkbookSheetBeyondTheCellCeilingIsRefused) {
  auto sheet = [](const char* far_cell, int far_row) {
    return QByteArray(
               "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
               "<sheetData><row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>h</t></is></c></row>"
               "<row r=\"") +
           QByteArray::number(far_row) + "\"><c r=\"" + far_cell +
           "\"><v>7</v></c></row></sheetData></worksheet>";
  };
  struct Case {
    const char* name;
    const char* far_cell;
    int far_row;
    bool ok;
  };
  // 1,048,576 rows × (128 + 1) columns passes 2^27 cells; 65,536 rows × 101 do not.
  const Case cases[] = {
      {"beyond.xlsx", "DX1048576", 1048576, false},
      {"xfd.xlsx", "XFD70000", 70000, false},
      {"within.xlsx", "CV65536", 65536, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Grid grid;
    const TableReadResult r = ReadFirstSheet(BookWithSheet(c.name, sheet(c.far_cell, c.far_row)), grid);
    EXPECT_EQ(r.ok, c.ok) << r.message.toStdString();
    if (c.ok) {
      EXPECT_EQ(grid.Rows(), c.far_row);
      EXPECT_EQ(grid.Text(c.far_row - 1, 100), QStringLiteral("7"));
    } else {
      EXPECT_EQ(r.message, TooManyCellsMessage());
      EXPECT_LE(grid.Rows() * static_cast<std::int64_t>(grid.Cols()), 1000);
    }
  }
}

// The XML between two row ends may take 256 MiB: a sheet whose row is followed by more blank
// space than that (a few hundred kilobytes zipped) ends with the row message; a little less
// blank space between rows is read.
TEST_F(ReaderCeilings, WorkbookRowXmlStopsAtItsCeiling) {
  const QByteArray head =
      "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">"
      "<sheetData><row r=\"1\"><c r=\"A1\"><v>1</v></c></row>";
  const QByteArray row2 = "<row r=\"2\"><c r=\"A2\"><v>2</v></c></row>";
  const QByteArray tail = "</sheetData></worksheet>";
  const qsizetype ceiling = qsizetype{256} << 20;
  for (const bool beyond : {false, true}) {
    SCOPED_TRACE(beyond);
    QByteArray sheet = head;
    // Bytes are inflated in slices of 4 MiB, so the ceiling is checked a slice at a time.
    sheet.append(ceiling + (beyond ? 8 : -8) * (1 << 20), ' ');
    sheet += row2 + tail;
    Grid grid;
    const TableReadResult r = ReadFirstSheet(BookWithSheet("blank.xlsx", sheet), grid);
    EXPECT_EQ(r.ok, !beyond) << r.message.toStdString();
    if (beyond) {
      EXPECT_EQ(r.message, XlsxRowTooLongMessage());
    } else {
      EXPECT_EQ(grid.Rows(), 2);
      EXPECT_EQ(grid.Text(1, 1), QStringLiteral("2"));
    }
  }
}

// HTML spans: 65,534 rows × 16 columns in one cell is the most a span covers; 65,534 × 17 and
// 65,534 × 1,000 are refused with the span message. A row of 65,537 one-column cells passes
// the column ceiling. Each case stays small in time and memory whatever it asks for.
TEST_F(ReaderCeilings, HtmlSpansAndColumnsStopAtTheirCeilings) {
  const QByteArray rows = QByteArray("<tr><td>x</td></tr>").repeated(20);
  struct Case {
    const char* name;
    QByteArray html;
    QString message;  // empty when read
  };
  const Case cases[] = {
      {"span at the ceiling",
       "<table><tr><td rowspan=65534 colspan=16>big</td><td>b</td></tr>" + rows + "</table>", {}},
      {"one column more",
       "<table><tr><td rowspan=65534 colspan=17>big</td></tr>" + rows + "</table>",
       HtmlSpanTooLargeMessage()},
      {"the widest span",
       "<table><tr><td rowspan=65534 colspan=1000>big</td></tr>" + rows + "</table>",
       HtmlSpanTooLargeMessage()},
      {"too many columns",
       "<table><tr>" + QByteArray("<td>c</td>").repeated(65537) + "</tr></table>",
       HtmlTooManyColumnsMessage()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Grid grid;
    QString message;
    const HtmlParseOutcome outcome =
        ParseHtmlTableText(c.html, [&]() -> Grid& { return grid; }, {}, &message);
    EXPECT_EQ(message, c.message);
    EXPECT_EQ(outcome, c.message.isEmpty() ? HtmlParseOutcome::kFilled : HtmlParseOutcome::kFailed);
    if (c.message.isEmpty()) {
      EXPECT_EQ(grid.Rows(), 21);
      EXPECT_EQ(grid.Cols(), 18);
      EXPECT_EQ(grid.Text(20, 16), QStringLiteral("big"));
      EXPECT_EQ(grid.Text(20, 17), QStringLiteral("x"));
    }
  }
}

// Copies of a long spanning text stop at their byte ceiling (64 MiB more than the text the
// file holds): a 256 KiB cell spread over 400 rows would store 100 MiB.
TEST_F(ReaderCeilings, HtmlSpanCopiesOfALongTextAreBounded) {
  const QByteArray html = "<table><tr><td rowspan=400>" + QByteArray(256 << 10, 'a') + "</td></tr>" +
                          QByteArray("<tr><td>x</td></tr>").repeated(400) + "</table>";
  Grid grid;
  QString message;
  EXPECT_EQ(ParseHtmlTableText(html, [&]() -> Grid& { return grid; }, {}, &message),
            HtmlParseOutcome::kFailed);
  EXPECT_EQ(message, HtmlSpanTooLargeMessage());
}

}  // namespace
}  // namespace mivora
