#pragma once

#include <QString>
#include <vector>

namespace mivora {

// One entry of the "例題" menu: a command resuming a sample state file, or a submenu of them.
struct SampleEntry {
  QString name;     // the menu control's name
  QString caption;  // what the menu shows
  QString path;     // the sample state file (relative, "\" separators); empty for a submenu
  std::vector<SampleEntry> children;
};

// The "例題" menu's entries in their order (separators stand between neighbours).
const std::vector<SampleEntry>& SampleMenuEntries();

}  // namespace mivora
