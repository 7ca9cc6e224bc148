// The evaluation of concrete strength to GB/T 50107-2010: the cube results of
// one batch, grouped in threes, judged by one of the standard's three methods,
// and the σ that thirty groups or more give back to the next mix design.
//
//     gbt50107::Input in;
//     in.fcuk = 30;
//     in.groups = {gbt50107::Group::ofSpecimens(33.1, 35.2, 34.0), gbt50107::Group::ofValue(31.5)};
//     const gbt50107::Outcome out = gbt50107::evaluate(in);
//     if (out) { ... out.evaluation->passed ... } else { ... out.faults ... }
//
// Numbers in, numbers out: reading the user's texts (gbt50107/cells.h) and
// writing figures under the regional settings is the caller's work. Every
// figure is computed on exact decimals and rounded half up on its decimal
// value: group values, mfcu and fcu,min to 0.1 MPa, Sfcu and σ0 to 0.01 MPa.
// An input that cannot be evaluated is refused, every bad cell and entry
// with its own one-line reason in Chinese, so that a window can mark each.
#pragma once

#include "calc/numberformat.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gbt50107 {

enum class SpecimenSize { Cube100, Cube150, Cube200 };

// The side of the cube, mm.
int millimetres(SpecimenSize size);

enum class Method {
    Auto,           // chosen from the data
    KnownSigma,     // statistical, σ0 known (5.1.2)
    Statistical,    // statistical, σ unknown (5.1.3)
    NonStatistical, // fewer than ten groups (5.2)
};

// "auto", "known-sigma", "statistical", "non-statistical": the design file's
// and the result file's names.
std::string_view methodKey(Method method);
// "统计方法（标准差已知）", …; "自动选择" for Auto.
std::string_view methodName(Method method);
// The clause of GB/T 50107-2010 the method follows: "5.1.2", "5.1.3",
// "5.2"; empty for Auto.
std::string_view methodClause(Method method);

// One group of three cubes as the lab reports it: the three specimen
// strengths, or the group value alone. An empty place is a specimen not
// given; a group with both, or with one or two specimens, is refused.
struct Group {
    std::array<std::optional<double>, 3> specimens; // MPa
    std::optional<double> value;                    // MPa, the group value alone

    static Group ofSpecimens(double a, double b, double c) { return {{a, b, c}, std::nullopt}; }
    static Group ofValue(double v) { return {{}, v}; }
    bool hasSpecimens() const { return specimens[0] || specimens[1] || specimens[2]; }
    friend bool operator==(const Group&, const Group&) = default;
};

// The evaluation's inputs, named as the design file names them.
struct Input {
    std::optional<double> fcuk; // MPa, required
    SpecimenSize specimenSize = SpecimenSize::Cube150;
    // The size factor found by test, for non-standard cubes from C60.
    std::optional<double> sizeFactor;
    Method method = Method::Auto;
    std::optional<double> sigma0; // a known σ0, MPa
    // The previous period's group values, from which σ0 is computed.
    std::vector<double> previous;
    std::vector<Group> groups;
    friend bool operator==(const Input&, const Input&) = default;
};

// The entries of the input, for the place of a fault.
enum class Entry { Fcuk, SpecimenSize, SizeFactor, Method, Sigma0, Previous, Groups };

// The design file's key of the entry: "fcuk", "specimenSize", "sizeFactor",
// "method", "sigma0", "previous", "groups".
std::string_view entryKey(Entry entry);

// The cell of a group that holds the group value given alone.
inline constexpr int kValueCell = 3;

// Where a fault lies: an entry, and in "groups" or "previous" the group (from
// 0) and in a group the cell (0–2 a specimen, kValueCell the group value);
// -1 for the entry or the group as a whole.
struct Place {
    Entry entry = Entry::Groups;
    int group = -1;
    int cell = -1;
    friend bool operator==(const Place&, const Place&) = default;
};

// The place in words: "第 3 组试件 2", "第 3 组代表值", "第 3 组", "上一期第 5
// 个代表值", or the entry's caption ("「强度等级 fcu,k」").
std::string placeName(const Place& place);

// The place's name followed by what is wrong with it, spaced as Chinese is
// beside figures: "第 1 组试件 2 应大于 0，现为 -3", "第 3 组代表值应大于 0".
std::string faultMessage(const Place& place, std::string_view what);

// An input the evaluation cannot take: where, and why in one line of Chinese
// that names the place ("第 3 组试件 2 的强度应大于 0：-3").
struct InputFault {
    Place place;
    std::string message;
};

// How a group's value was found (4.3.1).
enum class GroupRule {
    Mean,    // the mean of the three
    Middle,  // one extreme differs from the middle by more than 15 %
    Given,   // the group value given alone
    LeftOut, // both extremes differ: not evaluated
};

struct GroupValue {
    GroupRule rule = GroupRule::Mean;
    // The group value at the tested size, to 0.1 MPa (not for LeftOut).
    double tested = 0.0;
    // Converted to the 150 mm cube by the size factor, to 0.1 MPa: the value
    // evaluated (equal to `tested` for 150 mm cubes).
    double value = 0.0;
    // Which extreme differs from the middle by more than 15 % of it.
    bool lowDiffers = false;
    bool highDiffers = false;
};

// Why a group value is what it is, in Chinese: empty for the mean; for the
// middle value and a left-out group, the extremes that differ.
std::string ruleNote(const GroupValue& group);

