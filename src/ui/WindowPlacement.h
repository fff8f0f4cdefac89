#pragma once

#include <QPoint>

class QWidget;

namespace mivora::ui {

// Puts a top-level window's frame at `at` (screen pixels), also under a window manager that
// places new windows itself: the place is asked for before the window is shown (so the
// platform passes it on as the program's own) and asked for again once the window manager has
// framed and shown the window, if it put it elsewhere. A window already shown is only
// corrected once its frame is known.
void PlaceFrameAt(QWidget* window, QPoint at);

}  // namespace mivora::ui
