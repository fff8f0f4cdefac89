#pragma once

#include <pugixml.hpp>

#include <QByteArray>
#include <QString>
#include <vector>

#include "tablefiles/ZipArchive.h"

namespace mivora {

// Parse flags for every workbook part: a text of spaces only is a value, not nothing.
constexpr unsigned kXmlParseFlags = pugi::parse_default | pugi::parse_ws_pcdata_single;

// An element's name without its namespace prefix.
const char* LocalName(const pugi::xml_node& node);
bool IsNamed(const pugi::xml_node& node, const char* local);
// The first child with that local name.
pugi::xml_node ChildNamed(const pugi::xml_node& node, const char* local);
// An attribute by local name ("r:id" is found as "id" when `prefixed`).
pugi::xml_attribute AttributeNamed(const pugi::xml_node& node, const char* local, bool prefixed);

// Appends a text, its "_xHHHH_" escapes (how workbooks store control characters) decoded.
void AppendXstring(QByteArray& out, const char* text);

// The text of a string item (<si> or <is>): its <t>, or its rich-text runs joined; phonetic
// guides left out.
QByteArray StringItemText(const pugi::xml_node& item);

struct Relationship {
  QString id, type, target;  // target resolved inside the archive; empty when external
};
// The relationships of a part (none when it has no relationships part).
bool ReadRelationships(ZipArchive& zip, const QString& part, std::vector<Relationship>* out,
                       QString* reason);

// A workbook's parts as the reader and the updater need them.
struct XlsxSheetPart {
  QString name;
  QString part;  // archive path of the worksheet
};
struct XlsxLayout {
  QString workbook_part;
  std::vector<XlsxSheetPart> sheets;  // worksheets only, in workbook order
  QString shared_strings_part;        // empty when none
  QString styles_part;                // empty when none
  bool date1904 = false;
};
bool ReadXlsxLayout(ZipArchive& zip, XlsxLayout* layout, QString* reason);

// Per cell style index: 0 number, 1 date, 2 time of day only.
std::vector<char> ReadStyleKinds(ZipArchive& zip, const QString& styles_part, QString* reason);

// A cell reference like "AB12" split into a 1-based column and row (0 when absent).
bool SplitCellRef(const char* ref, int* col, int* row);
QByteArray CellRefText(int col, int row);

}  // namespace mivora
