// The classic window's behaviour without any window: what each event asks of
// the front end (boxes, focus, end, page), and when replacing the sheet must
// ask about unsaved changes. The desktop and the page carry out exactly
// these effects, so a slip here is a slip in both.
#include "calc/memorysheet.h"
#include "calc/stages.h"
#include "design/designfile.h"
#include "design/provenance.h"
#include "report/report.h"
#include "session/classicwindow.h"
#include "session/identity.h"

#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace {

using session::Box;
using session::ClassicWindow;
using session::Effects;
using session::Event;
using session::Icon;

Box warning(std::string text) {
    return {Icon::warning, std::string(session::kApplicationName), std::move(text)};
}

struct EventCase {
    const char* name;
    std::vector<std::pair<calc::TextField, const char*>> typed; // after the load
    Event event;
    Effects effects;
    const char* text12; // Text12 afterwards: calculated, reset or untouched
};

Effects withFocus(std::vector<Box> boxes, std::optional<std::string> focus) {
    Effects e;
    e.boxes = std::move(boxes);
    e.focus = std::move(focus);
    return e;
}

const Box kLeavingUnsaved{.icon = Icon::question,
                          .title = std::string(session::kApplicationName),
                          .text = "当前设计已修改，尚未保存。\n关闭之前，是否保存？",
                          .buttons = session::Buttons::saveDiscardCancel};

Effects exitingAfter(std::optional<Box> question) {
    Effects e;
    e.exit = true;
    e.leaving = std::move(question);
    return e;
}

Effects opening(std::string url) {
    Effects e;
    e.openUrl = std::move(url);
    return e;
}

void PrintTo(const EventCase& c, std::ostream* os) {
    *os << c.name;
}

} // namespace

namespace session {

void PrintTo(const Effects& e, std::ostream* os) {
    for (const Box& box : e.boxes) {
        *os << "box(" << static_cast<int>(box.icon) << ", " << box.title << ", " << box.text
            << ") ";
    }
    *os << "focus " << e.focus.value_or("-") << ", exit " << e.exit << ", url "
        << e.openUrl.value_or("-");
}

void PrintTo(const Box& box, std::ostream* os) {
    *os << static_cast<int>(box.icon) << ", " << box.title << ", " << box.text;
}

} // namespace session

