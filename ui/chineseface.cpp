#include "ui/chineseface.h"

#include <algorithm>

#include <QFontDatabase>

namespace ui {

QStringList chineseFaces() {
    return {QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC")};
}

QString installedChineseFace() {
    // The installed families, not hasFamily(), which first asks fontconfig
    // what the name might be an alias of. A family that more than one
    // foundry makes is listed as "Family [Foundry]".
    const QStringList installed = QFontDatabase::families();
    for (const QString& family : chineseFaces()) {
        const QString ofAFoundry = family + QStringLiteral(" [");
        if (std::any_of(installed.begin(), installed.end(), [&](const QString& name) {
                return name == family || name.startsWith(ofAFoundry);
            })) {
            return family;
        }
    }
    return {};
}

} // namespace ui
