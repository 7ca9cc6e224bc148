#include "session/layout.h"

#include <algorithm>
#include <array>
#include <limits>

namespace session {

namespace {

using enum Kind;

// Name, kind, frame, caption or start text, Left, Top, Width, Height (twips),
// TabIndex, buddy (the field a label captions), checked at start, text
// colour. Rows of a frame in reading order.
constexpr std::array kRows = std::to_array<ControlRow>({
    // The nine frames, on the client area.
    {"Frame1", Frame, "", "混凝土配置强度", 0, 0, 3495, 1485, 0},
    {"Frame2", Frame, "", "确定单位用水量", 0, 2250, 1935, 1755, 4},
    {"Frame3", Frame, "", "水泥用量", 0, 1500, 1935, 735, 9},
    {"Frame4", Frame, "", "确定水灰比(W/C)", 3480, 0, 2655, 1815, 11},
    {"Frame5", Frame, "", "确定砂率", 6120, 0, 1935, 1815, 18},
    {"Frame6", Frame, "", "参数", 1950, 1470, 1575, 1395, 22},
    {"Frame7", Frame, "", "混凝土配合比", 3540, 1800, 4485, 1065, 27},
    {"Frame8", Frame, "", "计算砂石用量", 1950, 2880, 3855, 2085, 28},
    {"Frame9", Frame, "", "关于", 5790, 2880, 2265, 2085, 39},

    // The school line in the bottom-left corner, outside every frame.
    {"Label26", Label, "", "南坞技师学院 高工11-5", 360, 4320, 1335, 375, 79, {}, false, 0x0000C0},

    // Design strength.
    {"Text1", TextField, "Frame1", "Text1", 2160, 330, 915, 270, 44},
    {"Label1", Label, "Frame1", "混凝土强度等级(Fcu,k)：", 120, 360, 2175, 255, 1, "Text1"},
    {"Text2", TextField, "Frame1", "Text2", 2160, 660, 915, 270, 45},
    {"Label2", Label, "Frame1", "混凝土配置强度：", 120, 720, 1455, 255, 2, "Text2"},
    {"Text3", TextField, "Frame1", "Text3", 810, 1020, 915, 270, 46},
    {"Label3", Label, "Frame1", "σ取值：", 120, 1080, 735, 255, 3, "Text3"},

    // Unit water content and the workability notes.
    {"Label4", Label, "Frame2", "用水量", 360, 240, 615, 255, 5, "Text26"},
    {"Text26", TextField, "Frame2", "Text26", 960, 240, 915, 270, 69},
    {"Text27", TextField, "Frame2", "Text27", 960, 660, 915, 270, 70},
    {"Label5", Label, "Frame2", "维勃稠度", 210, 690, 735, 255, 6, "Text27"},
    {"Label6", Label, "Frame2", "塌落度", 360, 1080, 615, 375, 7, "Text28"},
    {"Text28", TextField, "Frame2", "Text28", 960, 1080, 915, 270, 71},
    {"Text29", TextField, "Frame2", "Text29", 960, 1440, 915, 270, 72},
    {"Label7", Label, "Frame2", "石子粒径", 180, 1470, 735, 255, 8, "Text29"},

    // Cement content.
    {"Text4", TextField, "Frame3", "Text4", 900, 330, 915, 270, 47},
    {"Label8", Label, "Frame3", "水泥用量", 120, 360, 735, 255, 10, "Text4"},

    // Water-cement ratio.
    {"Label9", Label, "Frame4", "水泥28天强度", 120, 240, 1455, 375, 12, "Text5"},
    {"Text5", TextField, "Frame4", "Text5", 1440, 240, 915, 270, 48},
    {"Label10", Label, "Frame4", "A", 180, 600, 135, 255, 13, "Text6"},
    {"Text6", TextField, "Frame4", "Text6", 360, 600, 915, 270, 49},
    {"Text7", TextField, "Frame4", "Text7", 1470, 600, 915, 270, 50},
    {"Label11", Label, "Frame4", "B", 1320, 660, 255, 255, 14, "Text7"},
    {"Text8", TextField, "Frame4", "Text8", 720, 1050, 915, 270, 51},
    {"Label14", Label, "Frame4", "富裕系数", 1770, 1050, 735, 255, 17, "Text9"},
    {"Label12", Label, "Frame4", "水灰比", 120, 1080, 615, 375, 15, "Text8"},
    {"Text9", TextField, "Frame4", "Text9", 1680, 1410, 915, 270, 52},
    {"Label13", Label, "Frame4", "灰水比", 120, 1440, 855, 255, 16, "Text10"},
    {"Text10", TextField, "Frame4", "Text10", 720, 1440, 915, 270, 53},

    // Sand ratio.
    {"Label15", Label, "Frame5", "砂率", 210, 360, 495, 195, 19, "Text15"},
    {"Text15", TextField, "Frame5", "Text15", 600, 360, 915, 270, 58},
    {"Text16", TextField, "Frame5", "Text16", 600, 720, 915, 270, 59},
    {"Label16", Label, "Frame5", "石子", 210, 780, 405, 225, 20, "Text16"},
    {"Text17", TextField, "Frame5", "Text17", 600, 1080, 915, 270, 60},
    {"Label17", Label, "Frame5", "砂子", 240, 1200, 405, 225, 21, "Text17"},

    // Aggregate kinds, named by their captions.
    {"细砂", OptionButton, "Frame6", "细砂", 120, 240, 735, 375, 24, {}, true},
    {"卵石", CheckBox, "Frame6", "卵石", 840, 240, 705, 255, 26, {}, true},
    {"粗砂", OptionButton, "Frame6", "粗砂", 120, 600, 735, 375, 23},
    {"碎石", CheckBox, "Frame6", "碎石", 840, 600, 675, 375, 25},

    // Mix proportion: the mass row, then the proportion row, no labels.
    {"Text11", TextField, "Frame7", "Text11", 150, 360, 915, 270, 54},
    {"Text12", TextField, "Frame7", "Text12", 1140, 360, 915, 270, 55},
    {"Text13", TextField, "Frame7", "Text13", 2220, 360, 915, 270, 56},
    {"Text14", TextField, "Frame7", "Text14", 3270, 360, 915, 270, 57},
    {"Text30", TextField, "Frame7", "", 150, 720, 915, 270, 73},
    {"Text31", TextField, "Frame7", "", 1140, 720, 915, 270, 74},
    {"Text32", TextField, "Frame7", "", 2220, 720, 915, 270, 75},
    {"Text33", TextField, "Frame7", "", 3270, 720, 915, 270, 76},

    // Sand and stone: the method, then two columns of densities and moisture.
    {"option2", OptionButton, "Frame8", "质量法", 2640, 120, 855, 375, 30},
    {"option1", OptionButton, "Frame8", "体积法", 120, 240, 855, 255, 29},
    {"Text18", TextField, "Frame8", "Text18", 900, 570, 915, 270, 61},
    {"Text22", TextField, "Frame8", "Text22", 2790, 570, 915, 270, 65},
    {"Label18", Label, "Frame8", "水泥密度", 120, 600, 855, 255, 31, "Text18"},
    {"Label22", Label, "Frame8", "石子密度", 2040, 600, 855, 255, 35, "Text22"},
    {"Text19", TextField, "Frame8", "Text19", 900, 930, 915, 270, 62},
    {"Text23", TextField, "Frame8", "Text23", 2790, 930, 915, 270, 66},
    {"Label19", Label, "Frame8", "砂密度", 240, 960, 615, 255, 32, "Text19"},
    {"Label23", Label, "Frame8", "水密度", 2160, 960, 615, 255, 36, "Text23"},
    {"Label24", Label, "Frame8", "石子w", 2220, 1260, 525, 255, 37, "Text24"},
    {"Text24", TextField, "Frame8", "Text24", 2790, 1260, 915, 270, 67},
    {"Label20", Label, "Frame8", "砼密度", 240, 1320, 615, 255, 33, "Text20"},
    {"Text20", TextField, "Frame8", "Text20", 900, 1320, 915, 270, 63},
    {"Text25", TextField, "Frame8", "Text25", 2790, 1620, 915, 270, 68},
    {"Text21", TextField, "Frame8", "Text21", 900, 1650, 915, 270, 64},
    {"Label21", Label, "Frame8", "砂子w", 360, 1680, 495, 255, 34, "Text21"},
    {"Label25", Label, "Frame8", "砼含气量", 2040, 1680, 735, 255, 38, "Text25"},

    // The commands.
    {"Command1", Button, "Frame9", "计算", 270, 240, 855, 375, 40},
    {"Command2", Button, "Frame9", "帮助", 1290, 240, 855, 375, 41},
    {"Command3", Button, "Frame9", "清零", 270, 720, 855, 375, 42},
    {"Command4", Button, "Frame9", "退出", 1290, 720, 855, 375, 43},
    {"Command5", Button, "Frame9", "更多软件", 600, 1320, 1215, 255, 78},
    {"Label27", Label, "Frame9", "青禾工作室", 720, 1800, 1095, 255, 77},
});

} // namespace

std::span<const ControlRow> formLayout() {
    return kRows;
}

const ControlRow* findRow(std::string_view name) {
    for (const ControlRow& row : kRows) {
        if (row.name == name) {
            return &row;
        }
    }
    return nullptr;
}

const ControlRow& firstTabStop() {
    // Frames and labels take no focus: they come last.
    const auto order = [](const ControlRow& row) {
        return row.kind == Frame || row.kind == Label ? std::numeric_limits<int>::max()
                                                      : row.tabIndex;
    };
    return *std::min_element(
        kRows.begin(), kRows.end(),
        [&order](const ControlRow& a, const ControlRow& b) { return order(a) < order(b); });
}

} // namespace session