namespace {

class EventTest : public ::testing::TestWithParam<EventCase> {};

TEST_P(EventTest, AsksTheFrontEndForExactlyThis) {
    const EventCase& c = GetParam();
    calc::MemorySheet sheet;
    ClassicWindow window(sheet);
    window.event(Event::load);
    sheet.setText(calc::Text12, "砂?");
    for (const auto& [field, text] : c.typed) {
        sheet.setText(field, text);
        window.edited(field);
    }
    EXPECT_EQ(window.event(c.event), c.effects);
    EXPECT_EQ(sheet.text(calc::Text12), c.text12);
}

INSTANTIATE_TEST_SUITE_P(
    ClassicWindow, EventTest,
    ::testing::Values(
        // The first tab stop is 粗砂; Tab into its group lands on the
        // selected member, which the reset has made 细砂.
        EventCase{"load", {}, Event::load, withFocus({}, "细砂"), "砂"},
        EventCase{"calculate", {}, Event::calculate, {}, "678.7865"},
        EventCase{
            "unreadable",
            {{calc::Text5, "abc"}},
            Event::calculate,
            withFocus(
                {warning("计算中止：“水泥28天强度”的内容不是有效数字。\n（第二步读取此项时）")},
                "Text5"),
            "砂?"},
        EventCase{"zeroRatio",
                  {{calc::Text8, "0"}},
                  Event::calculate,
                  withFocus({warning("计算中止：第三步 中除数为零（“水灰比”为 0）。")}, "Text8"),
                  "砂?"},
        EventCase{"help",
                  {},
                  Event::help,
                  withFocus({{Icon::none, "青禾工作室", "澜石"}}, std::nullopt),
                  "砂?"},
        EventCase{"clear", {{calc::Text1, "35"}}, Event::clear, {}, "砂"},
        // Unsaved: the sheet is not the one a new window shows.
        EventCase{"exit", {}, Event::exit, exitingAfter(kLeavingUnsaved), "砂?"},
        EventCase{"moreSoftware",
                  {},
                  Event::moreSoftware,
                  opening(std::string(session::kMakerPage)),
                  "砂?"}),
    [](const ::testing::TestParamInfo<EventCase>& row) { return std::string(row.param.name); });

TEST(ClassicWindowEvents, AreNamedAsTheWindowsControls) {
    EXPECT_EQ(session::eventByName("load"), Event::load);
    EXPECT_EQ(session::eventByName("Command1"), Event::calculate);
    EXPECT_EQ(session::eventByName("Command5"), Event::moreSoftware);
    EXPECT_EQ(session::eventByName("Command6"), std::nullopt);
    EXPECT_EQ(session::eventByName("计算"), std::nullopt); // never by caption
}

// When opening another design asks first: only while the sheet differs from
// what was last opened or saved, whatever was done to it in between.
TEST(ClassicWindowReplace, AsksOnlyWhileTheSheetDiffersFromItsFile) {
    calc::MemorySheet sheet;
    ClassicWindow window(sheet);
    window.event(Event::load);
    EXPECT_EQ(window.mayReplace(), std::nullopt) << "a fresh sheet";

    window.event(Event::calculate);
    const std::optional<Box> unsaved = window.mayReplace();
    ASSERT_TRUE(unsaved.has_value()) << "a calculation changes the sheet";
    EXPECT_EQ(unsaved->text, "当前设计已修改，尚未保存。\n打开另一个设计之前，是否保存？");
    EXPECT_EQ(unsaved->buttons, session::Buttons::saveDiscardCancel);
    EXPECT_EQ(unsaved->icon, Icon::question);

    window.event(Event::clear);
    sheet.setText(calc::Text30, "");
    sheet.setText(calc::Text31, "");
    sheet.setText(calc::Text32, "");
    sheet.setText(calc::Text33, "");
    EXPECT_EQ(window.mayReplace(), std::nullopt) << "back to the start state";

    sheet.setText(calc::Text1, "30");
    const session::Saving saving = window.saveBytes();
    ASSERT_TRUE(saving.bytes.has_value());
    EXPECT_TRUE(window.modified()) << "not saved until the bytes are written";
    window.savedAs(saving, {.path = "/home/a/C30.lanshi", .shown = "/home/a/C30.lanshi"});
    EXPECT_EQ(window.mayReplace(), std::nullopt);
    EXPECT_EQ(window.caption(), std::string(session::kWindowCaption) + " - C30.lanshi");

    sheet.select(calc::Option::option2);
    const std::optional<Box> named = window.mayReplace();
    ASSERT_TRUE(named.has_value()) << "a choice is a change too";
    EXPECT_EQ(named->text, "设计“C30.lanshi”已修改。\n打开另一个设计之前，是否保存修改？");
}

// A file that does not fit the sheet leaves it exactly as it was: not a
// field, not the file it came from, not the last calculation.
TEST(ClassicWindowOpen, RefusedOrElsewhereLeavesTheSheetAsItWas) {
    calc::MemorySheet sheet;
    ClassicWindow window(sheet);
    window.event(Event::load);
    window.event(Event::calculate);
    const calc::MemorySheet before = sheet;

    const session::OpenResult jgj =
        window.open(R"({"lanshi-design": 1, "standard": "JGJ 55-2011"})",
                    {.path = "/a/b.lanshi", .shown = "b"});
    EXPECT_TRUE(jgj.elsewhere);
    EXPECT_FALSE(jgj.opened);
    EXPECT_TRUE(jgj.boxes.empty());

    const session::OpenResult broken =
        window.open(R"({"lanshi-design": 1, "fields": [})",
                    {.path = "/a/c.lanshi", .shown = "C:\\a\\c.lanshi"});
    EXPECT_FALSE(broken.opened);
    EXPECT_FALSE(broken.elsewhere);
    ASSERT_EQ(broken.boxes.size(), 1U);
    EXPECT_EQ(broken.boxes[0].text.rfind("无法打开设计文件“C:\\a\\c.lanshi”：\n", 0), 0U)
        << broken.boxes[0].text;

    EXPECT_EQ(sheet, before);
    EXPECT_EQ(window.file(), "");
    EXPECT_TRUE(window.reportOrBox("2024-05-01").document.has_value());
}

// A saved design put on `sheet` as the window and `lanshi --report` open it.
design::Opened openedAgain(const std::string& bytes, calc::Sheet& sheet) {
    const design::ReadResult read = design::open(bytes, {});
    EXPECT_TRUE(read) << read.error;
    return read ? design::openInto(*read.design, sheet) : design::Opened{};
}

TEST(ClassicWindowSave, AfterAnEntryChangedTheCalculationIsNotClaimed) {
    calc::MemorySheet sheet;
    ClassicWindow window(sheet);
    window.event(Event::load);
    window.event(Event::calculate);
    sheet.setText(calc::Text3, "5");
    window.edited(calc::Text3);
    const session::Saving saving = window.saveBytes();
    ASSERT_TRUE(saving.bytes);
    calc::MemorySheet other;
    const design::Opened opened = openedAgain(*saving.bytes, other);
    EXPECT_FALSE(opened.setAside) << *saving.bytes;
    EXPECT_FALSE(opened.last);
    // What the calculation wrote and still stands is kept all the same.
    EXPECT_EQ(opened.provenance.source(calc::Text8, other), 1);
}

// A press that stops leaves what the press before it wrote: saved, opened,
// mended and pressed again, the report shows that first press's working.
TEST(ClassicWindowSave, AStoppedCalculationKeepsTheEarlierWorking) {
    calc::MemorySheet sheet;
    ClassicWindow window(sheet);
    window.event(Event::load);
    window.event(Event::calculate);
    sheet.setText(calc::Text21, "0.03");
    window.edited(calc::Text21);
    sheet.setText(calc::Text24, "wet");
    window.edited(calc::Text24);
    ASSERT_FALSE(
        window.event(Event::calculate).boxes.empty()); // stopped: the moisture is no number
    const session::Saving saving = window.saveBytes();
    ASSERT_TRUE(saving.bytes);

    calc::MemorySheet other;
    ClassicWindow reopened(other);
    reopened.event(Event::load);
    ASSERT_TRUE(
        reopened.open(*saving.bytes, {.path = "/a/C20.lanshi", .shown = "C20.lanshi"}).opened);
    other.setText(calc::Text24, "0.01");
    reopened.edited(calc::Text24);
    ASSERT_TRUE(reopened.event(Event::calculate).boxes.empty());
    const session::ReportResult shown = reopened.reportOrBox("2024-05-01");
    ASSERT_TRUE(shown.document);
    const std::string text = report::toText(*shown.document);
    EXPECT_NE(text.find("fcu,0 = fcu,k + 1.645σ = 20 + 1.645 × 4 = 26.58 MPa"), std::string::npos)
        << text;
    EXPECT_EQ(text.find("（输入值）"), std::string::npos) << text;
}

} // namespace

