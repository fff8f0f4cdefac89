#include "workspace/OracleExample.h"

#include "conditions/ConditionFilter.h"
#include "search/JoinLines.h"
#include "search/JoinModel.h"
#include "search/Search.h"
#include "tablefiles/TableLoading.h"
#include "workspace/ProgramData.h"
#include "workspace/Workspace.h"

namespace mivora {

const std::array<OracleExampleTable, 9>& OracleExampleTables() {
  // Geometry as left, top, width, height.
  static const std::array<OracleExampleTable, 9> tables = {{
      {QStringLiteral(".\\Oracle_Demo\\Location.csv"), {6500, 600, 5500, 700}},
      {QStringLiteral(".\\Oracle_Demo\\Job.csv"), {600, 600, 0, 2000}},
      {QStringLiteral(".\\Oracle_Demo\\Employee.csv"), {600, 3100, 13000, 700}},
      {QStringLiteral(".\\Oracle_Demo\\Customer.csv"), {700, 4400, 12500, 700}},
      {QStringLiteral(".\\Oracle_Demo\\Sales_Order.csv"), {800, 5700, 12000, 700}},
      {QStringLiteral(".\\Oracle_Demo\\Item.csv"), {900, 7000, 8000, 700}},
      {QStringLiteral(".\\Oracle_Demo\\Price.csv"), {1000, 8300, 7000, 700}},
      {QStringLiteral(".\\Oracle_Demo\\Product.csv"), {1100, 9600, 4000, 700}},
      {QStringLiteral(".\\Oracle_Demo\\Department.csv"), {6600, 1800, 5000, 700}},
  }};
  return tables;
}

const std::array<OracleExampleJoin, 8>& OracleExampleJoins() {
  // Slots 4/1 to 12/3, 12/1 to 6/10, 6/5 to 5/1, 6/1 to 7/9, 7/1 to 8/3, 9/1 to 8/1,
  // 9/3 to 10/1 and 11/1 to 10/1 on an empty workspace.
  static const std::array<OracleExampleJoin, 8> joins = {{
      {0, 1, 8, 3},   // Location.location_id = Department.location_id
      {8, 1, 2, 10},  // Department.department_id = Employee.department_id
      {2, 5, 1, 1},   // Employee.job_id = Job.job_id
      {2, 1, 3, 9},   // Employee.employee_id = Customer.salesperson_id
      {3, 1, 4, 3},   // Customer.customer_id = Sales_Order.customer_id
      {5, 1, 4, 1},   // Item.order_id = Sales_Order.order_id
      {5, 3, 6, 1},   // Item.product_id = Price.product_id
      {7, 1, 6, 1},   // Product.product_id = Price.product_id
  }};
  return joins;
}

void LoadOracleExample(Workspace& ws) {
  std::array<int, 9> slots{};
  for (std::size_t i = 0; i < slots.size(); ++i) {
    const OracleExampleTable& t = OracleExampleTables()[i];
    // Found beside the program, or in the start folder, whatever folder is current.
    QString path = ProgramDataPath(t.file);
    if (path.isEmpty()) path = QString(t.file).replace(u'\\', u'/');
    LoadResult loaded = LoadTableFile(ws, path, t.geometry);
    if (loaded.slot == 0 || !loaded.ok) {
      RedrawJoinLines(ws);
      return;
    }
    slots[i] = loaded.slot;
  }
  for (const OracleExampleJoin& j : OracleExampleJoins()) {
    if (BeginJoin(ws, slots[j.from_table], j.from_column))
      CompleteJoin(ws, slots[j.to_table], j.to_column);
  }
  BuildJoinedGrid(ws);
  FilterJoinedRows(ws);
  RedrawJoinLines(ws);
}

}  // namespace mivora
