#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <vector>

#include "search/JoinModel.h"
#include "support/FakeHost.h"
#include "workspace/Startup.h"
#include "workspace/TableSlots.h"
#include "workspace/Workspace.h"

namespace mivora::testing {

// A started workspace with helpers to put tiny tables on the canvas.
class SearchFixture : public ::testing::Test {
 protected:
  SearchFixture() { StartUp(ws_, {}); }

  // A table named `name` with the given column names and data rows; returns its slot.
  int AddTable(const QString& name, const QStringList& headers,
               const std::vector<QStringList>& rows) {
    const int slot = AllocateSlot(ws_, 0, 0, 0, 0);
    Grid& g = ws_.TableGrid(slot);
    g.SetRows(1);
    g.SetCols(static_cast<int>(headers.size()) + 1);
    g.SetText(0, 0, name);
    for (int c = 0; c < headers.size(); ++c) g.SetText(0, c + 1, headers[c]);
    for (std::size_t r = 0; r < rows.size(); ++r) {
      g.AppendRow(QStringList{QString::number(r + 1)} + rows[r]);
    }
    return slot;
  }

  // A single-column table of keys.
  int AddKeys(const QString& name, const QStringList& keys) {
    std::vector<QStringList> rows;
    for (const QString& k : keys) rows.push_back({k});
    return AddTable(name, {QStringLiteral("k")}, rows);
  }

  void MakeJoin(int t1, int c1, int t2, int c2) {
    BeginJoin(ws_, t1, c1);
    CompleteJoin(ws_, t2, c2);
  }

  // The valid joins as (departure table, destination table) pairs, in slot order.
  std::vector<std::pair<int, int>> JoinedPairs() const {
    std::vector<std::pair<int, int>> pairs;
    Join j;
    for (int n = 1; ReadJoin(ws_, n, j) != -1; ++n) {
      if (ReadJoin(ws_, n, j) == n) pairs.push_back({j.departure_table, j.destination_table});
    }
    return pairs;
  }

  // The texts of one grid row from column `from` on.
  static QStringList RowTexts(const Grid& g, int row, int from = 0) {
    QStringList out;
    for (int c = from; c < g.Cols(); ++c) out.push_back(g.Text(row, c));
    return out;
  }

  FakeHost host_;
  Workspace ws_{host_};
};

inline QStringList Q(std::initializer_list<const char*> texts) {
  QStringList out;
  for (const char* t : texts) out.push_back(QString::fromUtf8(t));
  return out;
}

}  // namespace mivora::testing