namespace {

// The foot of the classic window after 计算: each finding as the user reads
// it, with its figures, never a blank.
struct FindingCase {
    const char* name;
    std::vector<std::pair<calc::TextField, const char*>> before; // typed before the first 计算
    std::vector<std::pair<calc::TextField, const char*>> then;   // typed before the second
    const char* finding;                                         // a line of the foot
};

class ClassicFindings : public ::testing::TestWithParam<FindingCase> {};

TEST_P(ClassicFindings, AreSaidAtTheFoot) {
    calc::MemorySheet sheet;
    ClassicWindow window(sheet);
    window.event(Event::load);
    const auto type = [&](const auto& typed) {
        for (const auto& [field, text] : typed) {
            sheet.setText(field, text);
            window.edited(field);
        }
    };
    type(GetParam().before);
    window.event(Event::calculate);
    type(GetParam().then);
    window.event(Event::calculate);
    std::string all;
    for (const std::string& line : window.findings()) {
        all += line + "\n";
    }
    EXPECT_NE(all.find(GetParam().finding), std::string::npos) << all;
}

INSTANTIATE_TEST_SUITE_P(
    Foot, ClassicFindings,
    ::testing::Values(
        FindingCase{"DesignStrengthOfAnEarlierClass",
                    {},
                    {{calc::Text1, "30"}},
                    "混凝土配置强度 26.58 由 Fcu,k 20 算得，Fcu,k 现为 30"},
        FindingCase{"CementOfAnEarlierWater",
                    {},
                    {{calc::Text26, "170"}},
                    "水泥用量 346.15 由 用水量 180 算得，用水量 现为 170"},
        FindingCase{"CementFromAnEmptyWater",
                    {{calc::Text26, ""}, {calc::Text4, ""}},
                    {{calc::Text26, "195"}},
                    "水泥用量 260 由 用水量 （空） 算得，用水量 现为 195"},
        FindingCase{"SandRatioAsAPercentage",
                    {},
                    {{calc::Text15, "36"}},
                    "砂率 36 大于 1：本窗口的砂率以小数表示，如 0.36"},
        FindingCase{
            "ANegativeStone", {}, {{calc::Text15, "36"}}, "每立方米石子用量 -65993.13 kg 不是正数"},
        FindingCase{"MoistureAsAPercentage",
                    {},
                    {{calc::Text21, "3"}, {calc::Text24, "0.01"}},
                    "砂子w 3 大于 1：本窗口的含水率以小数表示，如 0.03"},
        FindingCase{"WaterCementRatioBeyondConcrete",
                    {},
                    {{calc::Text8, "1.5"}, {calc::Text10, ""}, {calc::Text4, ""}},
                    "水灰比 1.5 不在 0.2～1.2 之间"},
        FindingCase{
            "CementBeyondConcrete", {}, {{calc::Text4, "1200"}}, "水泥用量 1200 大于 1000 kg/m³"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(ClassicFindingsNone, AfterACleanCalculationTheFootIsEmpty) {
    calc::MemorySheet sheet;
    ClassicWindow window(sheet);
    window.event(Event::load);
    window.event(Event::calculate);
    EXPECT_TRUE(window.findings().empty());
    sheet.setText(calc::Text1, "30");
    window.edited(calc::Text1);
    window.event(Event::calculate);
    EXPECT_FALSE(window.findings().empty());
    window.event(Event::clear);
    EXPECT_TRUE(window.findings().empty()) << "清零 clears the foot";
}

// 全部重新计算 empties what a calculation wrote and keeps what was typed.
TEST(ClassicRecalculateAll, RecomputesWhatACalculationWroteAndKeepsWhatWasTyped) {
    calc::MemorySheet sheet;
    ClassicWindow window(sheet);
    window.event(Event::load);
    window.event(Event::calculate);
    sheet.setText(calc::Text1, "30");
    window.edited(calc::Text1);
    window.event(Event::calculate);
    ASSERT_EQ(sheet.text(calc::Text2), "26.58") << "the classic rule keeps it";
    EXPECT_TRUE(window.recalculateAll().boxes.empty());
    // 30 + 1.645 × 4: the window's σ stays the typed 4.
    EXPECT_EQ(sheet.text(calc::Text2), "36.58");
    EXPECT_TRUE(window.findings().empty());

    sheet.setText(calc::Text8, "0.5");
    window.edited(calc::Text8);
    sheet.setText(calc::Text1, "25");
    window.edited(calc::Text1);
    window.recalculateAll();
    EXPECT_EQ(sheet.text(calc::Text8), "0.5") << "typed: kept as given";
    EXPECT_EQ(sheet.text(calc::Text2), "31.58");
}

} // namespace
