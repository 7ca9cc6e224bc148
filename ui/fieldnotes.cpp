#include "ui/fieldnotes.h"

#include "ui/layout.h"
#include "ui/qtext.h"

#include <array>
#include <string>
#include <string_view>

namespace ui {

namespace {

struct FieldNote {
    // How the field is named when no label captions it (the mix-proportion
    // rows carry their headings in the fields themselves).
    std::string_view meaning;
    std::string_view tip;
};

// Indexed by field number - 1.
constexpr std::array<FieldNote, calc::kTextFieldCount> kNotes{{
    {{}, "混凝土强度等级 fcu,k，MPa"},
    {{}, "混凝土配置强度 fcu,0 = fcu,k + 1.645σ，MPa；留空则计算时求出"},
    {{}, "强度标准差 σ，MPa"},
    {{}, "每立方米混凝土的水泥用量 mc0，kg；留空则计算时求出，不小于 260"},
    {{}, "水泥 28 天胶砂强度 fce,g，MPa"},
    {{}, "水灰比公式的回归系数 αa"},
    {{}, "水灰比公式的回归系数 αb"},
    {{}, "水灰比 W/C；留空则计算时求出"},
    {{}, "水泥强度富余系数 γc（fce = γc · fce,g）"},
    {{}, "灰水比 C/W；留空则计算时求出"},
    {"每立方米水泥用量", "每立方米混凝土的水泥用量，kg"},
    {"每立方米砂用量", "每立方米混凝土的砂用量，kg"},
    {"每立方米石子用量", "每立方米混凝土的石子用量，kg"},
    {"每立方米用水量", "每立方米混凝土的用水量，kg"},
    {{}, "砂率 βs，小数 (0.36 即 36%)"},
    {{}, "石子（仅作记录，不参与计算）"},
    {{}, "砂子（仅作记录，不参与计算）"},
    {{}, "水泥密度 ρc，g/cm³"},
    {{}, "砂密度，g/cm³（仅作记录，不参与计算）"},
    {{}, "混凝土拌合物假定表观密度 mcp，kg/m³（质量法用）"},
    {{}, "砂子含水率，小数 (0.03 即 3%)；与石子含水率都填写时按含水率调整"},
    {{}, "石子密度 ρg，g/cm³"},
    {{}, "水密度 ρw，g/cm³"},
    {{}, "石子含水率，小数 (0.01 即 1%)；与砂子含水率都填写时按含水率调整"},
    {{}, "混凝土含气量 α，%（每 1% 占 10 升）"},
    {{}, "单位用水量 mw0，每立方米混凝土 kg"},
    {{}, "维勃稠度，s（仅作记录，不参与计算）"},
    {{}, "坍落度，mm（仅作记录，不参与计算）"},
    {{}, "石子最大粒径，mm（仅作记录，不参与计算）"},
    {"水泥配合比", "配合比：水泥，恒为 1"},
    {"砂配合比", "配合比：砂用量 / 水泥用量"},
    {"石子配合比", "配合比：石子用量 / 水泥用量"},
    {"水配合比", "配合比：用水量 / 水泥用量"},
}};

// The caption of the label that captions the field, without its closing
// colon (full-width or ASCII), or nothing.
QString labelCaption(calc::TextField field) {
    const std::string name = calc::fieldName(field);
    for (const ControlRow& row : formLayout()) {
        if (row.kind == Kind::Label && row.buddy == name) {
            QString caption = qt(row.caption);
            while (caption.endsWith(u'：') || caption.endsWith(u':')) {
                caption.chop(1);
            }
            return caption;
        }
    }
    return {};
}

} // namespace

QString fieldTip(calc::TextField field) {
    return qt(kNotes[field - 1].tip);
}

QString fieldTitle(calc::TextField field) {
    QString caption = labelCaption(field);
    if (caption.isEmpty()) {
        caption = qt(kNotes[field - 1].meaning);
    }
    return caption + QStringLiteral(" (") + qt(calc::fieldName(field)) + u')';
}

} // namespace ui
