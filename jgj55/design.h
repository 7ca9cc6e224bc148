// A mix design of ordinary concrete to JGJ 55-2011: water-binder ratio with fly
// ash and slag in the binder, a water-reducing admixture, water and sand ratio
// from the standard's tables, the minimum binder content by structure and the
// durability limit by environment.
//
//     jgj55::Input in;
//     in.fcuk = 30; in.cementGrade = jgj55::CementGrade::G42_5;
//     in.stone = jgj55::Stone::Crushed; in.maxSize = 20; in.slump = 50;
//     const jgj55::Outcome out = jgj55::design(in);
//     if (out.result) { ... out.result->cement ... } else { ... out.refusal ... }
//
// Numbers in, numbers out: reading the user's texts and writing figures under
// the regional settings is the caller's work. Each input stands for its
// shortest round-trip decimal, as a design file writes it; each rounded step
// rounds the exact value of its formula half up, computed from those
// decimals and the earlier steps' rounded figures without any binary
// rounding, and the result holds the doubles nearest the figures. Every step is recorded with its
// formula, the values put into it, its result and the table it read, for the
// report. This module has nothing to do with the classic sheet and its stages.
#pragma once

#include "jgj55/tables.h"

#include <array>
#include <functional>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace jgj55 {

// Inside each group, too, an absent value takes its default: no fly ash,
// grade II; no slag, S95; no admixture.
struct FlyAsh {
    std::optional<double> fraction; // of the binder mass
    std::optional<FlyAshGrade> grade;
    std::optional<double> gammaF;
    std::optional<double> density; // kg/m³
    friend bool operator==(const FlyAsh&, const FlyAsh&) = default;
};

struct Slag {
    std::optional<double> fraction;
    std::optional<SlagGrade> grade;
    std::optional<double> gammaS;
    std::optional<double> density;
    friend bool operator==(const Slag&, const Slag&) = default;
};

struct Admixture {
    std::optional<double> fraction;       // of the binder mass
    std::optional<double> waterReduction; // β, a fraction
    friend bool operator==(const Admixture&, const Admixture&) = default;
};

// The design's inputs, named as the design file names them. An absent value
// is taken from the tables or the defaults.
struct Input {
    std::optional<double> fcuk; // MPa, required
    std::optional<double> sigma;
    std::optional<CementType> cementType; // P·O when absent
    std::optional<CementGrade> cementGrade;
    std::optional<double> gammaC;
    std::optional<double> fce; // measured 28-day cement strength, MPa
    std::optional<FlyAsh> flyAsh;
    std::optional<Slag> slag;
    std::optional<Admixture> admixture;
    std::optional<Stone> stone;
    std::optional<double> maxSize;     // mm
    std::optional<double> slump;       // mm
    std::optional<double> vebe;        // s
    std::optional<double> waterBinder; // W/B from trial mixes
    std::optional<double> water;       // mw0′, kg/m³
    std::optional<double> sandRatio;   // %
    std::optional<double> alphaA;
    std::optional<double> alphaB;
    std::optional<Structure> structure;
    std::optional<Environment> environment;
    std::optional<Method> method;
    std::optional<double> assumedDensity;
    std::optional<double> air; // %
    std::optional<double> cementDensity;
    std::optional<double> sandDensity;
    std::optional<double> stoneDensity;
    std::optional<double> waterDensity;
    std::optional<double> sandMoisture;  // %
    std::optional<double> stoneMoisture; // %
    friend bool operator==(const Input&, const Input&) = default;
};

// Where a step's value came from.
enum class Origin {
    Given,    // typed by the user
    Table,    // read from a table (possibly between rows)
    Default,  // a default of the design
    Computed, // a formula of earlier figures
};

// A few figures of a step, kept in place: a design records some thirty steps
// on every keystroke, and a heap block for each would cost more than the
// arithmetic.
class Figures {
public:
    Figures() = default;
    Figures(std::initializer_list<double> list) {
        for (const double x : list) {
            push(x);
        }
    }
    void push(double x) {
        if (m_count < m_values.size()) {
            m_values[m_count++] = x;
        }
    }
    std::span<const double> view() const { return {m_values.data(), m_count}; }

private:
    std::array<double, 9> m_values{};
    std::size_t m_count = 0;
};

// One step of the design, for the report. `formula` is written in symbols;
// `substituted` is the same formula with every "{}" standing for one of
// `operands` in order; `source` names the table, row and column read, with
// "{}" standing for `sourceNumbers` (figures are left to the writer, so that
// they come out in the reader's regional format). The texts of a step that
// never change are views of string literals.
struct Step {
    std::string_view symbol; // "fcu,0"
    std::string_view name;   // "配制强度"
    std::string_view formula;
    std::string_view substituted;
    Figures operands;
    double value = 0.0;
    std::string_view unit;     // "MPa", "kg/m³", "%", "" for ratios
    std::string_view rounding; // "0.1 MPa"; empty when the step does not round
    Origin origin = Origin::Computed;
    std::string source;
    Figures sourceNumbers;
    // The decimals the value is written with at least, for a figure of a
    // stated precision that is not rounded here (a table's 0.90); -1 for
    // those of `rounding`, or none.
    int places = -1;
};

