#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>

#include "tablefiles/TableReader.h"

namespace mivora {

class Grid;

// The message for HTML text in which no table could be read.
QString HtmlTableProblemMessage();
// The messages for a table beyond one of the reader's ceilings (below).
QString HtmlSpanTooLargeMessage();
QString HtmlTooManyColumnsMessage();

// An HTML file's bytes as UTF-8. The encoding is a byte-order mark's, else the charset the
// page declares (meta charset or http-equiv), else UTF-8 when the bytes are valid UTF-8, else
// CP932. The view points into `bytes` when no conversion was needed, otherwise into `converted`.
QByteArrayView HtmlFileTextAsUtf8(QByteArrayView bytes, QByteArray* converted);

// Gives the grid to fill. Called once, when the first table cell is found, so text without a
// table touches no grid (and takes no table slot).
using HtmlGridSource = std::function<Grid&()>;

enum class HtmlParseOutcome {
  kFilled,   // at least one table cell was read
  kNoTable,  // no table cell in the text; the grid source was not called
  kFailed,   // the grid refused a cell part way; what was filled stays
};

// Reads the rows of every table in UTF-8 HTML text into one grid, streamed through libxml2's
// HTML parser (no document tree is built; any charset the text declares is ignored).
// The first row becomes header row 0, later rows the data rows 1 and up, numbered in column 0;
// cells fill columns from 1 with their text pieces joined as they are (character references
// decoded, a no-break space read as a space). Row and column spans copy the text into every
// covered cell (a column span is at most 1000 wide, a row span ends with its own table);
// a cell under an earlier row span moves right to the next free column. Script and style
// contents and comments hold no table text; a table nested in a cell is left out of the cell
// and its rows follow the row that holds it; a row without cells is skipped. Data columns
// are marked for merging equal neighbours.
//
// Ceilings: one cell's row span × column span covers at most 1,048,576 cells (a span of all
// 65,534 rows is 16 columns wide at most); a table has at most 65,536 columns and
// kMaxReadCells cells; the copies of spanning cells' text add at most 64 MiB to the text
// the file holds; nested tables only add rows, so nesting costs no depth. Beyond one the
// parse stops (kFailed) with a message naming the ceiling in `message`; what was filled
// stays. Time and memory stay bounded by the input's size and these ceilings.
HtmlParseOutcome ParseHtmlTableText(QByteArrayView utf8, const HtmlGridSource& grid,
                                    const ReadProgress& progress = {},
                                    QString* message = nullptr);

// HTML table files behind the common reader interface: the grid is emptied and filled, and
// the table named as a CSV file's (also when the parse failed part way).
class HtmlReader : public TableReader {
 public:
  TableReadResult Read(QByteArrayView content, const QString& path, Grid& grid,
                       const ReadProgress& progress) override;
};

}  // namespace mivora
