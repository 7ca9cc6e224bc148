#include "ui/translations.h"

#include <QLibraryInfo>

namespace ui {

std::unique_ptr<QTranslator> qtChineseTranslations() {
    auto translator = std::make_unique<QTranslator>();
    // qtbase holds the texts of every Qt Widgets box and dialog the window
    // uses, print dialogs included. Only the texts change: the regional
    // number format still follows the system.
    if (!translator->load(QStringLiteral("qtbase_zh_CN"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return nullptr;
    }
    return translator;
}

} // namespace ui
