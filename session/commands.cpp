#include "session/commands.h"

#include <array>

namespace session {

namespace {

constexpr std::string_view kFileMenu = "文件";
constexpr std::string_view kReportMenu = "计算书";
constexpr std::string_view kHelpMenu = "帮助";

constexpr Command kNew{"newDesign", "新建", "Ctrl+N", false, kFileMenu};
constexpr Command kOpen{"openDesign", "打开设计…", "Ctrl+O", false, kFileMenu};
constexpr Command kSave{"saveDesign", "保存设计", "Ctrl+S", false, kFileMenu};
constexpr Command kSaveAs{"saveDesignAs", "另存为…", "Ctrl+Shift+S", false, kFileMenu};
constexpr Command kPreview{"previewReport", "打印预览…", "Ctrl+P", true, kReportMenu};
constexpr Command kPdf{"exportReportPdf", "导出 PDF…", "Ctrl+Shift+E", false, kReportMenu};
constexpr Command kCopy{"copyReport", "复制计算书", "Ctrl+Shift+C", false, kReportMenu};
constexpr Command kNotice{"mixNotice", "配合比通知单…", "Ctrl+Shift+N", false, kReportMenu};
constexpr Command kTrials{"trialMixes", "试配、调整…", "Ctrl+Shift+T", false, kReportMenu};
constexpr Command kRecalculate{"recalculateAll", "全部重新计算", "Ctrl+Shift+R", true};
constexpr Command kNewJgj55{"newJgj55Design", "新建 JGJ 55-2011 设计…", "Ctrl+J", true};
constexpr Command kNewEvaluation{"newEvaluation", "新建强度评定…", "Ctrl+G", false, kFileMenu};
constexpr Command kGuide{"openGuide", "使用说明", "F1", true, kHelpMenu};
// The JGJ 55-2011 window's σ from a strength evaluation file.
constexpr Command kImportSigma{"importSigma", "导入强度标准差…", "", true, kFileMenu};
// The strength evaluation's own.
constexpr Command kCopyRecord{"copyReport", "复制评定记录", "Ctrl+Shift+C", false, kReportMenu};
constexpr Command kImportCsv{"importCsv", "导入 CSV…", "Ctrl+Shift+I", true, kFileMenu};
constexpr Command kRemoveRows{"removeRows", "删除所选行", "Ctrl+Shift+Del"};

// The classic window's: its six events stay its buttons'.
constexpr std::array kClassic = {kOpen,   kSave,        kSaveAs,   kPreview,       kPdf,  kCopy,
                                 kNotice, kRecalculate, kNewJgj55, kNewEvaluation, kGuide};
// The JGJ 55-2011 window's, each in its menu bar too.
constexpr std::array kJgj55 = {kNew,  kOpen,   kSave,   kSaveAs,      kPreview,       kPdf,
                               kCopy, kTrials, kNotice, kImportSigma, kNewEvaluation, kGuide};
constexpr std::array kGbt50107 = {kOpen,       kSave,      kSaveAs,     kPreview, kPdf,
                                  kCopyRecord, kImportCsv, kRemoveRows, kGuide};

} // namespace

std::span<const Command> commands(DocumentKind kind) {
    switch (kind) {
    case DocumentKind::classic:
        return kClassic;
    case DocumentKind::jgj55:
        return kJgj55;
    case DocumentKind::gbt50107:
        return kGbt50107;
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
