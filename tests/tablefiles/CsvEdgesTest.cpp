#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <new>

#include "model/Grid.h"
#include "support/FakeHost.h"
#include "tablefiles/CsvReader.h"
#include "tablefiles/ReadShortage.h"
#include "tablefiles/TableLoading.h"
#include "tablefiles/TextEncoding.h"
#include "workspace/Startup.h"
#include "workspace/TableSlots.h"
#include "workspace/Workspace.h"

namespace mivora {
namespace {

using testing::FakeHost;

QByteArray Utf16(const QString& text, bool little_endian) {
  QByteArray bytes = little_endian ? QByteArray("\xFF\xFE", 2) : QByteArray("\xFE\xFF", 2);
  for (QChar ch : text) {
    const char lo = static_cast<char>(ch.unicode() & 0xFF);
    const char hi = static_cast<char>(ch.unicode() >> 8);
    bytes.append(little_endian ? lo : hi).append(little_endian ? hi : lo);
  }
  return bytes;
}

struct DecodeCase {
  const char* name;
  QByteArray bytes;
  const char* first_cell;  // row 1, column 1
  int replaced_row;        // -1: no note
};

TEST(CsvEdges, EncodingsAreReadAndUnreadableBytesAreNotedOnceWithTheirRow) {
  const QString text = QStringLiteral("名前,数\r\nりんご,1\r\n梨,2\r\n");
  const DecodeCase cases[] = {
      {"Utf16LittleEndian", Utf16(text, true), "りんご", -1},
      {"Utf16BigEndian", Utf16(text, false), "りんご", -1},
      {"Utf16LoneSurrogate", Utf16(QStringLiteral("a\n1\n") + QChar(0xD800) + u'\n', true), "1", 2},
      {"Utf16OddLength", Utf16(QStringLiteral("a\n1\n"), true) + QByteArray("x", 1), "1", 2},
      {"NeitherUtf8NorCp932", QByteArray("a,b\n1,2\n\x81\x20x,3\n\x81\x20y,4\n"), "1", 2},
      {"Cp932", QByteArray("a\n\x82\xa0\n"), "\xe3\x81\x82", -1},
      {"Utf8WithItsOwnReplacementCharacter", QByteArray("a\n\xEF\xBF\xBD\n"), "\xEF\xBF\xBD", -1},
  };
  for (const DecodeCase& c : cases) {
    SCOPED_TRACE(c.name);
    Grid grid;
    CsvReader reader;
    TableReadResult result = reader.Read(c.bytes, QStringLiteral("/d/<u>t.csv"), grid, {});
    EXPECT_TRUE(result.ok) << result.message.toStdString();
    ASSERT_GE(grid.Rows(), 2);
    EXPECT_EQ(grid.Text(1, 1), QString::fromUtf8(c.first_cell));
    EXPECT_EQ(result.notice, c.replaced_row < 0 ? QString()
                                                : UndecodableTextMessage(QStringLiteral("/d/<u>t.csv"),
                                                                         c.replaced_row));
  }
}

TEST(CsvEdges, TheNoteNamesTheFileAndTheRow) {
  EXPECT_EQ(UndecodableTextMessage(QStringLiteral("/d/t.csv"), 7),
            QStringLiteral("表ファイル「/d/t.csv」には UTF-8 としても CP932 としても読めない文字があり、"
                           "「\uFFFD」に置き換えました（最初は 7 行目）。"));
}

// Room reserved ahead stays within what the file can hold, however skewed its first lines,
// and a failed read gives it back as a finished one does.
struct ReserveCase {
  const char* name;
  QByteArray content;
  bool ok;
};

QByteArray Skewed(int header_columns, const QByteArray& sample_line, const QByteArray& rest,
                  const QByteArray& tail) {
  QByteArray header;
  for (int c = 0; c < header_columns; ++c) header += (c ? "," : "") + QByteArray::number(c);
  return header + "\n" + sample_line.repeated(64) + rest + tail;
}

TEST(CsvEdges, ReservedRoomIsBoundedByTheFile) {
  const QByteArray long_line = QByteArray(4 << 20, 'x') + "\n";
  const QByteArray many_short = QByteArray("1\n").repeated(70000);
  const ReserveCase cases[] = {
      {"EmptyLinesThenALongLine", Skewed(100, "\n", long_line, ""), true},
      {"EmptyLinesThenALongLineThenAFault",
       Skewed(100, "\n", long_line, QByteArray(",").repeated(100) + "\n"), false},
      {"ShortLinesThenLongOnes", Skewed(3, "1,2\n", QByteArray(2000, 'y') + ",z\n", ""), true},
      {"EmptyLinesUnderAWideHeaderThenMany", Skewed(100, "\n", many_short, long_line), true},
  };
  for (const ReserveCase& c : cases) {
    SCOPED_TRACE(c.name);
    Grid grid;
    CsvReader reader;
    const std::int64_t file = c.content.size();
    std::int64_t peak = 0;
    std::int64_t needed_at_peak = 0;
    TableReadResult result = reader.Read(c.content, QStringLiteral("t.csv"), grid,
                                         [&](std::int64_t, std::int64_t) {
                                           if (grid.MemoryBytes() > peak) {
                                             peak = grid.MemoryBytes();
                                             needed_at_peak = std::int64_t{grid.Rows()} * grid.Cols() * 16;
                                           }
                                         });
    EXPECT_EQ(result.ok, c.ok);
    // What the cells need (handles, twice over for growth) plus a few times the file.
    EXPECT_LE(peak, needed_at_peak + 6 * file + (1 << 20));
    const std::int64_t needed = std::int64_t{grid.Rows()} * grid.Cols() * 16;
    EXPECT_LE(grid.MemoryBytes(), needed + 2 * file + (1 << 20));
  }
}

TEST(CsvEdges, CeilingsStopTheReadWithAMessage) {
  QByteArray at_ceiling = QByteArray(",").repeated(kMaxCsvColumns - 1) + "\n1\n";
  QByteArray beyond = QByteArray(",").repeated(kMaxCsvColumns) + "\n1\n";
  QByteArray wide_data_line = "a,b\n" + QByteArray(",").repeated(1 << 22) + "\n";
  Grid grid;
  CsvReader reader;
  TableReadResult result = reader.Read(at_ceiling, QStringLiteral("t.csv"), grid, {});
  EXPECT_TRUE(result.ok);
  EXPECT_EQ(grid.Cols(), kMaxCsvColumns + 1);

  result = reader.Read(beyond, QStringLiteral("t.csv"), grid, {});
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.message, CsvTooManyColumnsMessage(0));
  EXPECT_EQ(grid.Cols(), 1) << "nothing of the refused header is kept";

