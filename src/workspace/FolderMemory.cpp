#include "workspace/FolderMemory.h"

#include <QDir>
#include <QFileInfo>

namespace mivora {

QString FolderMemory::DialogFolder() {
  if (start_folder_.isEmpty()) start_folder_ = QDir::currentPath();
  if (!last_folder_.isEmpty() && QFileInfo(last_folder_).isDir()) return last_folder_;
  return start_folder_;
}

void FolderMemory::Remember(const QString& chosen_file) {
  if (chosen_file.isEmpty()) return;
  last_folder_ = QFileInfo(chosen_file).absolutePath();
}

}  // namespace mivora