// A sentence of Chinese with "{}" standing for each of `numbers` in order,
// and the key of the input it concerns, for a form to mark (empty when none
// is to be marked).
struct Message {
    std::string pattern;
    std::vector<double> numbers;
    std::string input;
};

struct ConstructionMix {
    double cement = 0.0;
    double flyAsh = 0.0;
    double slag = 0.0;
    double water = 0.0;
    double sand = 0.0;
    double stone = 0.0;
    double admixture = 0.0;
};

// Every figure of a finished design. Masses are per m³ of concrete.
struct Result {
    double sigma = 0.0;
    double fcu0 = 0.0;
    double fce = 0.0;
    double gammaF = 1.0;
    double gammaS = 1.0;
    double fb = 0.0;
    double alphaA = 0.0;
    double alphaB = 0.0;
    // By the strength formula; none from C60 on, where the formula is not
    // used and the ratio must be given, nor for a given ratio without the
    // cement's grade or strength (fce, γf, γs and fb are then 0).
    std::optional<double> waterBinderComputed;
    double waterBinder = 0.0; // given or computed, after the durability limit
    double tableWater = 0.0;  // mw0′
    double water = 0.0;       // mw0
    double binder = 0.0;      // mb0
    double cement = 0.0;
    double flyAsh = 0.0;
    double slag = 0.0;
    double admixture = 0.0;
    double sandRatio = 0.0; // %
    double sand = 0.0;
    double stone = 0.0;
    Method method = Method::Mass;
    // The sum of the masses per m³ (binder, water, sand, stone); the
    // admixture's few kilograms are not counted, as neither method counts
    // them in the volume or mass of the concrete.
    double apparentDensity = 0.0;
    std::optional<ConstructionMix> construction;
    std::vector<Message> notes;    // values raised or capped by a rule
    std::vector<Message> warnings; // what the engineer must look at
    std::vector<Message> checks;   // the limits met, both sides stated
    std::vector<Step> steps;
};

// A refused input: what is wrong, in one line of Chinese, and the key of the
// design file's input that it concerns (empty when no one input is to blame).
struct Refusal {
    Message message;
    std::string input;
};

struct Outcome {
    std::optional<Result> result;
    Refusal refusal; // meaningful when there is no result
    explicit operator bool() const { return result.has_value(); }
};

// The design of `input`. Never NaN or infinity in a result: an input the
// rules cannot design (a missing required value, a value out of the tables'
// reach, a step that would divide by zero or leave nothing for the
// aggregates) is refused instead.
Outcome design(const Input& input);

// A mix at a water, a water-binder ratio and a sand ratio that are given
// rather than designed, proportioned as design() proportions its own: the
// binder mw / (W/B) to 1 kg, the fly ash, slag and admixture by the input's
// fractions, the cement the rest, sand and stone by the input's method with
// its densities or assumed density. The trial mixes of the laboratory are
// made this way. No table is read and no limit applied, except the
// structure's minimum binder when `minimumBinder` is set.
struct Proportioning {
    double water = 0.0;       // mw, kg/m³, after the admixture
    double waterBinder = 0.0; // W/B
    double sandRatio = 0.0;   // %
    bool minimumBinder = false;
};
Outcome proportion(const Input& input, const Proportioning& given);

// A figure of a finished design by its key, the name the result file and
// the form give it ("fcu0", "waterBinder", "stone", "apparentDensity", …);
// nothing for a key that names no figure.
std::optional<double> figure(const Result& result, std::string_view key);

// The message with its numbers written as shortestDecimal writes them, a
// "{.N}" number with N decimals (fixedDecimal).
std::string plainText(const Message& message);

// `pattern` with each "{}" replaced by the next of `numbers` as `write`
// writes it, and each "{.N}" (N a digit) by the next number written with at
// least N decimals (0.50, 37.0); a placeholder beyond the numbers stays as
// it is. `write` is given the places asked for, or -1 for "{}".
std::string fill(std::string_view pattern, std::span<const double> numbers,
                 const std::function<std::string(double value, int places)>& write);
// The same with a writer of plain figures, which writes a "{.N}" number as
// any other (no zeros added).
std::string fill(std::string_view pattern, std::span<const double> numbers,
                 const std::function<std::string(double)>& write);

} // namespace jgj55
