// A label that wraps its caption the way the classic window does: at a blank
// first, and only within a word when a single word is wider than the label,
// with the lines drawn close enough to stand whole inside the label's fixed
// rectangle.
//
// Qt breaks Chinese text between any two characters, so "南坞技师学院 高工11-5"
// would break between 高 and 工; and its line spacing at the window's 12-pixel
// face puts the second line of a 25-pixel label half outside. A caption that
// fits on one line is drawn by QLabel itself, unchanged.
#pragma once

#include <QFont>
#include <QLabel>
#include <QList>
#include <QSizeF>
#include <QString>

namespace ui {

struct CaptionLine {
    QString text;
    qreal baseline; // from the top of the label
};

// The lines of `caption` in a label of `size` drawn in `font`: broken at
// blanks (the blank itself is dropped), each line as wide as fits. The lines
// keep the font's own spacing where the height allows; otherwise they move
// closer, down to the height of their ink, so that every glyph stays inside.
QList<CaptionLine> layoutCaption(const QString& caption, const QFont& font, QSizeF size);

class CaptionLabel : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace ui
