#include "tablefiles/XlsxParts.h"

#include <cstring>
#include <map>

#include "tablefiles/CellValueText.h"

namespace mivora {

const char* LocalName(const pugi::xml_node& node) {
  const char* name = node.name();
  const char* colon = std::strrchr(name, ':');
  return colon ? colon + 1 : name;
}

bool IsNamed(const pugi::xml_node& node, const char* local) {
  return node.type() == pugi::node_element && std::strcmp(LocalName(node), local) == 0;
}

pugi::xml_node ChildNamed(const pugi::xml_node& node, const char* local) {
  for (pugi::xml_node child : node.children()) {
    if (IsNamed(child, local)) return child;
  }
  return {};
}

pugi::xml_attribute AttributeNamed(const pugi::xml_node& node, const char* local, bool prefixed) {
  for (pugi::xml_attribute a : node.attributes()) {
    const char* name = a.name();
    const char* colon = std::strrchr(name, ':');
    if (prefixed != (colon != nullptr)) continue;
    if (std::strcmp(colon ? colon + 1 : name, local) == 0) return a;
  }
  return {};
}

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

void AppendXstring(QByteArray& out, const char* text) {
  const char* p = text;
  for (;;) {
    const char* mark = std::strstr(p, "_x");
    if (!mark) break;
    int code = 0;
    bool escape = true;
    for (int k = 2; k < 6 && escape; ++k) {
      const int h = HexValue(mark[k]);
      escape = h >= 0;
      code = code * 16 + h;
    }
    if (escape && mark[6] == '_') {
      out.append(p, mark - p);
      out.append(QString(QChar(static_cast<char16_t>(code))).toUtf8());
      p = mark + 7;
    } else {
      out.append(p, mark - p + 2);
      p = mark + 2;
    }
  }
  out.append(p);
}

QByteArray StringItemText(const pugi::xml_node& item) {
  QByteArray text;
  for (pugi::xml_node child : item.children()) {
    if (IsNamed(child, "t")) {
      AppendXstring(text, child.text().get());
    } else if (IsNamed(child, "r")) {
      pugi::xml_node t = ChildNamed(child, "t");
      if (t) AppendXstring(text, t.text().get());
    }
  }
  return text;
}

namespace {

bool LoadPart(ZipArchive& zip, const QString& part, pugi::xml_document* doc, QString* reason) {
  QByteArray bytes;
  if (!zip.Read(part, &bytes, reason)) return false;
  pugi::xml_parse_result r = doc->load_buffer(bytes.constData(), bytes.size(), kXmlParseFlags);
  if (!r) {
    *reason = QStringLiteral("「") + part + QStringLiteral("」を読めません: ") +
              QString::fromUtf8(r.description());
    return false;
  }
  return true;
}

bool EndsWith(const QString& type, const char* tail) {
  return type.endsWith(QLatin1StringView(tail));
}

}  // namespace

bool ReadRelationships(ZipArchive& zip, const QString& part, std::vector<Relationship>* out,
                       QString* reason) {
  out->clear();
  const QString rels = RelationshipsPartOf(part);
  if (!zip.Has(rels)) return true;
  pugi::xml_document doc;
  if (!LoadPart(zip, rels, &doc, reason)) return false;
  for (pugi::xml_node r : doc.document_element().children()) {
    if (!IsNamed(r, "Relationship")) continue;
    Relationship rel;
    rel.id = QString::fromUtf8(r.attribute("Id").value());
    rel.type = QString::fromUtf8(r.attribute("Type").value());
    if (QLatin1StringView(r.attribute("TargetMode").value()) != QLatin1StringView("External"))
      rel.target = ResolvePartTarget(part, QString::fromUtf8(r.attribute("Target").value()));
    out->push_back(rel);
  }
  return true;
}

bool ReadXlsxLayout(ZipArchive& zip, XlsxLayout* layout, QString* reason) {
  std::vector<Relationship> rels;
  if (!ReadRelationships(zip, QStringLiteral(""), &rels, reason)) return false;
  layout->workbook_part.clear();
  for (const Relationship& r : rels) {
    if (EndsWith(r.type, "/officeDocument") && !r.target.isEmpty()) layout->workbook_part = r.target;
  }
  if (layout->workbook_part.isEmpty() && zip.Has(QStringLiteral("xl/workbook.xml")))
    layout->workbook_part = QStringLiteral("xl/workbook.xml");
  if (layout->workbook_part.isEmpty() || !zip.Has(layout->workbook_part)) {
    *reason = QStringLiteral("Excel のブックではありません。");
    return false;
  }
  if (layout->workbook_part.endsWith(QStringLiteral(".bin"))) {
    *reason = QStringLiteral("バイナリ形式 (.xlsb) のブックは読めません。");
    return false;
  }
  pugi::xml_document doc;
  if (!LoadPart(zip, layout->workbook_part, &doc, reason)) return false;
  if (!ReadRelationships(zip, layout->workbook_part, &rels, reason)) return false;
  std::map<QString, QString> worksheets;
  for (const Relationship& r : rels) {
    if (r.target.isEmpty()) continue;
    if (EndsWith(r.type, "/worksheet")) worksheets[r.id] = r.target;
    if (EndsWith(r.type, "/sharedStrings")) layout->shared_strings_part = r.target;
    if (EndsWith(r.type, "/styles")) layout->styles_part = r.target;
  }
  pugi::xml_node book = doc.document_element();
  pugi::xml_node pr = ChildNamed(book, "workbookPr");
  const QByteArray d1904(pr.attribute("date1904").value());
  layout->date1904 = d1904 == "1" || d1904 == "true";
  layout->sheets.clear();
  for (pugi::xml_node s : ChildNamed(book, "sheets").children()) {
    if (!IsNamed(s, "sheet")) continue;
    const QString id = QString::fromUtf8(AttributeNamed(s, "id", true).value());
    auto it = worksheets.find(id);
    if (it == worksheets.end() || !zip.Has(it->second)) continue;  // chart and other sheets
    layout->sheets.push_back({QString::fromUtf8(s.attribute("name").value()), it->second});
  }
  return true;
}

std::vector<char> ReadStyleKinds(ZipArchive& zip, const QString& styles_part, QString* reason) {
  std::vector<char> kinds;
  if (styles_part.isEmpty() || !zip.Has(styles_part)) return kinds;
  pugi::xml_document doc;
  if (!LoadPart(zip, styles_part, &doc, reason)) return kinds;
  std::map<int, QString> codes;
  pugi::xml_node root = doc.document_element();
  for (pugi::xml_node f : ChildNamed(root, "numFmts").children()) {
    if (IsNamed(f, "numFmt"))
      codes[f.attribute("numFmtId").as_int()] = QString::fromUtf8(f.attribute("formatCode").value());
  }
  for (pugi::xml_node xf : ChildNamed(root, "cellXfs").children()) {
    if (!IsNamed(xf, "xf")) continue;
    const int id = xf.attribute("numFmtId").as_int();
    auto it = codes.find(id);
    const QString code = it == codes.end() ? QString() : it->second;
    char kind = 0;
    if (IsDateFormat(id, code)) kind = IsTimeOnlyFormat(id, code) ? 2 : 1;
    kinds.push_back(kind);
  }
  return kinds;
}

bool SplitCellRef(const char* ref, int* col, int* row) {
  int c = 0, r = 0;
  const char* p = ref;
  while (*p == '$') ++p;
  while (*p >= 'A' && *p <= 'Z') {
    c = c * 26 + (*p - 'A' + 1);
    if (c > 16384) return false;
    ++p;
  }
  while (*p == '$') ++p;
  while (*p >= '0' && *p <= '9') {
    r = r * 10 + (*p - '0');
    if (r > 1048576) return false;
    ++p;
  }
  if (*p != 0) return false;
  *col = c;
  *row = r;
  return true;
}

QByteArray CellRefText(int col, int row) {
  QByteArray letters;
  for (int c = col; c > 0; c = (c - 1) / 26) letters.prepend(static_cast<char>('A' + (c - 1) % 26));
  return letters + QByteArray::number(row);
}

}  // namespace mivora
