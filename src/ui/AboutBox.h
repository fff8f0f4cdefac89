#pragma once

#include <QDialog>

namespace mivora::ui {

// The About window "ﾊﾞｰｼﾞｮﾝ情報": product name, version, what it does, the legal notice and
// the product's web address; OK closes it.
class AboutBox : public QDialog {
 public:
  explicit AboutBox(QWidget* parent);
};

}  // namespace mivora::ui
