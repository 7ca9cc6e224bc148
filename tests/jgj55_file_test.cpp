// The JGJ 55-2011 design file: exact bytes, round trips, absent keys taking
// the defaults, and a refusal for every kind of wrong value.
#include "case_names.h"
#include "design/designfile.h"
#include "jgj55/designfile.h"

#include <string>

#include <gtest/gtest.h>

namespace {

using namespace jgj55;

Input everything() {
    Input in;
    in.fcuk = 35;
    in.sigma = 4.5;
    in.cementGrade = CementGrade::G52_5;
    in.gammaC = 1.08;
    in.fce = 55.3;
    in.flyAsh = FlyAsh{.fraction = 0.15, .grade = FlyAshGrade::I, .gammaF = 0.9, .density = 2250};
    in.slag = Slag{.fraction = 0.2, .grade = SlagGrade::S105, .gammaS = 1.02, .density = 2880};
    in.admixture = Admixture{.fraction = 0.012, .waterReduction = 0.22};
    in.stone = Stone::Gravel;
    in.maxSize = 31.5;
    in.slump = 120;
    in.vebe = 12;
    in.water = 205;
    in.sandRatio = 38;
    in.alphaA = 0.5;
    in.alphaB = 0.15;
    in.structure = Structure::Prestressed;
    in.environment = Environment::IIIb;
    in.method = Method::Volume;
    in.assumedDensity = 2380;
    in.air = 1.5;
    in.cementDensity = 3050;
    in.sandDensity = 2630;
    in.stoneDensity = 2710;
    in.waterDensity = 1000;
    in.sandMoisture = 3.5;
    in.stoneMoisture = 0.8;
    return in;
}

TEST(Jgj55File, WritesTheKeysInTheirOrderAndWholeNumbersWithoutFraction) {
    Input in;
    in.fcuk = 30;
    in.cementGrade = CementGrade::G42_5;
    in.flyAsh = FlyAsh{.fraction = 0.2, .grade = {}, .gammaF = {}, .density = {}};
    in.stone = Stone::Crushed;
    in.maxSize = 31.5;
    in.slump = 180;
    in.environment = Environment::IIa;
    EXPECT_EQ(serialize(in), R"({
  "lanshi-design": 1,
  "standard": "JGJ 55-2011",
  "jgj55-2011": {
    "fcuk": 30,
    "cementGrade": "42.5",
    "flyAsh": {
      "fraction": 0.2
    },
    "stone": "crushed",
    "maxSize": 31.5,
    "slump": 180,
    "environment": "二a"
  }
}
)");
}

TEST(Jgj55File, EveryKeyComesBackAndTheBytesStay) {
    const std::string bytes = serialize(everything());
    const ReadResult read = jgj55::read(bytes);
    ASSERT_TRUE(read) << read.error;
    EXPECT_EQ(*read.input, everything());
    EXPECT_EQ(serialize(*read.input), bytes);
    // Each of the 28 keys (with the groups' own) is written.
    for (const char* key : {"\"sigma\"", "\"gammaC\"", "\"gammaF\"", "\"gammaS\"", "\"density\"",
                            "\"waterReduction\"", "\"vebe\"", "\"alphaB\"", "\"structure\"",
                            "\"method\"", "\"air\"", "\"waterDensity\"", "\"stoneMoisture\""}) {
        EXPECT_NE(bytes.find(key), std::string::npos) << key;
    }
}

TEST(Jgj55File, AHandWrittenFileInAnyKeyOrderKeepsItsMeaning) {
    const ReadResult read = jgj55::read(R"({"jgj55-2011": {"slump": 50, "stone": "gravel",
        "maxSize": 20, "fcuk": 25.0, "fce": 45}, "standard": "JGJ 55-2011", "lanshi-design": 1})");
    ASSERT_TRUE(read) << read.error;
    EXPECT_EQ(read.input->fcuk, 25);
    EXPECT_EQ(read.input->stone, Stone::Gravel);
    // Absent: the defaults of the design, nothing filled in by the reader.
    EXPECT_FALSE(read.input->flyAsh);
    EXPECT_FALSE(read.input->method);
    EXPECT_FALSE(read.input->structure);
    EXPECT_FALSE(read.input->environment);
    const Outcome out = jgj55::design(*read.input);
    ASSERT_TRUE(out);
    EXPECT_EQ(out.result->method, Method::Mass);
    // Saving it writes the program's order: fcuk first.
    EXPECT_EQ(serialize(*read.input).find("\"fcuk\": 25"), serialize(*read.input).find("\"fcuk\""));
}

struct BadFile {
    const char* name;
    std::string bytes;
    std::string says;
};

void PrintTo(const BadFile& c, std::ostream* os) {
    *os << c.name;
}

std::string withBody(const std::string& body) {
    return R"({"lanshi-design": 1, "standard": "JGJ 55-2011", "jgj55-2011": )" + body + "}";
}

class Jgj55Refused : public ::testing::TestWithParam<BadFile> {};

TEST_P(Jgj55Refused, SaysWhatIsWrong) {
    const ReadResult read = jgj55::read(GetParam().bytes);
    ASSERT_FALSE(read);
    EXPECT_NE(read.error.find(GetParam().says), std::string::npos) << read.error;
    EXPECT_EQ(read.error.find('\n'), std::string::npos);
}

