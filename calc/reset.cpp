#include "calc/stages.h"

#include <string>

namespace calc {

void qk(Sheet& sheet) {
    const std::string& point = sheet.numberFormat().decimal;
    // "32.5" under "." settings, "32,5" under a decimal comma.
    auto decimal = [&point](std::string_view whole, std::string_view fraction) {
        return std::string(whole) + point + std::string(fraction);
    };
    sheet.setText(Text1, "20");
    sheet.setText(Text2, "");
    sheet.setText(Text3, "4");
    sheet.setText(Text5, decimal("32", "5"));
    sheet.setText(Text9, decimal("1", "07"));
    sheet.setText(Text8, "");
    sheet.setText(Text10, "");
    sheet.select(Option::细砂);
    sheet.select(Option::option1);
    sheet.setChecked(Check::卵石, true);
    sheet.setText(Text26, "180");
    sheet.setText(Text6, decimal("0", "48"));
    sheet.setText(Text7, decimal("0", "33"));
    sheet.setText(Text4, "");
    sheet.setText(Text15, decimal("0", "36"));
    sheet.setText(Text18, decimal("3", "1"));
    sheet.setText(Text19, decimal("2", "65"));
    sheet.setText(Text22, decimal("2", "7"));
    sheet.setText(Text23, "1");
    sheet.setText(Text25, "1");
    sheet.setText(Text27, "");
    sheet.setText(Text28, "");
    sheet.setText(Text29, "");
    sheet.setText(Text24, "");
    sheet.setText(Text20, "");
    sheet.setText(Text21, "");
    sheet.setText(Text11, "水泥");
    sheet.setText(Text12, "砂");
    sheet.setText(Text13, "石子");
    sheet.setText(Text14, "水");
    sheet.setText(Text16, "");
    sheet.setText(Text17, "");
}

} // namespace calc
