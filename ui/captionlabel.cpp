#include "ui/captionlabel.h"

#include <algorithm>
#include <cmath>

#include <QFontMetricsF>
#include <QPainter>
#include <QStringList>

namespace ui {

namespace {

// Greedy breaking: whole words while they fit, a word wider than the label
// character by character.
QStringList breakLines(const QString& caption, const QFontMetricsF& metrics, qreal width) {
    QStringList lines;
    QString line;
    const auto fits = [&](const QString& text) { return metrics.horizontalAdvance(text) <= width; };
    for (const QString& word : caption.split(u' ', Qt::SkipEmptyParts)) {
        const QString joined = line.isEmpty() ? word : line + u' ' + word;
        if (fits(joined)) {
            line = joined;
            continue;
        }
        if (!line.isEmpty()) {
            lines.append(line);
            line.clear();
        }
        for (const QChar c : word) {
            if (!line.isEmpty() && !fits(line + c)) {
                lines.append(line);
                line.clear();
            }
            line += c;
        }
    }
    if (!line.isEmpty()) {
        lines.append(line);
    }
    return lines;
}

} // namespace

QList<CaptionLine> layoutCaption(const QString& caption, const QFont& font, QSizeF size) {
    const QFontMetricsF metrics(font);
    const QStringList lines = breakLines(caption, metrics, size.width());
    QList<CaptionLine> laid;
    if (lines.isEmpty()) {
        return laid;
    }
    const qsizetype n = lines.size();

    // The font's own spacing, as QLabel would draw it, where it fits.
    if (metrics.ascent() + qreal(n - 1) * metrics.lineSpacing() + metrics.descent() <=
        size.height()) {
        for (qsizetype i = 0; i < n; ++i) {
            laid.append({lines[i], metrics.ascent() + qreal(i) * metrics.lineSpacing()});
        }
        return laid;
    }

    // Too tall: stack the lines by their ink. The ink of Chinese glyphs
    // stands well inside the font's ascent and descent, which leave room for
    // accents the caption does not have; two lines of 12-pixel text need 24
    // of the 25 pixels of the school line's label.
    QList<qreal> above; // ink above the baseline, per line
    QList<qreal> below; // and below it
    qreal ink = 0;
    for (const QString& line : lines) {
        const QRectF r = metrics.tightBoundingRect(line);
        above.append(-r.top());
        below.append(r.bottom());
        ink += r.height();
    }
    // Whole pixels between the lines and below the last, as many as the
    // height spares, but never more than the font's own spacing would leave.
    // The ink measured here is rounded out to whole pixels, so lines set
    // with no spare pixel still show a clear row between them.
    const qreal slack = std::max<qreal>(0, size.height() - ink);
    const qreal natural = metrics.lineSpacing() - (above.front() + below.front());
    const qreal gap =
        std::clamp<qreal>(std::floor(slack / qreal(n)), 0, std::max<qreal>(natural, 0));
    qreal baseline = std::floor((slack - gap * qreal(n - 1)) / 2) + above.front();
    for (qsizetype i = 0; i < n; ++i) {
        if (i > 0) {
            baseline += below[i - 1] + gap + above[i];
        }
        laid.append({lines[i], baseline});
    }
    return laid;
}

void CaptionLabel::paintEvent(QPaintEvent* event) {
    const QRect area = contentsRect();
    const QString caption = text();
    if (!wordWrap() || QFontMetricsF(font()).horizontalAdvance(caption) <= area.width()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(palette().color(foregroundRole()));
    painter.setClipRect(area);
    for (const CaptionLine& line : layoutCaption(caption, font(), area.size())) {
        painter.drawText(QPointF(area.left(), area.top() + line.baseline), line.text);
    }
}

} // namespace ui
