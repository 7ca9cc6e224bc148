// The one window of the program: the whole design sheet, laid out control for
// control (ui/layout.h), and its five commands. What each command does is
// the session's (session/classicwindow.h); the window shows its boxes, moves
// the focus, ends the program and starts the browser as it says.
//
//     ui::ModalMessageBoxes boxes;
//     ui::Form1 form(ui::numberFormatOf(QLocale::system()), boxes);
//     form.show(); // the load resets the sheet before the window appears
//
// Every control carries its name as objectName ("Text8", "Frame4", "卵石"),
// so tests and accessibility tools find it by name.
#pragma once

// moc cannot read the Chinese names of calc/sheet.h (细砂, 粗砂), and needs
// nothing from these headers to see Form1's Q_OBJECT.
#ifndef Q_MOC_RUN
#include "calc/numberformat.h"
#include "calc/sheet.h"
#include "session/classicwindow.h"
#include "ui/formsheet.h"
#include "ui/reportcommands.h"
#endif
#include "ui/messageboxes.h"

#include <array>
#include <functional>
#include <memory>

#include <QUrl>
#include <QWidget>

class QLabel;
class QPushButton;

namespace ui {

// The controls the window builds from its layout table, by the role the
// window gives them.
struct FormControls {
    SheetControls sheet;
    std::array<QPushButton*, 5> commands{}; // Command1 .. Command5
};

class Form1 : public QWidget {
    Q_OBJECT

public:
    // `format` is the user's regional number settings, read once at start-up;
    // every box the window shows goes through `boxes`, which must outlive it.
    Form1(calc::NumberFormat format, MessageBoxes& boxes, QWidget* parent = nullptr);

    // The design sheet over this window's controls.
    calc::Sheet& sheet() { return *m_sheet; }

    // What the window does on each event, over that sheet.
    session::ClassicWindow& session() { return *m_session; }

    // The report commands and the last calculation they report on.
    ReportCommands& reports() { return *m_reports; }

    // How "更多软件" starts the web browser; returns whether it could. The
    // platform's own way (QDesktopServices::openUrl) unless replaced.
    void setBrowser(std::function<bool(const QUrl&)> browser) { m_browser = std::move(browser); }

    // How 保存 is done when the user chooses it on leaving with unsaved
    // changes (the file commands'); returns whether the design was saved.
    // Without it, 保存 there leaves nothing and ends nothing.
    void setSave(std::function<bool()> save) { m_save = std::move(save); }

    // Shows the findings of the last calculation at the window's foot
    // (session::ClassicWindow::findings), or hides the foot.
    void showFindings();

    // Before the program ends: asks about this design's unsaved changes,
    // then closes every other window of the program, each of which asks
    // about its own. False when the user chose to stay.
    bool mayLeave();

protected:
    // The load: the first show resets the sheet before anything is drawn, so
    // the user never sees the start texts "Text1".."Text29".
    void showEvent(QShowEvent* event) override;
    // The close box and Alt+F4: the question of mayLeave(), then the end.
    void closeEvent(QCloseEvent* event) override;

private:
    // Makes every control of the layout table and hands them back.
    FormControls build();
    void calculateCommand();
    void helpCommand();
    void clearCommand();
    void exitCommand();
    void moreSoftwareCommand();
    // Does what the session said: the boxes, then the focus, then the end.
    void carryOut(const session::Effects& effects);

    MessageBoxes& m_boxes;
    std::unique_ptr<FormSheet> m_sheet;
    std::unique_ptr<session::ClassicWindow> m_session;
    std::unique_ptr<ReportCommands> m_reports;
    std::function<bool(const QUrl&)> m_browser;
    std::function<bool()> m_save;
    QLabel* m_foot = nullptr;
    bool m_loaded = false;
    bool m_leaving = false; // the question was answered: close without another
};

} // namespace ui
