#pragma once

#include <QByteArrayView>

namespace mivora {

// True when every byte is below 0x80.
inline bool IsAscii(QByteArrayView bytes) {
  for (char c : bytes)
    if ((c & 0x80) != 0) return false;
  return true;
}

// True when the bytes are well-formed UTF-8.
bool IsValidUtf8(QByteArrayView bytes);

}  // namespace mivora
