#include "session/commands.h"

#include <array>

namespace session {

namespace {

constexpr Command kOpen{"openDesign", "打开设计…", "Ctrl+O"};
constexpr Command kSave{"saveDesign", "保存设计", "Ctrl+S"};
constexpr Command kSaveAs{"saveDesignAs", "另存为…", "Ctrl+Shift+S"};
constexpr Command kPreview{"previewReport", "打印预览…", "Ctrl+P", true};
constexpr Command kPdf{"exportReportPdf", "导出 PDF…", "Ctrl+Shift+E"};
constexpr Command kCopy{"copyReport", "复制计算书", "Ctrl+Shift+C"};
constexpr Command kNotice{"mixNotice", "配合比通知单…", "Ctrl+Shift+N"};
constexpr Command kTrials{"trialMixes", "试配、调整…", "Ctrl+Shift+T"};
constexpr Command kRecalculate{"recalculateAll", "全部重新计算", "Ctrl+Shift+R", true};
constexpr Command kNewJgj55{"newJgj55Design", "新建 JGJ 55-2011 设计…", "Ctrl+J", true};
constexpr Command kGuide{"openGuide", "使用说明", "F1", true};

// The classic window's: its six events stay its buttons'.
constexpr std::array kClassic = {kOpen, kSave,   kSaveAs,      kPreview,  kPdf,
                                 kCopy, kNotice, kRecalculate, kNewJgj55, kGuide};
constexpr std::array kJgj55 = {kOpen, kSave,   kSaveAs, kPreview, kPdf,
                               kCopy, kTrials, kNotice, kGuide};

} // namespace

std::span<const Command> commands(DocumentKind kind) {
    switch (kind) {
    case DocumentKind::classic:
        return kClassic;
    case DocumentKind::jgj55:
        return kJgj55;
    }
    return {};
}

const Command* findCommand(DocumentKind kind, std::string_view name) {
    for (const Command& command : commands(kind)) {
        if (command.name == name) {
            return &command;
        }
    }
    return nullptr;
}

} // namespace session
