#include "ui/SheetSelect.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace mivora::ui {

SheetSelect::SheetSelect(const QStringList& names, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("SHeetSelect"));
  setWindowTitle(QStringLiteral("　　　ワークシートの選択"));
  list_ = new QListWidget(this);
  list_->addItems(names);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  command1_ = new QPushButton(QStringLiteral("選択終了"), this);
  command2_ = new QPushButton(QStringLiteral("キャンセル"), this);
  command1_->setObjectName(QStringLiteral("Command1"));
  command2_->setObjectName(QStringLiteral("Command2"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(command1_);
  buttons->addWidget(command2_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_);
  layout->addLayout(buttons);
  connect(command1_, &QPushButton::clicked, this, &QDialog::accept);
  connect(command2_, &QPushButton::clicked, this, &QDialog::reject);
  connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
}

int SheetSelect::SelectedIndex() const {
  const QList<QListWidgetItem*> selected = list_->selectedItems();
  return selected.isEmpty() ? -1 : list_->row(selected.front());
}

}  // namespace mivora::ui
