#pragma once

#include <QString>

namespace mivora {

// The product's name, maker and web address, defined once for the window captions, the About
// boxes and the cursor control library (which includes this header alone).
inline QString ProductName() { return QStringLiteral("Mivora"); }
inline QString ProductMaker() { return QStringLiteral("the Mivora developers"); }
// The address that follows every window caption.
inline QString ProductWebAddress() { return QStringLiteral("https://mivora.app"); }

}  // namespace mivora
