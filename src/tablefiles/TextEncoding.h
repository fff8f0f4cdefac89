#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>

#include "model/Utf8.h"

namespace mivora {

// Table files are UTF-8 (a leading BOM is dropped); a file that starts with a UTF-16
// byte-order mark (FF FE little-endian, FE FF big-endian) is UTF-16; a file that is neither
// is taken as CP932 (Shift_JIS), as files from Japanese Windows come. Gives UTF-8 either way:
// the view points into `bytes` when no conversion was needed, otherwise into `converted`.
// Bytes the chosen encoding cannot read become U+FFFD; `first_replaced`, when given, gets the
// byte offset in the returned text of the first such replacement, or -1 when none was made.
// The UTF-8 check runs in slices, telling `checked` (when given) how many bytes it has passed,
// so the caller can give back the pages behind it.
QByteArrayView TableTextAsUtf8(QByteArrayView bytes, QByteArray* converted,
                               qsizetype* first_replaced = nullptr,
                               const std::function<void(qsizetype checked)>& checked = {});

// The note shown once when a table file's text held bytes that no encoding could read: the
// file and the first grid row (counted as the grid counts, 0 the header row) with a
// replaced character.
QString UndecodableTextMessage(const QString& path, int row);

}  // namespace mivora
