// Stand-ins for what a person would do with the window's boxes, and helpers
// that look at a sheet as a whole.
#pragma once

#include "calc/sheet.h"
#include "ui/messageboxes.h"

#include <string>
#include <vector>

#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace test {

// Records every box and closes it at once, as a user pressing OK; answers
// each question with the next of `answers`, or closes it (its escape button)
// when none is left.
class FakeBoxes final : public ui::MessageBoxes {
public:
    void show(QWidget*, const ui::MessageBox& box) override { shown.push_back(box); }
    QMessageBox::StandardButton ask(QWidget*, const ui::Question& question) override {
        asked.push_back(question);
        if (answers.empty()) {
            return question.escape;
        }
        const QMessageBox::StandardButton answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
    std::vector<ui::MessageBox> shown;
    std::vector<ui::Question> asked;
    std::vector<QMessageBox::StandardButton> answers;
};

// Everything a sheet holds, for comparing two sheets or one sheet over time.
struct Snapshot {
    std::vector<std::string> texts;
    std::vector<bool> options;
    std::vector<bool> checks;

    friend bool operator==(const Snapshot&, const Snapshot&) = default;
};

inline Snapshot snapshot(const calc::Sheet& sheet) {
    Snapshot s;
    for (int n = 1; n <= calc::kTextFieldCount; ++n) {
        s.texts.push_back(sheet.text(static_cast<calc::TextField>(n)));
    }
    for (int n = 0; n < calc::kOptionCount; ++n) {
        s.options.push_back(sheet.isSelected(static_cast<calc::Option>(n)));
    }
    for (int n = 0; n < calc::kCheckCount; ++n) {
        s.checks.push_back(sheet.isChecked(static_cast<calc::Check>(n)));
    }
    return s;
}

inline void PrintTo(const Snapshot& s, std::ostream* os) {
    for (std::size_t i = 0; i < s.texts.size(); ++i) {
        *os << "Text" << i + 1 << "=\"" << s.texts[i] << "\" ";
    }
    for (bool o : s.options) {
        *os << o;
    }
    *os << ' ';
    for (bool c : s.checks) {
        *os << c;
    }
}

template <typename T> T* control(QWidget& form, const char* name) {
    T* found = form.findChild<T*>(QString::fromUtf8(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

// Replaces the field's text as a user would: select all, type over it.
inline void type(QWidget& form, const char* name, const QString& text) {
    QLineEdit* field = control<QLineEdit>(form, name);
    field->setFocus();
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

} // namespace test
