// The mix notice: the construction mix for the day's moisture and the
// quantities per batch, worked by hand, its refusals, and its details kept in
// the design file of either kind.
#include "notice/notice.h"
#include "report/report.h"
#include "session/document.h"

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

TEST(NoticeDetails, AFileWithAWrongBlockIsRefusedByTheStrictReader) {
    const notice::DetailsReading bad =
        notice::readDetails(nlohmann::json::parse(R"({"sandMoisture": "3%"})"));
    EXPECT_FALSE(bad);
    EXPECT_NE(bad.error.find("sandMoisture"), std::string::npos);
    EXPECT_FALSE(notice::readDetails(nlohmann::json::parse(R"({"colour": 1})")));
}

} // namespace
