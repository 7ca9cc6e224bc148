// The one conversion from the calculation's UTF-8 texts to Qt's strings.
#pragma once

#include <string_view>

#include <QString>

namespace ui {

inline QString qt(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

} // namespace ui
