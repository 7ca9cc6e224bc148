// The reset and every stage of the mix design, each acting on the design
// sheet alone.
//
// Stages pass nothing to each other but field texts, apart from the arguments
// that a caller takes from fields just before the call. A stage that cannot go
// on throws CalculationStopped (calc/stop.h); what it wrote until then stays.
// The one action a user starts is calculate() in calc/calculate.h.
#pragma once

#include "calc/sheet.h"

#include <string_view>

namespace calc {

// Reset: writes the defaults into Text1..Text29 and sets 细砂, option1 and 卵石.
// Leaves Text30..Text33 and 碎石 as they are. The decimal defaults are written
// with the regional decimal symbol, so that they read back under any settings.
void qk(Sheet& sheet);

// Design strength fcu,0 = fcu,k + 1.645 σ into Text2.
void 第一步(Sheet& sheet);
// Water-cement ratio W/C = αa fce / (fcu,0 + αa αb fce) into Text8.
void 第二步(Sheet& sheet);
// Cement-water ratio C/W = 1 / (W/C) into Text10.
void 第三步(Sheet& sheet);
// Cement content mw0 / (W/C) into Text4, raised to 260 with a notice.
void 第四步(Sheet& sheet);

// Volume method: the stone mass when dx is exactly "1", the sand mass for any
// other selector, for the sand ratio tjfsl. Reads six fields, writes none.
float tijifa(const Sheet& sheet, float tjfsl, std::string_view dx);
// Volume method: fills the mass row Text11..Text14 and the proportion row
// Text30..Text33.
void tjfjs(Sheet& sheet);

// Mass method: fills both rows from the sand ratio, the cement and water
// contents and the assumed mass of one cubic metre of fresh concrete.
void zhiliangfa(Sheet& sheet, float zlsl, float zlshuiniliang, float zlshuiliang, float zlbanhewu);

// The dry masses that the moisture adjustment works from: the two-decimal
// proportions times the cement, not the method's mass row.
struct DryMasses {
    float S = 0.0f; // sand, szzlb × snyzl
    float G = 0.0f; // stone, shizzlb × snyzl
};

// Moisture adjustment: turns the dry proportions szzlb and shizzlb into batch
// quantities of wet sand and stone and the water still to be added, for the
// cement snyzl and the moisture contents szhsl (sand) and shizhsl (stone).
// Hands back the dry masses it computed on the way; the driver has no use
// for them.
DryMasses tiaozheng(Sheet& sheet, float szzlb, float shizzlb, float snyzl, float szhsl,
                    float shizhsl);

// The notice of 第四步 when the computed cement content is below the minimum.
inline constexpr std::string_view kCementMinimumNotice = "水泥用量小于最小值 故取260";

} // namespace calc
