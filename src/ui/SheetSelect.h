#pragma once

#include <QDialog>
#include <QListWidget>
#include <QPushButton>

namespace mivora::ui {

// The worksheet choice dialog: a list of names, "選択終了" (done) and "キャンセル".
class SheetSelect : public QDialog {
  Q_OBJECT

 public:
  explicit SheetSelect(const QStringList& names, QWidget* parent = nullptr);

  // Index of the selected name after "選択終了", -1 when none is selected.
  int SelectedIndex() const;
  QListWidget* List() const { return list_; }
  QPushButton* DoneButton() const { return command1_; }
  QPushButton* CancelButton() const { return command2_; }

 private:
  QListWidget* list_;
  QPushButton* command1_;
  QPushButton* command2_;
};

}  // namespace mivora::ui