// The group value of three specimen strengths alone (4.3.1), for whoever
// tests cubes outside an evaluation (the trial mixes of a design): `tested`
// and `value` are the group value, to 0.1 MPa. Nothing when a strength is
// not positive or beyond what the evaluation computes with (10000 MPa, 20
// decimals).
std::optional<GroupValue> groupValue(double a, double b, double c);

// Where the size factor comes from.
enum class SizeFactorOrigin { Standard150, Standard, Tested };

// Where σ0 comes from.
enum class SigmaOrigin { Given, Previous };

// σ0 computed from the previous period.
struct PreviousPeriod {
    int count = 0;
    std::vector<double> values; // each to 0.1 MPa
    double sum = 0.0;           // Σfcu,i
    double sumOfSquares = 0.0;  // Σfcu,i²
};

enum class ConditionKind {
    KnownSigmaMean,     // mfcu ≥ fcu,k + 0.7σ0
    KnownSigmaMin,      // fcu,min ≥ fcu,k − 0.7σ0
    KnownSigmaMinClass, // fcu,min ≥ 0.85fcu,k (up to C20) or 0.90fcu,k
    StatisticalMean,    // mfcu − λ1·Sfcu ≥ fcu,k
    StatisticalMin,     // fcu,min ≥ λ2·fcu,k
    NonStatisticalMean, // mfcu ≥ λ3·fcu,k
    NonStatisticalMin,  // fcu,min ≥ λ4·fcu,k
};

// One condition of the method, judged on the rounded figures: the strength
// side (mfcu, fcu,min, or mfcu − λ1·Sfcu rounded to 0.1 MPa) against the
// limit, computed exactly and not rounded.
struct Condition {
    ConditionKind kind = ConditionKind::StatisticalMean;
    double coefficient = 0.0; // λ1…λ4, 0.7, or 0.85 / 0.90
    double left = 0.0;
    double right = 0.0;
    bool holds = false;
};

// The condition in symbols: "mfcu − λ1·Sfcu ≥ fcu,k", "fcu,min ≥ 0.90fcu,k".
std::string conditionFormula(const Condition& condition);

// The σ the evaluation gives the next mix design (JGJ 55-2011 4.0.2): from
// thirty groups or more, below C60.
struct DesignSigma {
    double computed = 0.0; // the sample standard deviation, to 0.01 MPa
    double floor = 0.0;    // 3.0 up to C30, 4.0 above
    double value = 0.0;    // the larger of the two
};

struct Evaluation {
    Method method = Method::Statistical; // never Auto
    bool chosen = false;                 // chosen from the data (method Auto)
    double fcuk = 0.0;
    SpecimenSize specimenSize = SpecimenSize::Cube150;
    double sizeFactor = 1.0;
    SizeFactorOrigin sizeFactorOrigin = SizeFactorOrigin::Standard150;
    std::vector<GroupValue> groups; // one for each group of the input
    int n = 0;                      // the groups evaluated
    double sum = 0.0;               // Σfcu,i of the groups evaluated
    double sumOfSquares = 0.0;      // Σfcu,i²
    double mean = 0.0;              // mfcu, to 0.1 MPa
    double min = 0.0;               // fcu,min, to 0.1 MPa
    // Sfcu (statistical) or σ0 (known), to 0.01 MPa: as computed or given,
    // and as used after the 2.5 MPa floor.
    std::optional<double> sd;
    std::optional<double> sdUsed;
    std::optional<SigmaOrigin> sigmaOrigin; // for σ0
    std::optional<PreviousPeriod> previous; // when σ0 comes from it
    std::optional<double> lambda1, lambda2, lambda3, lambda4;
    std::vector<Condition> conditions;
    bool passed = false;
    // From thirty groups or more; none below thirty and from C60.
    std::optional<DesignSigma> designSigma;
    // The choices the program made for this input, as sentences for the
    // record (a known σ0 not used, a σ for design not given, …).
    std::vector<std::string> notes;
};

struct Outcome {
    std::optional<Evaluation> evaluation;
    std::vector<InputFault> faults; // when there is no evaluation; each place once
    explicit operator bool() const { return evaluation.has_value(); }
};

// The evaluation of `input`. `known` are faults already found where the
// input was read from texts (gbt50107/cells.h): they open the list, and no
// further fault is reported on their cells or, for a fault of a whole group,
// on that group. Every bad cell and entry is reported before the method is
// looked at; a method the data does not allow is refused on its own.
Outcome evaluate(const Input& input, const std::vector<InputFault>& known = {});

// `value` at its shortest decimal, with at least `minPlaces` decimals ("3.1"
// with 2 gives "3.10", "27" with 1 gives "27.0"), in `format` (decimal
// symbol and negative sign; no grouping).
std::string decimalText(double value, int minPlaces, const calc::NumberFormat& format);

// The condition with both sides and its judgement, figures in `format`:
// "mfcu − λ1·Sfcu = 36.4 − 1.15 × 3.10 = 32.8 ≥ fcu,k = 30 满足".
std::string conditionText(const Evaluation& evaluation, const Condition& condition,
                          const calc::NumberFormat& format);

// "合格", or "不合格" with the conditions not met: "不合格（不满足 fcu,min ≥
// λ2·fcu,k）".
std::string verdict(const Evaluation& evaluation);

} // namespace gbt50107
