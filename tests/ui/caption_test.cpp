// The window's words as the user reads them: captions that wrap inside their
// labels, and Qt's own buttons in Chinese.
#include "fakes.h"
#include "ui/captionlabel.h"
#include "ui/form1.h"
#include "ui/translations.h"

#include <QFontMetricsF>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

class CaptionTest : public ::testing::Test {
protected:
    test::FakeBoxes boxes;
    ui::Form1 form{calc::NumberFormat{}, boxes};
};

TEST_F(CaptionTest, CaptionsBreakAtTheirBlankAndStandWholeInTheLabel) {
    struct Case {
        const char* caption;
        QSize size;
        QStringList lines;
    };
    const Case cases[] = {
        // Label26: at the blank, never between 高 and 工.
        {"南坞技师学院 高工11-5", {89, 25}, {"南坞技师学院", "高工11-5"}},
        // Captions that fit stay on one line, blanks and all.
        {"混凝土强度等级(Fcu,k)：", {145, 17}, {"混凝土强度等级(Fcu,k)："}},
        {"A B", {60, 17}, {"A B"}},
        // A word wider than the label breaks within itself, and only there.
        {"南坞技师学院南坞技师学院", {89, 28}, {"南坞技师", "学院南坞技师学院"}},
        {"高工 南坞技师学院南坞", {89, 40}, {"高工", "南坞技师学院南", "坞"}},
    };
    const QFont font = test::control<QLabel>(form, "Label26")->font();
    const QFontMetricsF metrics(font);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        const QList<ui::CaptionLine> laid =
            ui::layoutCaption(QString::fromUtf8(c.caption), font, QSizeF(c.size));
        QStringList lines;
        for (const ui::CaptionLine& line : laid) {
            lines.append(line.text);
        }
        // Where a long word breaks depends on the face's widths: check that
        // each line is as full as the width allows instead of the exact split.
        if (QString::fromUtf8(c.caption).contains(u' ') || lines.size() == 1) {
            EXPECT_EQ(lines, c.lines);
        } else {
            EXPECT_EQ(lines.join(QString()), QString::fromUtf8(c.caption).remove(u' '));
        }
        qreal previousBottom = 0;
        for (qsizetype i = 0; i < laid.size(); ++i) {
            const QRectF ink =
                metrics.tightBoundingRect(laid[i].text).translated(0, laid[i].baseline);
            EXPECT_LE(ink.right(), c.size.width()) << i;
            if (i + 1 < laid.size() && !QString::fromUtf8(c.caption).contains(u' ')) {
                // Nothing more of the next line would have fitted.
                const QString more = laid[i].text + laid[i + 1].text.front();
                EXPECT_GT(metrics.horizontalAdvance(more), c.size.width()) << i;
            }
            if (laid.size() > 1 || ink.height() <= c.size.height()) {
                EXPECT_GE(ink.top(), 0) << i;
                EXPECT_LE(ink.bottom(), c.size.height()) << i;
                EXPECT_GE(ink.top(), previousBottom) << i;
            }
            previousBottom = ink.bottom();
        }
    }
}

// Rows of the picture that carry ink of the label's text.
std::vector<bool> inkRows(const QImage& image) {
    std::vector<bool> rows(std::size_t(image.height()), false);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(image.pixel(x, y)) > 64) {
                rows[std::size_t(y)] = true;
                break;
            }
        }
    }
    return rows;
}

TEST_F(CaptionTest, SchoolLineIsFullyLegibleAtEveryScale) {
    auto* label = test::control<QLabel>(form, "Label26");
    form.show();
    ASSERT_EQ(label->size(), QSize(89, 25));
    for (const qreal scale : {1.0, 1.5, 2.0}) {
        SCOPED_TRACE(scale);
        QImage image(label->size() * scale, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(scale);
        image.fill(Qt::transparent);
        label->render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        // Two bands of ink with a clear row between them, and clear rows
        // above and below: no line is cut off at the label's edge.
        const std::vector<bool> rows = inkRows(image);
        int bands = 0;
        for (std::size_t y = 0; y < rows.size(); ++y) {
            if (rows[y] && (y == 0 || !rows[y - 1])) {
                ++bands;
            }
        }
        EXPECT_EQ(bands, 2);
        EXPECT_FALSE(rows.front());
        EXPECT_FALSE(rows.back());
        // The ink is the label's dark blue.
        bool blue = false;
        for (int y = 0; y < image.height() && !blue; ++y) {
            for (int x = 0; x < image.width() && !blue; ++x) {
                const QColor c = image.pixelColor(x, y);
                blue = c.alpha() == 255 && c == QColor(0, 0, 192);
            }
        }
        EXPECT_TRUE(blue);
    }
}

TEST(TranslationsTest, QtsStandardButtonsReadChinese) {
    const std::unique_ptr<QTranslator> chinese = ui::qtChineseTranslations();
    ASSERT_NE(chinese, nullptr) << "qt6-translations-l10n is not installed";
    QCoreApplication::installTranslator(chinese.get());
    {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("普通澜石"), QStringLiteral("澜石"),
                        QMessageBox::Ok | QMessageBox::Cancel);
        EXPECT_EQ(box.button(QMessageBox::Ok)->text(), QStringLiteral("确定"));
        EXPECT_EQ(box.button(QMessageBox::Cancel)->text(), QStringLiteral("取消"));
        // The box's own text is the program's, untouched.
        EXPECT_EQ(box.text(), QStringLiteral("澜石"));
    }
    QCoreApplication::removeTranslator(chinese.get());
    QMessageBox english(QMessageBox::NoIcon, QString(), QString(), QMessageBox::Ok);
    EXPECT_EQ(english.button(QMessageBox::Ok)->text(), QStringLiteral("OK"));
}

} // namespace
