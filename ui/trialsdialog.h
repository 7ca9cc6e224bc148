// 试配、调整… in the JGJ 55-2011 window (Ctrl+Shift+T): a window beside the
// design in which the laboratory types its trials (the mixer's capacity, the
// water and sand ratio of the trial batch, the measured strengths, the fresh
// density). The batch, the three mixes, the fit, the chosen W/B and the
// laboratory mix are shown as the user types, with a plot of strength
// against B/W; what is typed is kept in the design (a change the caption
// marks, a save writes). A view over session::Jgj55Form and
// session/trialsheet, which do the work.
//
//     new ui::TrialsCommand(window, form);   // adds the command to the window
#pragma once

#include "session/jgj55form.h"
#include "session/trialsheet.h"

#include <QDialog>
#include <QObject>
#include <QWidget>

class QAction;
class QLabel;
class QLineEdit;
class QTableWidget;
class QTextBrowser;

namespace ui {

// Strength against B/W: the measured points, the fitted line, fcu,0 and the
// chosen B/W marked.
class TrialPlot : public QWidget {
public:
    explicit TrialPlot(const session::Jgj55Form& form, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const session::Jgj55Form& m_form;
};

class TrialsDialog : public QDialog {
public:
    static constexpr int kRows = 6;

    TrialsDialog(QWidget& window, session::Jgj55Form& form);

    // Shows the form's trials and what they give, as they stand.
    void refresh();
    // What the dialog says of the trials: empty when all is well.
    QString problem() const;

    // The line of the summary naming the field, for tests: mixerCapacity,
    // water, sandRatio, density.
    QLineEdit* field(const char* name) const;
    QTableWidget* strengths() const { return m_table; }
    QTextBrowser* view() const { return m_view; }

private:
    void edited();
    void fill();

    QWidget& m_window;
    session::Jgj55Form& m_form;
    QLineEdit* m_capacity = nullptr;
    QLineEdit* m_water = nullptr;
    QLineEdit* m_sandRatio = nullptr;
    QLineEdit* m_density = nullptr;
    QTableWidget* m_table = nullptr;
    QLabel* m_status = nullptr;
    QTextBrowser* m_view = nullptr;
    TrialPlot* m_plot = nullptr;
    bool m_filling = false;
    // The trials the fields show: another (a design opened) fills them again.
    std::optional<jgj55::Trials> m_shown;
};

class TrialsCommand : public QObject {
public:
    // Adds the command to `window`, which must outlive it, as must `form`.
    TrialsCommand(QWidget& window, session::Jgj55Form& form);

    // Shows the window's trials dialog (one per window), brought up to date.
    void run();

    QAction* action() const { return m_action; }
    TrialsDialog* dialog() const { return m_dialog; }

private:
    QWidget& m_window;
    session::Jgj55Form& m_form;
    QAction* m_action = nullptr;
    TrialsDialog* m_dialog = nullptr;
};

} // namespace ui