const BadFile kBadFiles[] = {
    {"NotJson", "fcuk = 30", "JSON"},
    {"Empty", "", "JSON"},
    {"Array", "[]", "顶层 应为对象"},
    {"NoVersion", R"({"standard": "JGJ 55-2011", "jgj55-2011": {}})", "lanshi-design"},
    {"NewerVersion", R"({"lanshi-design": 2, "standard": "JGJ 55-2011", "jgj55-2011": {}})",
     "应为 1"},
    {"OtherStandard", R"({"lanshi-design": 1, "standard": "GB 50010", "jgj55-2011": {}})",
     "standard"},
    {"NoStandard", R"({"lanshi-design": 1, "jgj55-2011": {}})", "空缺"},
    {"NoBody", R"({"lanshi-design": 1, "standard": "JGJ 55-2011"})", "缺少「jgj55-2011」"},
    {"BodyArray", withBody("[]"), "应为对象"},
    {"UnknownTopKey",
     R"({"lanshi-design": 1, "standard": "JGJ 55-2011", "jgj55-2011": {}, "fields": {}})",
     "「fields」 不是此设计的输入项"},
    {"MisspeltKey", withBody(R"({"sandratio": 35})"), "「sandratio」 不是此设计的输入项"},
    {"TextForNumber", withBody(R"({"fcuk": "30"})"), "「fcuk」 应为数，文件中是文字 \"30\""},
    {"BoolForNumber", withBody(R"({"slump": true})"), "「slump」 应为数"},
    {"NullForNumber", withBody(R"({"air": null})"), "「air」 应为数"},
    {"NumberBeyondDouble", withBody(R"({"fcuk": 1e999})"), "超出范围"},
    {"UnknownStone", withBody(R"({"stone": "pebble"})"), "\"crushed\"、\"gravel\" 之一"},
    {"GradeNotInTheList", withBody(R"({"cementGrade": 37.5})"),
     "\"32.5\"、\"42.5\"、\"52.5\" 之一"},
    {"UnknownEnvironment", withBody(R"({"environment": "二c"})"), "「environment」"},
    {"UnknownMethod", withBody(R"({"method": "Mass"})"), "\"mass\"、\"volume\""},
    {"UnknownStructure", withBody(R"({"structure": "steel"})"), "\"plain\""},
    {"FlyAshNumber", withBody(R"({"flyAsh": 0.2})"), "「flyAsh」 应为对象"},
    {"FlyAshGrade", withBody(R"({"flyAsh": {"grade": "IV"}})"), "\"I\"、\"II\"、\"III\""},
    {"FlyAshUnknownKey", withBody(R"({"flyAsh": {"dosage": 0.2}})"), "「dosage」 不是"},
    {"SlagGrade", withBody(R"({"slag": {"grade": "S85"}})"), "\"S75\""},
    {"AdmixtureText", withBody(R"({"admixture": {"waterReduction": "20%"}})"),
     "「waterReduction」 应为数"},
    {"TooDeep", withBody(R"({"flyAsh": {"grade": [[[[[[[[[[1]]]]]]]]]]}})"), "嵌套过深"},
};

INSTANTIATE_TEST_SUITE_P(Jgj55File, Jgj55Refused, ::testing::ValuesIn(kBadFiles),
                         [](const auto& row) { return std::string(row.param.name); });

// A strength grade reads as its number as well as its text; saved, it is
// the text again.
TEST(Jgj55File, TheCementGradeMayBeANumber) {
    for (const auto& [given, grade] :
         {std::pair{"32.5", CementGrade::G32_5}, std::pair{"42.5", CementGrade::G42_5},
          std::pair{"52.50", CementGrade::G52_5}}) {
        const ReadResult read =
            jgj55::read(withBody(std::string(R"({"cementGrade": )") + given + "}"));
        ASSERT_TRUE(read) << given << ": " << read.error;
        EXPECT_EQ(read.input->cementGrade, grade) << given;
    }
    const ReadResult text = jgj55::read(withBody(R"({"cementGrade": 42.5})"));
    ASSERT_TRUE(text);
    EXPECT_NE(serialize(*text.input).find(R"("cementGrade": "42.5")"), std::string::npos);
}

TEST(Jgj55File, TellsADesignToAStandardFromAClassicOne) {
    EXPECT_EQ(design::standardOf(serialize(Input{})), "JGJ 55-2011");
    EXPECT_EQ(design::standardOf(R"({"lanshi-design": 1, "fields": {"Text1": "20"}})"), "");
    EXPECT_EQ(design::standardOf("not json"), "");
}

} // namespace

#include "jgj55/resultjson.h"

namespace {

TEST(Jgj55ResultJson, NamesEveryFigureWithItsNotes) {
    jgj55::Input in;
    in.fcuk = 30;
    in.cementGrade = jgj55::CementGrade::G42_5;
    in.stone = jgj55::Stone::Crushed;
    in.maxSize = 20;
    in.slump = 50;
    in.water = 100; // raises the binder to its minimum: one note
    const jgj55::Outcome out = jgj55::design(in);
    ASSERT_TRUE(out);
    const std::string json = jgj55::resultJson(*out.result);
    // σ 5, fcu,0 38.2, fce 49.3, fb 49.3, W/B 0.53·49.3 / (38.2 + 5.22580) = 0.60;
    // mb0 = 100 / 0.6 = 167 → 280 (reinforced, W/B > 0.55).
    EXPECT_NE(json.find("  \"fcu0\": 38.2,\n  \"sigma\": 5,\n  \"fce\": 49.3,\n"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("\"waterBinder\": 0.6,"), std::string::npos) << json;
    EXPECT_NE(json.find("\"binder\": 280,"), std::string::npos) << json;
    EXPECT_NE(json.find("\"notes\": [\n    \"胶凝材料用量 167 kg/m³ 小于钢筋混凝土在水胶比 0.60 "
                        "时的最小胶凝材料用量 280 kg/m³，取 280 kg/m³\"\n  ],"),
              std::string::npos)
        << json;
    EXPECT_NE(json.find("\"warnings\": []"), std::string::npos) << json;
}

} // namespace
