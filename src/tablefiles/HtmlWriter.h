#pragma once

#include <QByteArray>

#include "tablefiles/ResultWriter.h"

namespace mivora {

// An HTML 4.0 page holding one table, a row per grid row and a TD per written column (the
// header row too), texts escaped, UTF-8 declared; lines end with CR LF, one more at the end.
class HtmlWriter : public ResultWriter {
 public:
  WriteResult Write(const Grid& grid, const QString& path) override;
};

// The file's bytes for a grid.
QByteArray HtmlResultBytes(const Grid& grid);

}  // namespace mivora
