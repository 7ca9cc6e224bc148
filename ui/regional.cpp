#include "ui/regional.h"

#include <QLocale>
#include <QString>

namespace ui {

namespace {

// Qt names the grouping symbol but not the group size; the digits after the
// last grouping symbol of a long whole number written by the locale are the
// lowest group, the only one the calculation writes in most figures.
int lowestGroupSize(const QLocale& locale) {
    QLocale grouping = locale;
    grouping.setNumberOptions(QLocale::DefaultNumberOptions);
    const QString written = grouping.toString(1234567890LL);
    const QString group = locale.groupSeparator();
    const qsizetype last = group.isEmpty() ? -1 : written.lastIndexOf(group);
    if (last < 0) {
        return 0;
    }
    return int(written.size() - last - group.size());
}

} // namespace

calc::NumberFormat numberFormatOf(const QLocale& locale) {
    if (locale.language() == QLocale::C) {
        return {};
    }
    calc::NumberFormat format;
    format.decimal = locale.decimalPoint().toStdString();
    format.group = locale.groupSeparator().toStdString();
    format.groupSize = lowestGroupSize(locale);
    format.negative = locale.negativeSign().toStdString();
    return format;
}

} // namespace ui
