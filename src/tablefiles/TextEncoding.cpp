#include "tablefiles/TextEncoding.h"

#include <QStringDecoder>
#include <algorithm>
#include <cstdint>
#include <cstring>

namespace mivora {

namespace {

// UTF-16 as Qt decodes it keeps lone surrogates (which UTF-8 cannot hold) and ends an odd
// last byte in U+FFFD: the surrogates become U+FFFD too.
QString DecodeUtf16(QByteArrayView bytes, bool little_endian, qsizetype* first_replaced) {
  QStringDecoder decoder(little_endian ? QStringDecoder::Utf16LE : QStringDecoder::Utf16BE,
                         QStringDecoder::Flag::Stateless);
  QString text = decoder.decode(bytes);
  qsizetype first = -1;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar ch = text[i];
    if (ch.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      ++i;
      continue;
    }
    if (ch.isSurrogate()) {
      text[i] = QChar(QChar::ReplacementCharacter);
      if (first < 0) first = i;
    }
  }
  if (bytes.size() % 2 != 0 && first < 0) first = text.size() - 1;
  if (first >= 0) *first_replaced = QStringView(text).left(first).toUtf8().size();
  return text;
}

// CP932 as ICU decodes it: bytes it cannot read become U+001A and the error flag is raised;
// they are made U+FFFD, as every other reader shows an unreadable character.
QString DecodeCp932(QStringDecoder& decoder, QByteArrayView bytes, qsizetype* first_replaced) {
  QString text = decoder.decode(bytes);
  if (!decoder.hasError() && !text.contains(QChar(QChar::ReplacementCharacter))) return text;
  qsizetype first = -1;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == QChar(0x1A)) text[i] = QChar(QChar::ReplacementCharacter);
    if (text[i] == QChar(QChar::ReplacementCharacter) && first < 0) first = i;
  }
  if (first >= 0) *first_replaced = QStringView(text).left(first).toUtf8().size();
  return text;
}

}  // namespace

namespace {

// IsValidUtf8 over slices of the text, each cut before a character's first byte.
bool IsValidUtf8InSlices(QByteArrayView bytes, qsizetype offset,
                         const std::function<void(qsizetype)>& checked) {
  constexpr qsizetype kSlice = qsizetype{1} << 26;
  qsizetype at = 0;
  while (at < bytes.size()) {
    qsizetype end = std::min(bytes.size(), at + kSlice);
    while (end < bytes.size() && end > at && (static_cast<unsigned char>(bytes[end]) & 0xC0) == 0x80)
      --end;
    if (!IsValidUtf8(bytes.sliced(at, end - at))) return false;
    at = end;
    if (checked) checked(offset + at);
  }
  return true;
}

}  // namespace

QByteArrayView TableTextAsUtf8(QByteArrayView bytes, QByteArray* converted,
                               qsizetype* first_replaced,
                               const std::function<void(qsizetype checked)>& checked) {
  qsizetype ignored = -1;
  if (!first_replaced) first_replaced = &ignored;
  *first_replaced = -1;
  static constexpr char kBom[] = "\xEF\xBB\xBF";
  qsizetype bom = 0;
  if (bytes.size() >= 3 && std::memcmp(bytes.data(), kBom, 3) == 0) {
    bytes = bytes.sliced(3);
    bom = 3;
  }
  if (bytes.size() >= 2) {
    const auto b0 = static_cast<unsigned char>(bytes[0]);
    const auto b1 = static_cast<unsigned char>(bytes[1]);
    if ((b0 == 0xFF && b1 == 0xFE) || (b0 == 0xFE && b1 == 0xFF)) {
      *converted = DecodeUtf16(bytes.sliced(2), b0 == 0xFF, first_replaced).toUtf8();
      return *converted;
    }
  }
  if (IsValidUtf8InSlices(bytes, bom, checked)) return bytes;
  QStringDecoder decoder("Shift_JIS");
  if (!decoder.isValid()) {
    // Without a CP932 decoder, read the bytes as Latin-1 rather than lose them.
    *converted = QString::fromLatin1(bytes).toUtf8();
    return *converted;
  }
  *converted = DecodeCp932(decoder, bytes, first_replaced).toUtf8();
  return *converted;
}

QString UndecodableTextMessage(const QString& path, int row) {
  return QStringLiteral("表ファイル「") + path +
         QStringLiteral("」には UTF-8 としても CP932 としても読めない文字があり、"
                        "「\uFFFD」に置き換えました（最初は ") +
         QString::number(row) + QStringLiteral(" 行目）。");
}

}  // namespace mivora
