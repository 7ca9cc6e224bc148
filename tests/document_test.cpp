// The document layer every front end goes through: which kind a file is, how
// it is read from the disk, whether a change would be lost, what a report is
// written for, and that a design opened and saved untouched keeps its bytes.
#include "design/designfile.h"
#include "jgj55/designfile.h"
#include "jgj55/inputs.h"
#include "report/report.h"
#include "session/classicwindow.h"
#include "session/document.h"
#include "session/jgj55form.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <sys/stat.h>

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using session::DocumentKind;

const std::string kClassic = R"({"lanshi-design": 1, "fields": {"Text1": "25"}})";

std::string jgj55File(const std::string& body, const std::string& rest = "") {
    return R"({"lanshi-design": 1, "standard": "JGJ 55-2011", "jgj55-2011": )" + body + rest + "}";
}

const std::string kExample = R"({"fcuk": 30, "cementGrade": "42.5", "stone": "crushed", )"
                             R"("maxSize": 20, "slump": 180})";

session::OpenedFile opened(const std::string& bytes) {
    return session::openFile(bytes, {.path = "/a/b.lanshi", .shown = "b.lanshi"}, {});
}

TEST(DocumentKind, IsDecidedByTheStandardTheFileNames) {
    EXPECT_EQ(session::documentKind(kClassic), DocumentKind::classic);
    EXPECT_EQ(session::documentKind(jgj55File(kExample)), DocumentKind::jgj55);
    // An unknown standard is the JGJ reader's to refuse, with its reason.
    EXPECT_EQ(session::documentKind(R"({"standard": "GB 99"})"), DocumentKind::jgj55);
    EXPECT_EQ(session::documentKind(R"({"standard": ""})"), DocumentKind::jgj55);
    // Not JSON at all: the classic reader says what is wrong.
    EXPECT_EQ(session::documentKind("\xff\xfe"), DocumentKind::classic);
    const session::OpenedFile unknown = opened(R"({"lanshi-design": 1, "standard": "GB 99"})");
    EXPECT_FALSE(unknown);
    EXPECT_NE(unknown.opening.error.find("「standard」"), std::string::npos);
}

// Opening only shows: a figure the file holds is shown as the shortest text
// that reads back as it, designed as it stands, and saved untouched it is
// the same file.
TEST(Jgj55Document, OpeningChangesNothing) {
    const std::string bytes =
        jgj55::serialize(*jgj55::read(jgj55File(R"({"fcuk": 30.02499999, "flyAsh": )"
                                                R"({"fraction": 0.123456789}, "cementGrade": )"
                                                R"("42.5", "stone": "crushed", "maxSize": 20, )"
                                                R"("slump": 180})"))
                              .input);
    session::Jgj55Form form({});
    ASSERT_TRUE(form.openBytes(bytes, {.path = "a.lanshi", .shown = "a.lanshi"}).opened);
    EXPECT_EQ(form.text("fcuk"), "30.02499999");
    EXPECT_EQ(form.text("flyAsh.fraction"), "12.3456789");
    EXPECT_EQ(form.result("fcu0").text, "38.2"); // 30.02499999 + 8.225, not 30.025 + 8.225
    EXPECT_FALSE(form.modified());
    EXPECT_EQ(*form.saveBytes().bytes, bytes);

    // Under a decimal comma the same figures, the same file.
    session::Jgj55Form german({.decimal = ",", .group = ".", .groupSize = 3, .negative = "-"});
    ASSERT_TRUE(german.openBytes(bytes, {.path = "a.lanshi", .shown = "a.lanshi"}).opened);
    EXPECT_EQ(german.text("flyAsh.fraction"), "12,3456789");
    EXPECT_EQ(*german.saveBytes().bytes, bytes);
}

