#pragma once

#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <QtTest>

namespace mivora::testing {

// Chooses an entry of the popup menu that the next event opens, as the user's click would.
inline void ChooseFromNextPopup(const QString& text) {
  QTimer::singleShot(0, [text] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    for (QAction* a : menu->actions()) {
      if (a->text() == text) {
        a->trigger();
        menu->close();
        return;
      }
    }
    QFAIL("menu entry not found");
  });
}

// Saves what the user sees when MIVORA_SCREENSHOTS names a folder.
inline void Screenshot(QWidget* w, const QString& name) {
  const QString dir = qEnvironmentVariable("MIVORA_SCREENSHOTS");
  if (!dir.isEmpty()) w->grab().save(dir + u'/' + name + QStringLiteral(".png"));
}

}  // namespace mivora::testing
