#include "tools/fieldtable.h"

#include <array>

namespace fieldtable {
namespace {

using namespace calc;

// The frames of the window from the top left: 混凝土配置强度, 确定水灰比(W/C),
// 水泥用量, 确定单位用水量, 确定砂率, 计算砂石用量, then the two rows of
// 混凝土配合比.
constexpr std::array kOrder{
    Text1,  Text2,  Text3,                                          //
    Text5,  Text9,  Text6,  Text7,  Text8,  Text10,                 //
    Text4,                                                          //
    Text26, Text27, Text28, Text29,                                 //
    Text15, Text16, Text17,                                         //
    Text18, Text19, Text22, Text23, Text25, Text20, Text21, Text24, //
    Text11, Text12, Text13, Text14, Text30, Text31, Text32, Text33,
};
static_assert(kOrder.size() == kTextFieldCount);

// A cell of a Markdown table: a "|" would end it, a line break would end the
// row.
std::string cell(std::string_view text) {
    std::string out;
    for (const char c : text) {
        if (c == '|') {
            out += "\\|";
        } else if (c == '\n' || c == '\r') {
            out += ' ';
        } else {
            out += c;
        }
    }
    return out.empty() ? "—" : out;
}

} // namespace

std::span<const TextField> windowOrder() {
    return kOrder;
}

std::string_view roleCaption(FieldRole role) {
    switch (role) {
    case FieldRole::Input:
        return "输入";
    case FieldRole::ComputedIfEmpty:
        return "空则计算";
    case FieldRole::Result:
        return "结果";
    case FieldRole::RecordedOnly:
        return "仅作记录";
    }
    return {};
}

std::string markdownTable() {
    std::string table = "| 栏目 | 符号 | 单位 | 常用范围 | 作用 | 含义 |\n"
                        "|---|---|---|---|---|---|\n";
    for (const TextField field : kOrder) {
        const FieldInfo& info = fieldInfo(field);
        for (const std::string_view text :
             {info.caption, info.symbol, info.unit, info.range, roleCaption(info.role)}) {
            table += "| " + cell(text) + ' ';
        }
        table += "| " + cell(info.meaning) + " |\n";
    }
    return table;
}

} // namespace fieldtable