// A choice the file leaves out stays out, and a group it names stays named.
TEST(Jgj55Document, AddsNoKeyTheFileLacks) {
    const std::string bytes = jgj55File(R"({
    "fcuk": 30,
    "flyAsh": {
      "grade": "I"
    },
    "stone": "crushed",
    "maxSize": 20,
    "slump": 180
  })");
    const session::OpenedFile file = opened(bytes);
    ASSERT_TRUE(file) << file.opening.error;
    EXPECT_FALSE(file.document->modified());
    const std::string saved = *file.document->saveBytes().bytes;
    EXPECT_EQ(saved.find("structure"), std::string::npos) << saved;
    EXPECT_EQ(saved.find("method"), std::string::npos) << saved;
    EXPECT_NE(saved.find(R"("grade": "I")"), std::string::npos) << saved;
}

// The project and the trial batch the report is written for are part of the
// design file, for either kind: editing them is a change, which the question
// before another design replaces it does not drop.
TEST(Document, ReportDetailsAreKeptAndTheirEditIsAChange) {
    for (const std::string& bytes : {kClassic, jgj55File(kExample)}) {
        session::OpenedFile file = opened(bytes);
        ASSERT_TRUE(file) << file.opening.error;
        session::Document& document = *file.document;
        ASSERT_FALSE(document.modified());
        session::ReportDetails details = document.reportDetails();
        details.project.name = "澜石大桥";
        details.litres = 25;
        document.setReportDetails(details);
        EXPECT_TRUE(document.modified());
        ASSERT_TRUE(document.mayReplace().has_value());

        const session::Saving saving = document.saveBytes();
        ASSERT_TRUE(saving);
        document.savedAs(saving, {.path = "/a/c.lanshi", .shown = "c.lanshi"});
        EXPECT_FALSE(document.modified());

        const session::OpenedFile again = opened(*saving.bytes);
        ASSERT_TRUE(again) << again.opening.error;
        EXPECT_EQ(again.document->reportDetails(), details);
        EXPECT_FALSE(again.document->modified());
        EXPECT_EQ(*again.document->saveBytes().bytes, *saving.bytes);
        ASSERT_EQ(again.document->calculateForReport(), "");
        const session::Reporting made = again.document->report(
            {.date = "2024-05-01", .program = "普通澜石", .version = "1.00"});
        ASSERT_TRUE(made) << made.refusal;
        const std::string text = report::toText(*made.document);
        EXPECT_NE(text.find("澜石大桥"), std::string::npos);
        EXPECT_NE(text.find("试拌 25 L"), std::string::npos) << text;
    }
}

// The command line and the page's report call take either kind through the
// same layer.
TEST(Document, AFileOfEitherKindGivesItsReportAndResults) {
    for (const std::string& bytes : {kClassic, jgj55File(kExample)}) {
        session::OpenedFile file = opened(bytes);
        ASSERT_TRUE(file);
        ASSERT_EQ(file.document->calculateForReport(), "");
        EXPECT_TRUE(file.document->report({}));
        EXPECT_TRUE(file.document->resultJson());
    }
    // A design that cannot be designed says why, in one line.
    session::OpenedFile refused = opened(jgj55File(R"({"fcuk": 30})"));
    ASSERT_TRUE(refused);
    const std::string why = refused.document->calculateForReport();
    EXPECT_FALSE(why.empty());
    EXPECT_EQ(refused.document->report({}).refusal, why);
}

struct LitresCase {
    const char* name;
    double litres;
    bool fits;
};

class TrialBatch : public ::testing::TestWithParam<LitresCase> {};

TEST_P(TrialBatch, HasOneRangeForEveryFrontEnd) {
    EXPECT_EQ(session::batchLitresProblem(GetParam().litres).empty(), GetParam().fits);
}

INSTANTIATE_TEST_SUITE_P(Litres, TrialBatch,
                         ::testing::Values(LitresCase{"Smallest", 0.1, true},
                                           LitresCase{"BelowTheSmallest", 0.09, false},
                                           LitresCase{"Largest", 10000, true},
                                           LitresCase{"AboveTheLargest", 10000.01, false},
                                           LitresCase{"Zero", 0, false},
                                           LitresCase{"NotANumber", std::nan(""), false},
                                           LitresCase{"Infinite", HUGE_VAL, false}),
                         [](const auto& row) { return std::string(row.param.name); });

class DiskTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = fs::temp_directory_path() / ("lanshi-document-" +
                                                std::to_string(::testing::UnitTest::GetInstance()
                                                                   ->current_test_info()
                                                                   ->result()
                                                                   ->elapsed_time()) +
                                                std::to_string(std::random_device{}()));
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }
    fs::path m_folder;
};

// A device or a pipe is refused from its kind, before it is opened: a link
// to /dev/zero is not read until memory runs out, and a pipe nobody writes
// to does not hold the program up.
TEST_F(DiskTest, DevicesAndPipesAreRefusedAtOnce) {
    const fs::path zero = m_folder / "z.lanshi";
    fs::create_symlink("/dev/zero", zero);
    const fs::path pipe = m_folder / "fifo.lanshi";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    for (const fs::path& path : {zero, pipe}) {
        const auto start = std::chrono::steady_clock::now();
        const design::FileBytes read = design::readBytes(path);
        EXPECT_FALSE(read) << path;
        EXPECT_NE(read.error.find("不是普通文件"), std::string::npos) << read.error;
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    }
}

// One size limit for every kind: a JGJ 55-2011 design padded to 2 MiB is a
// design; a file one byte over the limit is refused as too large.
TEST_F(DiskTest, OneSizeLimitForEveryKind) {
    std::string padded = jgj55File(kExample);
    padded.insert(padded.size() - 1, std::string(std::size_t{2} * 1024 * 1024, ' '));
    const fs::path big = m_folder / "big.lanshi";
    std::ofstream(big, std::ios::binary) << padded;
    const design::FileBytes read = design::readBytes(big);
    ASSERT_TRUE(read) << read.error;
    EXPECT_TRUE(opened(*read.bytes)) << opened(*read.bytes).opening.error;

    const fs::path over = m_folder / "over.lanshi";
    std::ofstream(over, std::ios::binary) << std::string(design::kMaxFileSize + 1, ' ');
    const design::FileBytes refused = design::readBytes(over);
    EXPECT_FALSE(refused);
    EXPECT_NE(refused.error.find("文件太大"), std::string::npos) << refused.error;
}

// The JGJ 55-2011 report's HTML marks the subscript of a symbol wherever it
// stands, not only where a step names it.
TEST(Jgj55Report, MarksEverySymbolItNames) {
    session::OpenedFile file = opened(jgj55File(kExample));
    ASSERT_TRUE(file);
    const session::Reporting made = file.document->report({});
    ASSERT_TRUE(made);
    const std::string text = report::toText(*made.document);
    const std::string html = report::toHtml(*made.document);
    const auto count = [](const std::string& in, const std::string& what) {
        std::size_t n = 0;
        for (std::size_t at = in.find(what); at != std::string::npos;
             at = in.find(what, at + what.size())) {
            ++n;
        }
        return n;
    };
    for (const auto& [plain, marked] :
         {std::pair{"mb0", "m<sub>b0</sub>"}, std::pair{"ρc,c", "ρ<sub>c,c</sub>"},
          std::pair{"ms0", "m<sub>s0</sub>"}, std::pair{"fcu,0", "f<sub>cu,0</sub>"}}) {
        ASSERT_GT(count(text, plain), 1U) << plain;
        EXPECT_EQ(count(html, marked), count(text, plain)) << plain;
    }
}

