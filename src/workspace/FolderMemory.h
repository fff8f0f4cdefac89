#pragma once

#include <QString>

namespace mivora {

// The two folder memories of a file dialog: the start folder (the current folder when the
// dialog is first used) and the last folder (where the chosen file was, where it opens next).
class FolderMemory {
 public:
  // The folder the dialog opens in; remembers the start folder on first use.
  QString DialogFolder();
  // Records the folder of the file the user chose.
  void Remember(const QString& chosen_file);
  const QString& StartFolder() const { return start_folder_; }
  const QString& LastFolder() const { return last_folder_; }

 private:
  QString start_folder_;
  QString last_folder_;
};

}  // namespace mivora
