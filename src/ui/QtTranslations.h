#pragma once

class QCoreApplication;

namespace mivora::ui {

// Makes Qt's own dialogs and buttons speak Japanese like the program, whatever the locale:
// installs Qt's qtbase_ja translations when they are present (Debian qt6-translations-l10n);
// without them Qt stays English, silently. True when installed.
bool InstallQtJapanese(QCoreApplication& app);

}  // namespace mivora::ui