  // A line of millions of fields under a short header stops at once, and Form2 gets a bounded
  // part of it.
  result = reader.Read(wide_data_line, QStringLiteral("t.csv"), grid, {});
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.message, CsvRowProblemMessage(1));
  EXPECT_EQ(grid.Rows(), 2);
  EXPECT_EQ(result.failed_line.size(), 65536);
}

class ShortageTest : public ::testing::Test {
 protected:
  void SetUp() override { StartUp(ws_, {}); }
  FakeHost host_;
  Workspace ws_{host_};
};

TEST_F(ShortageTest, RunningOutOfMemoryDropsTheHalfReadTableOnly) {
  QTemporaryDir dir;
  const QString kept_path = dir.filePath(QStringLiteral("kept.csv"));
  QFile kept(kept_path);
  ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
  kept.write("a,b\n1,2\n");
  kept.close();
  const int kept_slot = LoadTableFile(ws_, kept_path, {}).slot;
  ASSERT_GE(kept_slot, 4);

  const int slot = AllocateSlot(ws_, 0, 0, 0, 0);
  TableFileName(ws_, QStringLiteral("/d/big.csv"), slot);
  const bool finished = ReadDroppingOnShortage(ws_, QStringLiteral("/d/big.csv"), slot, [&] {
    Grid& grid = ws_.TableGrid(slot);
    grid.SetCols(3);
    for (int r = 0; r < 1000; ++r) grid.AppendRow({QString::number(r), QStringLiteral("x")});
    throw std::bad_alloc();
  });
  EXPECT_FALSE(finished);
  EXPECT_EQ(host_.messages, QStringList{TableDroppedForMemoryMessage(QStringLiteral("/d/big.csv"))});
  EXPECT_FALSE(ws_.tables.SlotInUse(slot));
  EXPECT_EQ(ws_.TableGrid(slot).Rows(), 1);
  EXPECT_EQ(TableFileName(ws_, QStringLiteral("?"), slot), QString());
  EXPECT_TRUE(ws_.tables.SlotInUse(kept_slot));
  EXPECT_EQ(ws_.TableGrid(kept_slot).Text(1, 2), QStringLiteral("2"));
  // The dropped slot is free again for the next table.
  EXPECT_EQ(AllocateSlot(ws_, 0, 0, 0, 0), slot);
}

}  // namespace
}  // namespace mivora

