#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace mivora {

// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(QByteArrayView bytes);

// Table files are UTF-8 (a leading BOM is dropped); a file that is not valid UTF-8 is taken
// as CP932 (Shift_JIS), as files from Japanese Windows come. Gives UTF-8 either way: the
// view points into `bytes` when no conversion was needed, otherwise into `converted`.
QByteArrayView TableTextAsUtf8(QByteArrayView bytes, QByteArray* converted);

}  // namespace mivora
