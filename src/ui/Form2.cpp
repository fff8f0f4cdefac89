#include "ui/Form2.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace mivora::ui {

Form2::Form2(const QString& path, const QString& line, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Form2"));
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  auto* lbl_file = new QLabel(path, this);
  lbl_file->setObjectName(QStringLiteral("lblFile"));
  lbl_file->setTextFormat(Qt::PlainText);  // a file name is never markup
  lbl_file->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* txt_file = new QPlainTextEdit(line, this);
  txt_file->setObjectName(QStringLiteral("txtFile"));
  auto* command1 = new QPushButton(QStringLiteral("閉じる"), this);
  command1->setObjectName(QStringLiteral("Command1"));
  command1->setDefault(true);
  connect(command1, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(lbl_file);
  layout->addWidget(txt_file);
  layout->addWidget(command1, 0, Qt::AlignRight);
  resize(520, 220);
}

}  // namespace mivora::ui
