#include "ui/AboutBox.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "model/Constants.h"

namespace mivora::ui {

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
  auto* layout = new QVBoxLayout(this);
  auto* name =
      new QLabel(QStringLiteral("<b>Mivora</b> %1").arg(QStringLiteral(MIVORA_VERSION)), this);
  auto* text = new QLabel(
      QStringLiteral("表を読み込み、見出しのクリックで結合し、セルのクリックで条件を作って、"
                     "問い合わせ文を書かずに検索します。"),
      this);
  text->setWordWrap(true);
  auto* legal = new QLabel(
      QStringLiteral("Copyright © 2026 the Mivora developers. All rights reserved."), this);
  auto* web = new QLabel(ProductWebAddress(), this);
  web->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  for (QWidget* w :
       {static_cast<QWidget*>(name), static_cast<QWidget*>(text), static_cast<QWidget*>(legal),
        static_cast<QWidget*>(web), static_cast<QWidget*>(buttons)})
    layout->addWidget(w);
  resize(420, 200);
}

}  // namespace mivora::ui
