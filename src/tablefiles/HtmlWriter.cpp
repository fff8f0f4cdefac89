#include "tablefiles/HtmlWriter.h"

#include "model/Grid.h"

namespace mivora {

namespace {

void AppendEscaped(QByteArray& out, QByteArrayView text) {
  for (char c : text) {
    switch (c) {
      case '&':
        out.append("&amp;");
        break;
      case '<':
        out.append("&lt;");
        break;
      case '>':
        out.append("&gt;");
        break;
      case '"':
        out.append("&quot;");
        break;
      default:
        out.append(c);
    }
  }
}

}  // namespace

QByteArray HtmlResultBytes(const Grid& grid) {
  QByteArray out;
  out.reserve(static_cast<qsizetype>(grid.Rows()) * (24 + std::max(grid.Cols() - 1, 0) * 24));
  out.append(
      "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.0//EN\">\r\n"
      "<HTML>\r\n"
      "<HEAD>\r\n"
      "<META name=\"GENERATOR\" content=\"MIVORA for Windows\">\r\n"
      "<META http-equiv=\"Content-Type\" content=\"text/html; charset=UTF-8\">\r\n"
      "<TITLE></TITLE>\r\n"
      "</HEAD>\r\n"
      "<BODY>\r\n"
      "<TABLE border=\"1\">\r\n"
      "  <TBODY>\r\n");
  for (int r = 0; r < grid.Rows(); ++r) {
    out.append("    <TR>\r\n");
    for (int c = 1; c < grid.Cols(); ++c) {
      out.append("      <TD>");
      AppendEscaped(out, grid.TextUtf8(r, c));
      out.append("</TD>\r\n");
    }
    out.append("    </TR>\r\n");
  }
  out.append(
      "  </TBODY>\r\n"
      "</TABLE>\r\n"
      "</BODY>\r\n"
      "</HTML>\r\n"
      "\r\n");
  return out;
}

WriteResult HtmlWriter::Write(const Grid& grid, const QString& path) {
  return SaveBytesAtomically(path, HtmlResultBytes(grid));
}

}  // namespace mivora
