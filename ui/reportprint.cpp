#include "ui/reportprint.h"

#include "ui/chineseface.h"
#include "ui/identity.h"
#include "ui/systemreason.h"

#include <algorithm>

#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>
#include <QTextTable>

namespace ui {

namespace {

QFont reportFont(qreal points) {
    QFont font;
    font.setFamilies(chineseFaces() << QStringLiteral("Sans Serif"));
    font.setPointSizeF(points);
    return font;
}

} // namespace

namespace {

bool isHeading(const QTextBlock& block) {
    const int level = block.blockFormat().headingLevel();
    return level == 2 || level == 3;
}

// Where what a heading heads begins: the first block after it that is no
// heading itself; in a table, the first cell of its first row below the
// header (the header row alone at a page's foot says nothing either).
QTextBlock contentAfter(const QTextBlock& heading) {
    QTextBlock next = heading.next();
    while (next.isValid() && isHeading(next)) {
        next = next.next();
    }
    if (!next.isValid()) {
        return next;
    }
    if (QTextTable* table = QTextCursor(next).currentTable()) {
        const int row = std::min(table->format().headerRowCount(), table->rows() - 1);
        return table->cellAt(row, 0).firstCursorPosition().block();
    }
    return next;
}

} // namespace

void keepHeadingsWithNext(QTextDocument& document) {
    const qreal height = document.pageSize().height();
    if (!(height > 0)) {
        return;
    }
    auto pageOf = [height](qreal y) { return static_cast<int>(y / height); };
    // One heading at a time, from the top, the whole document laid out
    // again after each: a heading moved moves every line after it.
    for (bool moved = true; moved;) {
        moved = false;
        QAbstractTextDocumentLayout* layout = document.documentLayout();
        layout->documentSize();
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            if (!isHeading(block) ||
                block.blockFormat().pageBreakPolicy() != QTextFormat::PageBreak_Auto) {
                continue;
            }
            const QTextBlock next = contentAfter(block);
            if (!next.isValid()) {
                continue;
            }
            const QRectF heading = layout->blockBoundingRect(block);
            const QRectF after = layout->blockBoundingRect(next);
            const qreal firstLine = after.top() + (next.layout() && next.layout()->lineCount() > 0
                                                       ? next.layout()->lineAt(0).rect().bottom()
                                                       : after.height());
            if (pageOf(heading.top()) != pageOf(firstLine - 0.01)) {
                QTextBlockFormat format;
                format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
                QTextCursor(block).mergeBlockFormat(format);
                document.markContentsDirty(0, document.characterCount());
                moved = true;
                break;
            }
        }
    }
}

void setReportPage(QPagedPaintDevice& device) {
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(20, 18, 20, 18), QPageLayout::Millimeter));
}

void paintReport(const QString& html, QPagedPaintDevice& device) {
    const int dpi = device.logicalDpiY();
    // The painter's origin is the top left of the printable area.
    const QRect body = device.pageLayout().paintRectPixels(dpi);
    const qreal footer = dpi * 8.0 / 25.4; // 8 mm for the page number
    const QSizeF page(body.width(), body.height() - footer);

    QTextDocument document;
    // Laid out at the device's own resolution, so that a point is a point on
    // paper and the line breaks are the ones printed.
    document.documentLayout()->setPaintDevice(&device);
    document.setDefaultFont(reportFont(10.5));
    document.setHtml(html);
    // What Qt's rich text takes from the HTML only in pixels, set in points:
    // the indent of the working (which the layout scales from 96 dots per
    // inch to the device's) and the room inside each table cell (which it
    // takes in the device's own pixels).
    document.setIndentWidth(18 * 96.0 / 72.0);
    const qreal point = dpi / 72.0;
    for (QTextFrame* frame : document.rootFrame()->childFrames()) {
        if (auto* table = qobject_cast<QTextTable*>(frame)) {
            QTextTableFormat format = table->format();
            format.setCellPadding(2.5 * point);
            format.setBorder(0.6 * point);
            format.setBorderCollapse(true);
            // The header row (<thead>) again at the top of each page the
            // table crosses.
            format.setHeaderRowCount(std::min(1, table->rows()));
            table->setFormat(format);
        }
    }
    document.setPageSize(page);
    keepHeadingsWithNext(document);
    const int pages = document.pageCount();

    QPainter painter(&device);
    for (int n = 0; n < pages; ++n) {
        if (n > 0) {
            device.newPage();
        }
        painter.save();
        painter.translate(0, -n * page.height());
        document.drawContents(&painter, QRectF(0, n * page.height(), page.width(), page.height()));
        painter.restore();
        painter.setFont(reportFont(9));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(0, page.height(), page.width(), footer),
                         Qt::AlignHCenter | Qt::AlignBottom,
                         QStringLiteral("第 %1 页 共 %2 页").arg(n + 1).arg(pages));
    }
}

// NOLINTNEXTLINE(bugprone-easily-swappable-parameters): the names say which is which
QString writeReportPdf(const QString& html, const QString& path) {
    // Written aside and put in place at the end: a failure leaves any file
    // of that name as it was.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return systemReason(file);
    }
    {
        QPdfWriter writer(&file);
        writer.setResolution(300);
        writer.setTitle(QStringLiteral("普通混凝土配合比设计计算书"));
        writer.setCreator(kApplicationName + u' ' + kApplicationVersion);
        setReportPage(writer);
        paintReport(html, writer);
    }
    if (!file.commit()) {
        return systemReason(file);
    }
    return {};
}

} // namespace ui
