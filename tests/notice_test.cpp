// The mix notice: the construction mix for the day's moisture and the
// quantities per batch, worked by hand, its refusals, and its details kept in
// the design file of either kind.
#include "notice/notice.h"
#include "report/report.h"
#include "session/document.h"
#include "session/jgj55form.h"

#include <string>

#include <gtest/gtest.h>

namespace {

notice::Basis jgjBasis() {
    // C30, 20 % fly ash, 1.5 % admixture saving 25 %: the JGJ 55-2011
    // design's calculated mix.
    notice::Basis b;
    b.mix = {.binder = 342,
             .cement = 274,
             .flyAsh = 68,
             .water = 178,
             .sand = 771,
             .stone = 1109,
             .admixture = 5.13};
    b.waterBinder = 0.52;
    b.strengthClass = "C30";
    return b;
}

// By hand: sand 771 × 1.03 = 794.13 → 794; stone 1109 × 1.01 = 1120.09 →
// 1120; water 178 − 771 × 0.03 − 1109 × 0.01 = 178 − 23.13 − 11.09 = 143.78
// → 144; per batch of 2 m³ each of those × 2, the admixture 5.13 × 2 = 10.26.
TEST(Notice, ConstructionMixAndBatchWorkedByHand) {
    const notice::Outcome out =
        notice::compute(jgjBasis(), {.sandMoisture = 3, .stoneMoisture = 1, .batchVolume = 2});
    ASSERT_TRUE(out) << out.refusal.message;
    const notice::Mix& c = out.notice->construction;
    EXPECT_EQ(c.sand, 794);
    EXPECT_EQ(c.stone, 1120);
    EXPECT_EQ(c.water, 144);
    EXPECT_EQ(c.cement, 274);
    EXPECT_EQ(c.binder, 342);
    EXPECT_EQ(c.admixture, 5.13);
    ASSERT_TRUE(out.notice->batch);
    EXPECT_EQ(out.notice->batch->sand, 1588);
    EXPECT_EQ(out.notice->batch->water, 288);
    EXPECT_EQ(out.notice->batch->admixture, 10.26);
}

// Ties on the exact value, half up: the classic defaults 678.7865 kg of sand
// at 3.5 % and 1206.731 kg of stone at 0.5 %, in batches of 0.5 m³:
// 678.7865 × 1.035 = 702.5440… → 703, and 703 × 0.5 = 351.5 → 352;
// 1206.731 × 1.005 = 1212.7647 → 1213, 1213 × 0.5 = 606.5 → 607; water
// 180 − 23.7575275 − 6.033655 = 150.2088… → 150.
TEST(Notice, RoundsHalfUpOnTheExactValue) {
    notice::Basis b;
    b.mix = {.binder = 346.15, .cement = 346.15, .water = 180, .sand = 678.7865, .stone = 1206.731};
    b.waterBinder = 0.52;
    b.waterCement = true;
    const notice::Outcome out =
        notice::compute(b, {.sandMoisture = 3.5, .stoneMoisture = 0.5, .batchVolume = 0.5});
    ASSERT_TRUE(out);
    EXPECT_EQ(out.notice->construction.sand, 703);
    EXPECT_EQ(out.notice->construction.stone, 1213);
    EXPECT_EQ(out.notice->construction.water, 150);
    EXPECT_EQ(out.notice->construction.cement, 346);
    EXPECT_EQ(out.notice->batch->sand, 352);
    EXPECT_EQ(out.notice->batch->stone, 607);
    // Dry and without a batch volume: the mix itself, and no batch.
    const notice::Outcome dry = notice::compute(b, {});
    ASSERT_TRUE(dry);
    EXPECT_EQ(dry.notice->construction.sand, 679);
    EXPECT_FALSE(dry.notice->batch);
}

struct Refused {
    const char* name;
    notice::Details details;
    const char* entry;
};

class NoticeRefused : public ::testing::TestWithParam<Refused> {};

TEST_P(NoticeRefused, NamesTheEntry) {
    const notice::Outcome out = notice::compute(jgjBasis(), GetParam().details);
    ASSERT_FALSE(out);
    EXPECT_EQ(out.refusal.entry, GetParam().entry);
    EXPECT_EQ(out.refusal.message.find('\n'), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, NoticeRefused,
    ::testing::Values(Refused{"SandMoistureOfAHundred", {.sandMoisture = 100}, "sandMoisture"},
                      Refused{"NegativeStoneMoisture", {.stoneMoisture = -0.1}, "stoneMoisture"},
                      Refused{"NoBatch", {.batchVolume = 0}, "batchVolume"},
                      Refused{"BatchOverTen", {.batchVolume = 10.01}, "batchVolume"},
                      Refused{"MoreWaterInTheAggregatesThanInTheMix",
                              {.sandMoisture = 20, .stoneMoisture = 5},
                              "sandMoisture"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Notice, JustBelowAHundredAndUpToTenAreTaken) {
    EXPECT_TRUE(notice::compute(jgjBasis(), {.stoneMoisture = 0, .batchVolume = 10}));
    EXPECT_TRUE(notice::compute(jgjBasis(), {.sandMoisture = 0, .stoneMoisture = 2}));
}

// The details are part of the design file, for either kind: a change is a
// modification, and the notice of the reopened file is the same.
TEST(NoticeDetails, AreKeptInTheDesignFileOfEitherKind) {
    const std::string classic = R"({"lanshi-design": 1, "fields": {"Text1": "25"}})";
    const std::string jgj = R"({"lanshi-design": 1, "standard": "JGJ 55-2011", "jgj55-2011": )"
                            R"({"fcuk": 30, "cementGrade": "42.5", "stone": "crushed", )"
                            R"("maxSize": 20, "slump": 180}})";
    for (const std::string& bytes : {classic, jgj}) {
        session::OpenedFile file = session::openFile(bytes, {.path = "a", .shown = "a"}, {});
        ASSERT_TRUE(file);
        session::Document& d = *file.document;
        ASSERT_EQ(d.calculateForReport(), "");
        notice::Details details{.number = "PB-1", .sandMoisture = 2.5, .batchVolume = 1};
        details.materials.sand = "中砂";
        d.setNoticeDetails(details);
        EXPECT_TRUE(d.modified());
        const session::Saving saving = d.saveBytes();
        ASSERT_TRUE(saving);
        session::OpenedFile again =
            session::openFile(*saving.bytes, {.path = "a", .shown = "a"}, {});
        ASSERT_TRUE(again) << again.opening.error;
        EXPECT_EQ(again.document->noticeDetails(), details);
        EXPECT_FALSE(again.document->modified());
        ASSERT_EQ(again.document->calculateForReport(), "");
        const session::Reporting made =
            again.document->notice({.date = "2026-12-08", .program = "普通澜石", .version = "1"});
        ASSERT_TRUE(made) << made.refusal;
        const std::string text = report::toText(*made.document);
        EXPECT_NE(text.find("混凝土配合比通知单"), std::string::npos);
        EXPECT_NE(text.find("PB-1"), std::string::npos);
        EXPECT_NE(text.find("作废"), std::string::npos);
        EXPECT_NE(text.find("批准"), std::string::npos);
        EXPECT_TRUE(again.document->noticeJson());
    }
}

// From design to notice by hand, through the document every front end
// uses. The design (C30, 20 % fly ash, 1 % admixture saving 20 %, crushed
// 20 mm, slump 180 mm) is trial-mixed at mw = 185, βs = 40 %; the fitted
// W/B is 0.55, the adjusted mix 269 + 67 fly ash, 185 water, 770 sand, 1109
// stone, 3.36 admixture (ρc,c = 2400); ρc,t = 2450 is 2.08 % more, so every
// material × δ = 1.021: 275, 68, 189, 786, 1132, 3.43. At 3 % and 1 %:
// sand 786 × 1.03 = 809.58 → 810, stone 1132 × 1.01 = 1143.32 → 1143,
// water 189 − 23.58 − 11.32 = 154.1 → 154; per 2 m³ batch 550, 136, 308,
// 1620, 2286 and 6.86 kg.
const std::string kTrialDesign =
    R"({"lanshi-design": 1, "standard": "JGJ 55-2011", "jgj55-2011": {"fcuk": 30, )"
    R"("cementGrade": "42.5", "flyAsh": {"fraction": 0.2}, "admixture": {"fraction": 0.01, )"
    R"("waterReduction": 0.2}, "stone": "crushed", "maxSize": 20, "slump": 180}, )"
    R"("trials": {"mixerCapacity": 60, "water": 185, "sandRatio": 40, "strengths": [)"
    R"({"waterBinder": 0.47, "specimens": [46.2, 47.5, 48.1]}, )"
    R"({"waterBinder": 0.52, "strength": 41.8}, )"
    R"({"waterBinder": 0.57, "specimens": [35.1, 36.9, 43.0]}], "density": 2450}, )"
    R"("notice": {"sandMoisture": 3, "stoneMoisture": 1, "batchVolume": 2}})";

TEST(TrialNotice, FromDesignToNoticeWorkedByHand) {
    session::OpenedFile file = session::openFile(kTrialDesign, {.path = "t", .shown = "t"}, {});
    ASSERT_TRUE(file) << file.opening.error;
    session::Document& d = *file.document;
    ASSERT_EQ(d.calculateForReport(), "");
    const session::Saving json = d.noticeJson();
    ASSERT_TRUE(json) << json.error;
    const nlohmann::json n = nlohmann::json::parse(*json.bytes);
    EXPECT_EQ(n["basis"], "lab");
    EXPECT_EQ(n["lab"], nlohmann::json::parse(R"({"binder": 343, "cement": 275, "flyAsh": 68, )"
                                              R"("slag": 0, "water": 189, "sand": 786, )"
                                              R"("stone": 1132, "admixture": 3.43})"));
    EXPECT_EQ(n["construction"]["sand"], 810);
    EXPECT_EQ(n["construction"]["stone"], 1143);
    EXPECT_EQ(n["construction"]["water"], 154);
    EXPECT_EQ(n["batch"], nlohmann::json::parse(R"({"binder": 686, "cement": 550, "flyAsh": 136, )"
                                                R"("slag": 0, "water": 308, "sand": 1620, )"
                                                R"("stone": 2286, "admixture": 6.86})"));
    const session::Reporting made =
        d.notice({.date = "2026-12-08", .program = "p", .version = "1"});
    ASSERT_TRUE(made);
    EXPECT_NE(report::toText(*made.document).find("试验室配合比"), std::string::npos);

    // The report carries the trials as a chapter and as data.
    const session::Reporting reported = d.report({.date = "2026-12-08"});
    ASSERT_TRUE(reported) << reported.refusal;
    const std::string text = report::toText(*reported.document);
    EXPECT_NE(text.find("五、试配、调整与确定"), std::string::npos);
    EXPECT_NE(text.find("δ = ρc,t / ρc,c = 2450 / 2400 = 1.021"), std::string::npos) << text;
    const nlohmann::json r = nlohmann::json::parse(*d.resultJson().bytes);
    const nlohmann::json& t = r["trial"];
    EXPECT_EQ(t["batchLitres"], 20);
    EXPECT_EQ(t["mixes"].size(), 3u);
    EXPECT_EQ(t["mixes"][0]["waterBinder"], 0.47);
    EXPECT_EQ(t["mixes"][2]["sand"], 775);
    EXPECT_EQ(t["fit"]["b"], 27.83);
    EXPECT_EQ(t["binderWater"], 1.798);
    EXPECT_EQ(t["waterBinder"], 0.55);
    EXPECT_EQ(t["computedDensity"], 2400);
    EXPECT_EQ(t["measuredDensity"], 2450);
    EXPECT_EQ(t["delta"], 1.021);
    EXPECT_EQ(t["corrected"], true);
    EXPECT_EQ(t["lab"]["stone"], 1132);

    // Saved untouched, the same bytes as this program writes the design.
    EXPECT_FALSE(d.modified());
}

// Bad trial data stops the report and the notice with a line naming the
// entry, while the design keeps its figures and the file keeps what was
// typed; without a density the notice stays on the calculated mix.
TEST(TrialNotice, BadTrialsLoseNothing) {
    session::Jgj55Form form({});
    ASSERT_TRUE(form.openBytes(kTrialDesign, {.path = "t", .shown = "t"}).opened);
    jgj55::Trials trials = *form.trials();
    trials.strengths[1].strength = -41.8;
    form.setTrials(trials);
    EXPECT_EQ(form.result("waterBinder").text, "0.52");
    EXPECT_TRUE(form.status().error);
    EXPECT_NE(form.status().text.find("第 2 组的强度须为正数"), std::string::npos)
        << form.status().text;
    EXPECT_FALSE(form.report({}));
    form.noReport(session::Jgj55Form::ReportUse::Preview);
    EXPECT_EQ(form.status().text.rfind("试配数据有误，没有计算书可预览。试配：试配强度第 2 组", 0),
              0U)
        << form.status().text;
    EXPECT_FALSE(form.resultJson());
    EXPECT_FALSE(form.noticeJson());
    EXPECT_TRUE(form.modified());
    const session::Saving saved = form.saveBytes();
    ASSERT_TRUE(saved);
    EXPECT_NE(saved.bytes->find("-41.8"), std::string::npos);

    trials.strengths[1].strength = 41.8;
    trials.density.reset();
    form.setTrials(trials);
    EXPECT_FALSE(form.status().error) << form.status().text;
    const nlohmann::json n = nlohmann::json::parse(*form.noticeJson().bytes);
    EXPECT_EQ(n["basis"], "calculated");
    EXPECT_EQ(n["lab"]["binder"], 365); // the calculated mix
}

TEST(NoticeDetails, AFileWithAWrongBlockIsRefusedByTheStrictReader) {
    const notice::DetailsReading bad =
        notice::readDetails(nlohmann::json::parse(R"({"sandMoisture": "3%"})"));
    EXPECT_FALSE(bad);
    EXPECT_NE(bad.error.find("sandMoisture"), std::string::npos);
    EXPECT_FALSE(notice::readDetails(nlohmann::json::parse(R"({"colour": 1})")));
}

} // namespace
