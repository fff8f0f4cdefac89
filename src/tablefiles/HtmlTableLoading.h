#pragma once

#include <QByteArrayView>
#include <QString>

#include "model/Twips.h"
#include "tablefiles/TableLoading.h"

namespace mivora {

class Workspace;

// Reads an HTML file's tables into a new table window with the given geometry (0 keeps a
// default) and names it as a CSV file's table; records the path in `TableFileNames`.
// A file that cannot be opened is reported with its path and the reason; a file without a
// table gets the HTML message. Neither leaves a table window behind.
LoadResult ReadHtmlFile(Workspace& ws, const QString& path, const TwipRect& geometry);

// Pasted or dropped HTML text into a new table window at the default place: no name in
// cell (0, 0), no entry in `TableFileNames`. Text without a table takes no slot.
LoadResult ParseHtmlTable(Workspace& ws, const QString& text);

}  // namespace mivora
