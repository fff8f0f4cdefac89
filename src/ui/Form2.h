#pragma once

#include <QDialog>

namespace mivora::ui {

// The small modal window "Form2" that shows a table file's path (`lblFile`) and the text of
// the line that could not be read (`txtFile`), closed with `Command1` "閉じる".
class Form2 : public QDialog {
 public:
  Form2(const QString& path, const QString& line, QWidget* parent);
};

}  // namespace mivora::ui
