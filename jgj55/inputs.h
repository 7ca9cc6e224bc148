// The inputs of a JGJ 55-2011 design, one row each: the design file's key,
// the member of Input it fills, its Chinese name and unit, the scale at which
// a person types it, and for a choice its entries, each bound to its value of
// the enumeration by name. The design file's reader and writer, the form of
// the window and the page, and the report's 设计资料 all read this one table.
//
//     for (const jgj55::InputRow& row : jgj55::inputRows()) {
//         if (row.kind == jgj55::InputRow::Kind::Number) {
//             std::optional<double> value = row.number(input);   // "fcuk" → 30
//         }
//     }
//
// The rows stand in the order the design file writes its keys; a key with a
// dot ("flyAsh.fraction") is a member of the group before the dot, which the
// file writes as an object of its own.
#pragma once

#include "jgj55/design.h"

#include <optional>
#include <span>
#include <string_view>

namespace jgj55 {

// An entry of a choice: its name in the design file, its name on the form
// and in the report, and the enumeration's value it stands for.
struct ChoiceEntry {
    std::string_view name;  // "crushed"
    std::string_view shown; // "碎石"
    int value = 0;          // static_cast<int>(Stone::Crushed)
};

struct InputRow {
    enum class Kind { Number, Choice };

    std::string_view key;     // "flyAsh.fraction"
    std::string_view caption; // "粉煤灰掺量 βf"
    std::string_view unit;    // "%"; empty for a ratio or a choice
    Kind kind = Kind::Number;
    // A person types the file's value times 10^typedShift: a fraction of the
    // binder (0.2) as a percentage (20).
    int typedShift = 0;
    std::span<const ChoiceEntry> choices; // a choice's entries
    // The member of Input. Writing a value into a member of a group makes the
    // group; writing nothing leaves an absent group absent.
    std::optional<double> (*number)(const Input&) = nullptr;
    void (*setNumber)(Input&, std::optional<double>) = nullptr;
    std::optional<int> (*choice)(const Input&) = nullptr;
    void (*setChoice)(Input&, std::optional<int>) = nullptr;

    // The group before the dot ("flyAsh"); empty for a key of its own.
    std::string_view group() const;
    // The key within its group ("fraction"), or the key itself.
    std::string_view member() const;
    // The entry of `value`; nullptr when the choice has none.
    const ChoiceEntry* entryOf(int value) const;
    // The entry named `name` in the file; nullptr when there is none.
    const ChoiceEntry* entryNamed(std::string_view name) const;
};

// Every input, in the order of the design file.
std::span<const InputRow> inputRows();
// The row of `key`; nullptr when the design has no such input.
const InputRow* findInput(std::string_view key);

// Whether `input` holds the group ("flyAsh", "slag", "admixture").
bool hasGroup(const Input& input, std::string_view group);
// Makes the group present (empty when it was absent).
void makeGroup(Input& input, std::string_view group);

} // namespace jgj55
