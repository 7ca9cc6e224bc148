// The mix notice (配合比通知单): what the laboratory hands the plant. From the
// design's mix per m³ (the laboratory mix when trials adjusted it, else the
// calculated mix), the construction mix for the day's moisture of the sand
// and the stone, and the quantities per batch of the plant's mixer.
//
//     notice::Basis basis{.kind = notice::Basis::Kind::Calculated, .mix = ..., ...};
//     notice::Details details{.sandMoisture = 3.0, .stoneMoisture = 1.0, .batchVolume = 1.0};
//     const notice::Outcome out = notice::compute(basis, details);
//     if (out) { ... out.notice->construction.sand ... } else { ... out.refusal.message ... }
//
// Every figure is rounded half up on its exact decimal value (calc/decimal.h),
// from the figures as the design gives them: the construction mix to 1 kg,
// the admixture to 0.01 kg; the batch from the construction mix as printed.
// Standard C++ and nlohmann-json; the notice as a document is
// report/noticereport.h's.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace notice {

// The masses of one cubic metre of concrete (or of one batch), kg.
struct Mix {
    double binder = 0.0; // cement + fly ash + slag
    double cement = 0.0;
    double flyAsh = 0.0;
    double slag = 0.0;
    double water = 0.0;
    double sand = 0.0;
    double stone = 0.0;
    double admixture = 0.0;
    friend bool operator==(const Mix&, const Mix&) = default;
};

// What the design gives the notice.
struct Basis {
    enum class Kind { Lab, Calculated };
    Kind kind = Kind::Calculated;
    Mix mix;                         // per m³, aggregates dry
    std::string strengthClass;       // "C30"
    std::optional<double> slump;     // mm
    double waterBinder = 0.0;        // W/B (the classic design: W/C)
    bool waterCement = false;        // the ratio is water to cement (no mineral admixture)
    std::optional<double> sandRatio; // %
    std::string standard;            // the design's basis, as the notice names it
};

// The materials as the laboratory names them: free texts.
struct Materials {
    std::string cement; // "P·O 42.5 某厂"
    std::string sand;   // "中砂 II区 细度模数 2.6"
    std::string stone;  // "5～25 mm 碎石"
    std::string flyAsh;
    std::string slag;
    std::string admixture;
    bool empty() const {
        return cement.empty() && sand.empty() && stone.empty() && flyAsh.empty() && slag.empty() &&
               admixture.empty();
    }
    friend bool operator==(const Materials&, const Materials&) = default;
};

// What the laboratory types for the notice; a design file keeps it under
// "notice" (absent keys: none).
struct Details {
    std::string number;                  // 编号
    std::optional<double> sandMoisture;  // %, of the dry sand
    std::optional<double> stoneMoisture; // %
    std::optional<double> batchVolume;   // m³ per batch of the mixer
    Materials materials;
    std::string permeability; // 抗渗等级 "P8"
    std::string frost;        // 抗冻等级 "F150"
    bool empty() const {
        return number.empty() && !sandMoisture && !stoneMoisture && !batchVolume &&
               materials.empty() && permeability.empty() && frost.empty();
    }
    friend bool operator==(const Details&, const Details&) = default;
};

// One entry of the details as every front end's dialog asks it: a number
// (its member, its unit, the largest value and the decimals a dialog takes)
// or a text (its accessor).
struct Field {
    std::string_view key;     // the key under "notice"
    std::string_view caption; // "砂含水率"
    std::string_view unit;    // "%", "m³"; empty for a text
    std::optional<double> Details::*number = nullptr;
    std::string& (*text)(Details&) = nullptr;
    double largest = 0.0;
    int decimals = 0;
};

// The entries in the order the dialogs ask them.
std::span<const Field> fields();

struct Notice {
    Basis basis;
    Mix lab;                           // the basis's mix as the notice prints it
    Mix construction;                  // for the day's moisture
    double sandMoisture = 0.0;         // %
    double stoneMoisture = 0.0;        // %
    std::optional<double> batchVolume; // m³
    std::optional<Mix> batch;
};

// Input the notice cannot take: one line of Chinese and the key of "notice"
// it concerns.
struct NoticeRefusal {
    std::string message;
    std::string entry; // "sandMoisture"
};

struct Outcome {
    std::optional<Notice> notice;
    NoticeRefusal refusal; // meaningful without a notice
    explicit operator bool() const { return notice.has_value(); }
};

// The notice of `basis` for the details. Refused: a moisture below 0 or not
// below 100 %, a batch volume not above 0 or above 10 m³, a basis whose
// masses are not positive (water and admixture may be 0).
Outcome compute(const Basis& basis, const Details& details);

// The "notice" block of a design file, keys in a fixed order, only those
// given; read strictly, with the reason in Chinese naming the key.
nlohmann::ordered_json detailsBlock(const Details& details);
struct DetailsReading {
    std::optional<Details> details;
    std::string error;
    explicit operator bool() const { return details.has_value(); }
};
DetailsReading readDetails(const nlohmann::json& block);
inline constexpr std::string_view kNoticeKey = "notice";

// `lanshi --notice D -o N.json`: {"basis": "lab" | "calculated", "lab",
// "construction", "batch" (null without a batch volume)}, each the eight
// masses; two-space indented, a final line feed.
std::string resultJson(const Notice& notice);

} // namespace notice
