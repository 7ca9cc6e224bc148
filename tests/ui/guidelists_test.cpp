// The guide's tables of shortcuts and of the command line against the
// program: every shortcut and option the guide lists exists, and every one
// the program has is in the guide.
#include "app/commandline.h"
#include "fakes.h"
#include "ui/designcommands.h"
#include "ui/evaluationcommand.h"
#include "ui/filedialogs.h"
#include "ui/form1.h"
#include "ui/guidecommand.h"
#include "ui/jgj55command.h"
#include "ui/noticecommand.h"
#include "ui/reportcommands.h"

#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <QAction>
#include <gtest/gtest.h>

namespace {

std::string readGuide() {
    std::ifstream in(LANSHI_GUIDE_MD, std::ios::binary);
    EXPECT_TRUE(in) << "cannot read " << LANSHI_GUIDE_MD;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    const auto last = text.find_last_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
}

// The body rows of the first Markdown table after `marker`, as cells.
std::vector<std::vector<std::string>> tableAfter(const std::string& guide,
                                                 const std::string& marker) {
    std::vector<std::vector<std::string>> rows;
    const std::size_t at = guide.find(marker);
    if (at == std::string::npos) {
        ADD_FAILURE() << "the guide has no " << marker;
        return rows;
    }
    std::istringstream lines(guide.substr(at + marker.size()));
    bool inTable = false;
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] != '|') {
            if (inTable) {
                break;
            }
            continue;
        }
        inTable = true;
        std::vector<std::string> cells;
        std::istringstream split(line.substr(1));
        for (std::string cell; std::getline(split, cell, '|');) {
            cells.push_back(trimmed(cell));
        }
        rows.push_back(cells);
    }
    // Header and the line under it.
    if (rows.size() >= 2) {
        rows.erase(rows.begin(), rows.begin() + 2);
    }
    return rows;
}

// Option names in a text: "--report", "-o".
std::set<std::string> optionNames(const std::string& text) {
    static const std::regex option(R"((^|[\s`(])(--?[A-Za-z][A-Za-z-]*))");
    std::set<std::string> names;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), option);
         it != std::sregex_iterator(); ++it) {
        names.insert((*it)[2].str());
    }
    return names;
}

class NoFileDialogs final : public ui::FileDialogs {
public:
    QString openDesign(QWidget*, const QString&) override { return {}; }
    QString saveDesign(QWidget*, const QString&, const QString&) override { return {}; }
};

TEST(GuideListsTest, EveryShortcutOfTheWindowAndNoOther) {
    // The window with every command the program gives it (app/main.cpp).
    test::FakeBoxes boxes;
    NoFileDialogs dialogs;
    ui::Form1 form(calc::NumberFormat{}, boxes);
    ui::DesignCommands designs(form, boxes, dialogs);
    ui::QtReportDialogs reportDialogs; // never shown: no command runs
    ui::Jgj55Command jgj55(form, calc::NumberFormat{}, boxes, dialogs, reportDialogs);
    ui::QtNoticeDialogs noticeDialogs; // never shown either
    ui::NoticeCommand notice(form, session::DocumentKind::classic, form.session(), boxes,
                             reportDialogs, noticeDialogs);
    ui::EvaluationCommand evaluations(form, calc::NumberFormat{}, boxes, dialogs, reportDialogs);
    evaluations.addTo(form, session::DocumentKind::classic);
    ui::GuideCommand guide(form, boxes);

    std::map<std::string, std::string> program; // command -> shortcut
    for (QAction* action : form.actions()) {
        if (!action->isSeparator()) {
            program[action->text().remove(u'&').toStdString()] =
                action->shortcut().toString(QKeySequence::PortableText).toStdString();
        }
    }
    // A shortcut that is not in the context menu is one the user cannot find.
    for (QAction* action : form.findChildren<QAction*>()) {
        if (!action->shortcut().isEmpty()) {
            EXPECT_TRUE(form.actions().contains(action)) << action->text().toStdString();
        }
    }
    EXPECT_EQ(form.contextMenuPolicy(), Qt::ActionsContextMenu);

    std::map<std::string, std::string> listed;
    for (const auto& row : tableAfter(readGuide(), "<!-- 快捷键 -->")) {
        ASSERT_EQ(row.size(), 2u);
        EXPECT_TRUE(listed.emplace(row[0], row[1]).second) << row[0] << " listed twice";
    }
    EXPECT_EQ(listed, program);
    EXPECT_GE(program.size(), 7u);
}

TEST(GuideListsTest, EveryCommandLineOptionAndNoOther) {
    std::set<std::string> listed;
    for (const auto& row : tableAfter(readGuide(), "<!-- 命令行 -->")) {
        ASSERT_FALSE(row.empty());
        const std::set<std::string> names = optionNames(row[0]);
        listed.insert(names.begin(), names.end());
    }

    // The options as `lanshi --help` lists them, one line each, aliases
    // together ("-h, --help").
    const app::CommandLine help = app::parseCommandLine({"lanshi", "--help"});
    ASSERT_EQ(help.action, app::CommandLine::Action::Help);
    std::set<std::string> known;
    std::istringstream lines(help.text.toStdString());
    int options = 0;
    for (std::string line; std::getline(lines, line);) {
        const std::string entry = trimmed(line);
        if (entry.empty() || entry[0] != '-') {
            continue;
        }
        ++options;
        const std::set<std::string> names = optionNames(entry.substr(0, entry.find("  ")));
        known.insert(names.begin(), names.end());
        bool inGuide = false;
        for (const std::string& name : names) {
            inGuide = inGuide || listed.contains(name);
        }
        EXPECT_TRUE(inGuide) << "the guide does not list " << entry;
    }
    EXPECT_GE(options, 2);
    for (const std::string& name : listed) {
        EXPECT_TRUE(known.contains(name))
            << "the guide lists " << name << ", which lanshi does not know";
    }
}

} // namespace
