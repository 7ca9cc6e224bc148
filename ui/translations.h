// Qt's own texts in Simplified Chinese: the window is Chinese whatever the
// system language, so the standard buttons of its boxes read 确定 and 取消,
// and Qt's file and print dialogs speak Chinese too.
#pragma once

#include <memory>

#include <QTranslator>

namespace ui {

// Qt's Simplified Chinese translations (Debian's qt6-translations-l10n),
// loaded from Qt's translations folder, for QCoreApplication::installTranslator.
// Null when they are not installed: Qt then keeps its English texts.
std::unique_ptr<QTranslator> qtChineseTranslations();

} // namespace ui
