#pragma once

#include <QString>

#include "model/Twips.h"
#include "tablefiles/TableLoading.h"

namespace mivora {

class Workspace;

// Reads workbook tables: a plain workbook path gives a table for every non-empty worksheet,
// in order, at default places; the "book+sheet" form only the named worksheet (even when
// empty) at the given geometry. The workbook is opened before any slot is taken.
LoadResult LoadWorkbookTables(Workspace& ws, const QString& field, const TwipRect& geometry);

}  // namespace mivora