namespace mivora {
namespace {

// Files big enough that their second half is read on a second thread read as in one pass:
// when the guessed split lies inside a quoted field, when the second half holds a fault, and
// with texts long enough to live in the pools. The second half's handles and texts are big
// enough that their pages are moved into the table rather than copied.
TEST(CsvEdges, BigFilesReadAsInOnePass) {
  constexpr int kRows = 300000;
  auto row = [](int r) { return "k" + QByteArray::number(r) + ",a longer text " + QByteArray::number(r) + "\n"; };
  QByteArray plain = "key,text\n";
  for (int r = 1; r <= kRows; ++r) plain += row(r);
  // A quoted field of many lines across the middle, so the first line feed past it is inside.
  QByteArray quoted = plain;
  const qsizetype middle = quoted.indexOf('\n', quoted.size() / 2 - (1 << 18)) + 1;
  quoted.insert(middle, "q,\"" + QByteArray("x\n").repeated(1 << 19) + "\"\n");
  // A line of too many fields late in the file.
  QByteArray faulty = plain;
  faulty.insert(faulty.indexOf('\n', faulty.size() * 9 / 10) + 1, "a,b,c\n");
  const int faulty_row = static_cast<int>(faulty.left(faulty.indexOf("a,b,c\n")).count('\n'));

  for (const QByteArray* content : {&plain, &quoted, &faulty}) {
    Grid grid;
    CsvReader reader;
    const TableReadResult result = reader.Read(*content, QStringLiteral("t.csv"), grid, {});
    if (content == &faulty) {
      EXPECT_FALSE(result.ok);
      EXPECT_EQ(result.message, CsvRowProblemMessage(faulty_row));
      EXPECT_EQ(result.failed_line, QStringLiteral("a,b,c"));
      EXPECT_EQ(grid.Rows(), faulty_row + 1);  // the rows read so far, the faulty one too
      EXPECT_EQ(grid.Text(faulty_row - 1, 2), QStringLiteral("a longer text %1").arg(faulty_row - 1));
      continue;
    }
    ASSERT_TRUE(result.ok) << result.message.toStdString();
    const int extra = content == &quoted ? 1 : 0;
    ASSERT_EQ(grid.Rows(), 1 + kRows + extra);
    int r = 1;
    for (int k = 1; k <= kRows + extra; ++k) {
      if (grid.Text(k, 1) == QStringLiteral("q")) {
        EXPECT_EQ(grid.TextUtf8(k, 2).size(), 2 << 19);
        continue;
      }
      ASSERT_EQ(grid.Text(k, 1), QStringLiteral("k%1").arg(r)) << k;
      ASSERT_EQ(grid.Text(k, 2), QStringLiteral("a longer text %1").arg(r)) << k;
      ++r;
    }
    EXPECT_EQ(grid.Text(kRows + extra, 0), QString::number(kRows + extra));
  }
}

}  // namespace
}  // namespace mivora
