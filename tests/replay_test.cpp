// The replay tool answers every line with a result or an error line, whatever
// the line holds.
#include "tools/replay.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace {

using nlohmann::json;

json replay(const std::string& line) {
    return json::parse(replay::replayLine(line));
}

TEST(Replay, EmptyObjectIsTheDefaultsCalculated) {
    const json out = replay("{}");
    ASSERT_TRUE(out.contains("fields"));
    EXPECT_EQ(out["fields"].size(), 33u);
    EXPECT_EQ(out["fields"]["Text13"], "1206.731");
    EXPECT_TRUE(out["stop"].is_null());
    EXPECT_TRUE(out["notices"].empty());
    EXPECT_FALSE(out.contains("id"));
}

TEST(Replay, EchoesTheIdAndListsFieldsInTheirOrder) {
    const std::string line =
        replay::replayLine(R"({"id": {"n": [1, 2]}, "fields": {"Text26": "120"}})");
    EXPECT_EQ(line.find(R"({"id":{"n":[1,2]},"fields":{"Text1":"20","Text2":)"), 0u) << line;
    EXPECT_NE(line.find(R"("notices":["水泥用量小于最小值 故取260"])"), std::string::npos);
}

TEST(Replay, ReportsAStopWithStageFieldAndReason) {
    const json read = replay(R"({"option1": false, "option2": true})");
    EXPECT_EQ(read["stop"],
              json({{"stage", "calculate"}, {"field", "Text20"}, {"reason", "not-a-number"}}));
    const json fault = replay(R"({"fields": {"Text8": "0"}})");
    EXPECT_EQ(fault["stop"],
              json({{"stage", "第三步"}, {"field", nullptr}, {"reason", "division-by-zero"}}));
}

TEST(Replay, BadLinesGetAnErrorLine) {
    for (const std::string& line :
         std::vector<std::string>{"",
                                  "   ",
                                  "not json",
                                  "[1]",
                                  "42",
                                  R"({"fields": {"Text0": "1"}})",
                                  R"({"fields": {"text1": "1"}})",
                                  R"({"fields": {"Text1": 1}})",
                                  R"({"fields": []})",
                                  R"({"option1": "yes"})",
                                  R"({"format": {"groupSize": -1}})",
                                  R"({"format": {"groupSize": 10}})",
                                  R"({"format": {"negative": ""}})",
                                  R"({"format": {"group": "1"}})",
                                  R"({"format": {"groupSize": 2.5}})",
                                  R"({"format": {"decimal": ""}})",
                                  R"({"format": []})",
                                  R"({"presses": 0})",
                                  "{\"fields\": {\"Text1\": \"\xff\xfe\"}}",
                                  "{\"id\": 1",
                                  std::string("{\"a\":\0}", 7)}) {
        const json out = replay(line);
        EXPECT_TRUE(out.contains("error")) << line;
        EXPECT_EQ(out.size(), 1u) << line;
    }
}

TEST(Replay, HugeAndHostileTextsGetAResult) {
    const std::string huge(1 << 20, '7');
    const json big = replay(json({{"fields", {{"Text26", huge}}}}).dump());
    ASSERT_TRUE(big.contains("stop"));
    EXPECT_EQ(big["stop"]["reason"], "overflow");
    EXPECT_EQ(big["fields"]["Text26"].get<std::string>().size(), huge.size());

    const json control = replay(json({{"fields",
                                       {{"Text1", std::string("2\0"
                                                              "0\x01\n",
                                                              5)}}}})
                                    .dump());
    EXPECT_EQ(control["stop"]["field"], "Text1");

    const json wide = replay(R"({"fields": {"Text15": "０.３６"}})");
    EXPECT_TRUE(wide["stop"].is_null()); // read leniently as 0: no sand
    EXPECT_EQ(wide["fields"]["Text12"], "0");
}

TEST(Replay, OptionsAreSetExactlyAsGiven) {
    const json neither = replay(R"({"option1": false})");
    EXPECT_EQ(neither["fields"]["Text11"], "水泥");
    const json both = replay(R"({"option2": true, "fields": {"Text20": "2400"}})");
    EXPECT_EQ(both["fields"]["Text30"], "1.00");
    EXPECT_EQ(both["fields"]["Text12"], "674.586"); // the mass method ran last
}

TEST(Replay, AcceptsEveryGroupSizeTheFormatAllows) {
    for (const int size : {0, 1, 2, 3, 4, 9}) {
        const json out = replay(
            json({{"format", {{"groupSize", size}}}, {"fields", {{"Text26", "60000"}}}}).dump());
        ASSERT_TRUE(out.contains("fields")) << size << ": " << out.dump();
        EXPECT_TRUE(out["stop"].is_null()) << size;
    }
    // Groups of one digit are written and read back between every digit.
    const json ones = replay(R"({"format": {"groupSize": 1}, "fields": {"Text26": "60000"}})");
    EXPECT_EQ(ones["fields"]["Text4"], "1,1,5,3,8,4.62");
}

TEST(Replay, FormatGovernsTheResetToo) {
    const json out = replay(R"({"format": {"decimal": ",", "group": ".", "groupSize": 3}})");
    EXPECT_EQ(out["fields"]["Text5"], "32,5");
    EXPECT_EQ(out["fields"]["Text13"], "1206,731");
}

} // namespace

namespace {

// A design file, made one line, is a case: the window would show the same
// figures after opening it there and pressing "计算".
TEST(Replay, ReadsADesignFileAsACase) {
    const json file = json::parse(R"({
      "lanshi-design": 1,
      "format": {"decimal": ",", "group": ".", "groupSize": 3, "negative": "-"},
      "fields": {"Text20": "2.400", "Text21": "0,03", "Text24": "0,01", "Text11": "old"},
      "粗砂": true, "option1": false, "id": "kept", "presses": 2
    })");
    const json out = replay(file.dump());
    ASSERT_FALSE(out.contains("error")) << out;
    EXPECT_EQ(out["id"], "kept");
    EXPECT_TRUE(out["stop"].is_null()) << out;
    // The mass method ran (option1 false decides option2) under the comma.
    const json classic = replay(R"({"option1": false, "option2": true, "presses": 2,
        "format": {"decimal": ",", "group": ".", "groupSize": 3, "negative": "-"},
        "fields": {"Text20": "2.400", "Text21": "0,03", "Text24": "0,01"}})");
    EXPECT_EQ(out["fields"], classic["fields"]);
    EXPECT_EQ(out["fields"]["Text33"].get<std::string>().find(','), 1u);
}

TEST(Replay, RefusesABadDesignAsTheWindowWould) {
    for (const char* line : {R"({"lanshi-design": 1, "option1": false, "option2": false})",
                             R"({"lanshi-design": 9})", R"({"lanshi-design": 1, "卵石": "yes"})",
                             R"({"lanshi-design": 1, "fields": {"Text40": "1"}})"}) {
        const json out = replay(line);
        EXPECT_TRUE(out.contains("error")) << line;
    }
    // Options set exactly as given stay possible for a case that is no design.
    EXPECT_FALSE(replay(R"({"option1": false, "option2": false})").contains("error"));
}

} // namespace
