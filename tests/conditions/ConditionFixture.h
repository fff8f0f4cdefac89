#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <initializer_list>
#include <ostream>

#include "support/FakeHost.h"
#include "workspace/Workspace.h"

// Readable QStrings in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}

namespace mivora::testing {

// A workspace with tables put straight into table slots and a joined grid filled by hand.
class ConditionFixture : public ::testing::Test {
 protected:
  // Puts a table (name in cell (0, 0), headers in row 0, data from row 1) into the next slot
  // from 4 on and returns the slot.
  int AddTable(const QString& name, const QStringList& headers,
               std::initializer_list<QStringList> rows) {
    if (ws.tables.SlotCount() < 4) ws.tables.slots.resize(4);
    ws.tables.slots.emplace_back();
    const int slot = ws.tables.SlotCount() - 1;
    ws.tables.slots[slot].frame.visible = true;
    FillGrid(ws.TableGrid(slot), name, headers, rows);
    return slot;
  }

  // Fills the joined grid: headers in row 0, a tag row 1, data rows from row 2.
  void FillJoined(const QStringList& headers, std::initializer_list<QStringList> rows) {
    Grid& g = ws.result.JoinedGrid();
    g = Grid();
    g.SetCols(1 + static_cast<int>(headers.size()));
    for (int c = 0; c < headers.size(); ++c) g.SetText(0, c + 1, headers[c]);
    QStringList tags{QString()};
    for (int c = 0; c < headers.size(); ++c) tags << QStringLiteral("4/%1").arg(c + 1);
    g.AppendRow(tags);
    int n = 1;
    for (const QStringList& row : rows) g.AppendRow(QStringList{QString::number(n++)} + row);
  }

  static void FillGrid(Grid& g, const QString& name, const QStringList& headers,
                       std::initializer_list<QStringList> rows) {
    g.SetCols(1 + static_cast<int>(headers.size()));
    g.SetText(0, 0, name);
    for (int c = 0; c < headers.size(); ++c) g.SetText(0, c + 1, headers[c]);
    int n = 1;
    for (const QStringList& row : rows) g.AppendRow(QStringList{QString::number(n++)} + row);
  }

  FakeHost host;
  Workspace ws{host};
};

}  // namespace mivora::testing