// Every design the writer can make opens and saves to the same bytes, with
// nothing to save right after the open and the save, and something as soon
// as an input the file holds changes.
TEST(Jgj55Document, EveryDesignTheWriterMakesKeepsItsBytes) {
    std::mt19937 random(20261208);
    const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    for (int round = 0; round < 300; ++round) {
        jgj55::Input in;
        for (const jgj55::InputRow& row : jgj55::inputRows()) {
            if (pick(3) == 0) {
                continue;
            }
            if (row.kind == jgj55::InputRow::Kind::Number) {
                // Any double: whole numbers, short decimals, and the
                // binary noise of arithmetic.
                double value = pick(2) == 0
                                   ? pick(400)
                                   : std::uniform_real_distribution<double>(-1, 500)(random);
                if (pick(3) == 0) {
                    value = std::round(value * 100) / 100;
                }
                row.setNumber(in, value);
            } else {
                row.setChoice(in, row.choices[std::size_t(pick(int(row.choices.size())))].value);
            }
        }
        if (pick(4) == 0) {
            jgj55::makeGroup(in, "slag");
        }
        design::Project project;
        if (pick(2) == 0) {
            project = {.name = "工程" + std::to_string(round), .part = "", .client = "某院"};
        }
        const double litres = pick(2) == 0 ? 20.0 : 0.5 + pick(400) / 4.0;
        // The laboratory's trials, kept as typed however incomplete.
        std::optional<jgj55::Trials> trials;
        if (pick(3) == 0) {
            trials.emplace();
            if (pick(2) == 0) {
                trials->mixerCapacity = pick(200) / 2.0;
            }
            for (int k = pick(5); k > 0; --k) {
                jgj55::TrialStrength s{.waterBinder = 0.3 + pick(40) / 100.0};
                if (pick(2) == 0) {
                    s.strength = std::uniform_real_distribution<double>(-5, 80)(random);
                } else {
                    s.specimens.resize(std::size_t(pick(4)), 30.1 + pick(100) / 10.0);
                }
                trials->strengths.push_back(s);
            }
            if (pick(2) == 0) {
                trials->density = 2300 + pick(200);
            }
        }
        const std::string bytes = jgj55::serialize(in, project, litres, nullptr, trials);

        session::Jgj55Form form({});
        ASSERT_TRUE(form.openBytes(bytes, {.path = "r.lanshi", .shown = "r.lanshi"}).opened)
            << bytes;
        ASSERT_EQ(*form.saveBytes().bytes, bytes);
        EXPECT_FALSE(form.modified()) << bytes;
        const session::Saving saving = form.saveBytes();
        form.savedAs(saving, {.path = "r.lanshi", .shown = "r.lanshi"});
        EXPECT_FALSE(form.modified());

        // Any number field changed to another number is a change.
        const auto& fields = session::Jgj55Form::fields();
        const auto& field = fields[std::size_t(pick(int(fields.size())))];
        if (field.kind == session::Jgj55Form::Kind::Number) {
            const std::string before = form.text(field.key);
            form.setText(field.key, before == "7" ? "8" : "7");
            EXPECT_TRUE(form.modified()) << field.key << " " << before;
        }
    }
}

TEST(ClassicDocument, EveryDesignTheWriterMakesKeepsItsBytes) {
    std::mt19937 random(8122026);
    const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    for (int round = 0; round < 200; ++round) {
        design::Design d = design::startDesign({});
        for (std::string& text : d.texts) {
            switch (pick(4)) {
            case 0:
                text = std::to_string(pick(1000));
                break;
            case 1:
                text = std::to_string(pick(1000)) + "." + std::to_string(pick(100));
                break;
            case 2:
                text.clear();
                break;
            default:
                break;
            }
        }
        const bool volume = pick(2) == 0;
        d.options = {volume, !volume, pick(2) == 0, false};
        d.options[3] = !d.options[2];
        d.checks = {pick(2) == 0, pick(2) == 0};
        if (pick(2) == 0) {
            design::keepProject(d, {.name = "某楼", .part = std::to_string(round), .client = ""});
        }
        design::keepBatchLitres(d, pick(2) == 0 ? 20.0 : 1.0 + pick(50));
        const std::string bytes = design::serialize(d);

        const session::OpenedFile file = opened(bytes);
        ASSERT_TRUE(file) << file.opening.error;
        EXPECT_FALSE(file.document->modified());
        ASSERT_EQ(*file.document->saveBytes().bytes, bytes);
    }
}

} // namespace
