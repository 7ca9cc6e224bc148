#include "ui/guidecommand.h"

#include "ui/commandaction.h"
#include "ui/identity.h"

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QPushButton>
#include <QWidget>

namespace ui {
namespace {

// Both relative to the folder of the program, as the build sets them: the
// install's bindir to its docdir, and build/ to build/docs/.
const QString kInstalled = QStringLiteral(LANSHI_GUIDE_FROM_BINDIR);
const QString kBuildTree = QStringLiteral(LANSHI_GUIDE_FROM_BUILD);

QString under(const QString& dir, const QString& relative) {
    return QDir::cleanPath(QDir(dir).absoluteFilePath(relative));
}

} // namespace

QString findGuide(const QString& programDir) {
    for (const QString& relative : {kInstalled, kBuildTree}) {
        const QFileInfo guide(under(programDir, relative));
        if (guide.isFile() && guide.isReadable()) {
            return guide.absoluteFilePath();
        }
    }
    return {};
}

QString installedGuide(const QString& programDir) {
    return under(programDir, kInstalled);
}

GuideCommand::GuideCommand(QWidget& window, MessageBoxes& boxes, QString programDir, Opener open)
    : QObject(&window), m_window(window), m_boxes(boxes),
      m_programDir(programDir.isEmpty() ? QCoreApplication::applicationDirPath()
                                        : std::move(programDir)),
      m_open(open ? std::move(open)
                  : Opener([](const QUrl& url) { return QDesktopServices::openUrl(url); })) {
    // Set apart from the commands on the design above it.
    auto* separator = new QAction(&window);
    separator->setSeparator(true);
    window.addAction(separator);

    // The same command in every window: the classic table names it.
    m_action = commandAction(&window, session::DocumentKind::classic, "openGuide");
    connect(m_action, &QAction::triggered, this, &GuideCommand::openGuide);
    window.addAction(m_action);
    // The classic 帮助 box says only the product's name: its tooltip says
    // where the rest is.
    if (auto* help = window.findChild<QPushButton*>(QStringLiteral("Command2"))) {
        help->setToolTip(QStringLiteral("使用说明：按 F1。\n"
                                        "打开、保存设计，打印、导出或复制计算书："
                                        "在窗口空白处单击右键。"));
    }
    // The classic layout has no room for a menu bar: the window's actions
    // are its context menu (a right click outside the fields).
    window.setContextMenuPolicy(Qt::ActionsContextMenu);
}

void GuideCommand::openGuide() {
    const QString guide = findGuide(m_programDir);
    if (guide.isEmpty()) {
        m_boxes.show(&m_window, {QMessageBox::Warning, kApplicationName,
                                 QStringLiteral("找不到使用说明。它应当安装在：\n%1")
                                     .arg(QDir::toNativeSeparators(installedGuide(m_programDir)))});
        return;
    }
    if (!m_open(QUrl::fromLocalFile(guide))) {
        m_boxes.show(&m_window, {QMessageBox::Warning, kApplicationName,
                                 QStringLiteral("无法启动网页浏览器打开使用说明。\n"
                                                "请用浏览器打开这个文件：\n%1")
                                     .arg(QDir::toNativeSeparators(guide))});
    }
}

} // namespace ui
