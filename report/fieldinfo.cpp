#include "report/fieldinfo.h"

#include <array>

namespace report {

namespace {

// Indexed by field number - 1.
constexpr std::array<FieldInfo, calc::kTextFieldCount> kFields{{
    {"混凝土强度等级", "fcu,k", "MPa"},
    {"混凝土配制强度", "fcu,0", "MPa"},
    {"强度标准差", "σ", "MPa"},
    {"水泥用量", "mc0", "kg/m³"},
    {"水泥 28 天胶砂强度", "fce,g", "MPa"},
    {"回归系数 A", "αa", ""},
    {"回归系数 B", "αb", ""},
    {"水灰比", "W/C", ""},
    {"水泥强度富余系数", "γc", ""},
    {"灰水比", "C/W", ""},
    {"水泥", "mc", "kg/m³"},
    {"砂", "ms", "kg/m³"},
    {"石子", "mg", "kg/m³"},
    {"水", "mw", "kg/m³"},
    {"砂率", "βs", ""},
    {"石子（确定砂率）", "", "", true},
    {"砂子（确定砂率）", "", "", true},
    {"水泥密度", "ρc", "g/cm³"},
    {"砂密度", "ρs", "g/cm³", true},
    {"混凝土拌合物假定表观密度", "mcp", "kg/m³"},
    {"砂子含水率", "ws", ""},
    {"石子密度", "ρg", "g/cm³"},
    {"水密度", "ρw", "g/cm³"},
    {"石子含水率", "wg", ""},
    {"混凝土含气量", "α", "%"},
    {"单位用水量", "mw0", "kg/m³"},
    {"维勃稠度", "", "s", true},
    {"坍落度", "", "mm", true},
    {"石子最大粒径", "", "mm", true},
    {"水泥（配合比）", "", ""},
    {"砂（配合比）", "", ""},
    {"石子（配合比）", "", ""},
    {"水（配合比）", "", ""},
}};

} // namespace

FieldInfo fieldInfo(calc::TextField field) {
    return kFields[field - 1];
}

} // namespace report
