#include "conditions/ConditionFilter.h"

#include <QByteArray>
#include <cstdint>
#include <vector>

#include "conditions/ConditionTexts.h"
#include "conditions/ParsedCondition.h"
#include "model/ColumnWidths.h"
#include "model/Host.h"
#include "model/TwoHalves.h"
#include "search/JoinedColumnKind.h"
#include "workspace/Workspace.h"

namespace mivora {

namespace {

constexpr int kProgressStep = 65536;
constexpr std::int64_t kParallelRows = 1 << 17;
constexpr int kFirstDataRow = 2;  // row 1 of the joined grid holds the column tags

// An empty result grid with the settings of the old one; its text store starts afresh.
void EmptyResultGrid(Grid& result) { result.ClearCells(); }

}  // namespace

void FilterJoinedRows(Workspace& ws) {
  const Grid& joined = ws.result.JoinedGrid();
  Grid& result = ws.result.ResultGrid();
  EmptyResultGrid(result);

  std::vector<int> report_columns;
  for (int i = 1; i < joined.Cols(); ++i)
    if (joined.Rows() > 0 && JoinedColumnKind(joined, i) == 0) report_columns.push_back(i);
  result.SetCols(1 + static_cast<int>(report_columns.size()));
  for (int k = 0; k < static_cast<int>(report_columns.size()); ++k)
    result.SetText(0, k + 1, joined.Text(0, report_columns[k]));

  const int rows = joined.Rows();
  std::vector<int> kept;
  if (rows > kFirstDataRow) {
    // No condition keeps every row.
    const QString& expression = ConditionExpression(ws);
    if (expression.isEmpty()) {
      kept.reserve(static_cast<std::size_t>(rows - kFirstDataRow));
      for (int j = kFirstDataRow; j < rows; ++j) kept.push_back(j);
    } else {
      const ParsedCondition condition(expression, joined);
      QStringList shown;
      for (const QString& message : condition.Messages()) {
        if (shown.contains(message)) continue;
        shown.append(message);
        ws.host.ShowMessage(message);
      }
      // Each row stands alone, so a big grid is read in two halves at once; the second
      // half's rows follow the first's. Progress is shown from this thread's half.
      const std::int64_t count = rows - kFirstDataRow;
      std::vector<int> later;
      auto read = [&](std::int64_t from, std::int64_t to) {
        const bool shows_progress = to == count;
        std::vector<int>& into = shows_progress ? later : kept;
        std::vector<TruthValue> values(
            static_cast<std::size_t>(std::min<std::int64_t>(kProgressStep, to - from)));
        for (std::int64_t i = from; i < to; i += kProgressStep) {
          const int n = static_cast<int>(std::min<std::int64_t>(kProgressStep, to - i));
          const int j = static_cast<int>(i) + kFirstDataRow;
          condition.EvaluateRows(joined, j, n, values.data());
          for (int k = 0; k < n; ++k)
            if (values[static_cast<std::size_t>(k)] >= 1) into.push_back(j + k);
          if (shows_progress) ws.host.ShowProgress((i - from + n) * count / (to - from), count);
        }
      };
      if (count >= kParallelRows)
        InTwoHalves(count, read);
      else
        read(0, count);
      kept.insert(kept.end(), later.begin(), later.end());
    }
  }

  const int width = 1 + static_cast<int>(report_columns.size());
  // Report columns that show the tables' cells through row references show the kept rows'
  // cells the same way, with numbered rows; others get the kept rows' texts.
  result.SetRows(1 + static_cast<int>(kept.size()));
  bool shared = !kept.empty();
  for (int c = 1; c < width && shared; ++c)
    shared = result.ShareSharedCells(c, 1, joined, report_columns[c - 1], kept);
  if (shared) {
    result.ShowRowNumbers(0, 1, static_cast<std::int64_t>(kept.size()));
  } else {
    result.SetRows(1);
    result.Reserve(1 + static_cast<int>(kept.size()), 0);
    std::vector<QByteArrayView> cells(static_cast<std::size_t>(width));
    QByteArray number;
    for (std::size_t k = 0; k < kept.size(); ++k) {
      number.setNum(static_cast<qulonglong>(k + 1));
      cells[0] = number;
      for (std::size_t c = 0; c < report_columns.size(); ++c)
        cells[c + 1] = joined.TextUtf8(kept[k], report_columns[c]);
      result.AppendRowUtf8(cells.data(), width);
    }
  }
  for (int c = 1; c < width; ++c) result.SetMergeCol(c, true);
  // Both grids' row numbers fit, however many rows the search made.
  if (ws.measurer) {
    FitRowNumberColumn(ws.result.JoinedGrid(), *ws.measurer);
    FitRowNumberColumn(result, *ws.measurer);
  }
  ws.host.ShowProgress(0, 0);
}

}  // namespace mivora
