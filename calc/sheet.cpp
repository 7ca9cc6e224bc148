#include "calc/sheet.h"

#include <charconv>

namespace calc {

std::string fieldName(TextField field) {
    return "Text" + std::to_string(static_cast<int>(field));
}

std::optional<TextField> textFieldByName(std::string_view name) {
    constexpr std::string_view prefix = "Text";
    if (!name.starts_with(prefix)) {
        return std::nullopt;
    }
    const std::string_view digits = name.substr(prefix.size());
    // No sign, no leading zero: "Text08" is not a field name.
    if (digits.empty() || digits.front() == '0') {
        return std::nullopt;
    }
    int number = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (ec != std::errc{} || end != digits.data() + digits.size() || number < 1 ||
        number > kTextFieldCount) {
        return std::nullopt;
    }
    return static_cast<TextField>(number);
}

std::string_view optionName(Option option) {
    switch (option) {
    case Option::option1:
        return "option1";
    case Option::option2:
        return "option2";
    case Option::细砂:
        return "细砂";
    case Option::粗砂:
        return "粗砂";
    }
    return {};
}

std::string_view checkName(Check check) {
    return check == Check::卵石 ? "卵石" : "碎石";
}

Option partnerOf(Option option) {
    switch (option) {
    case Option::option1:
        return Option::option2;
    case Option::option2:
        return Option::option1;
    case Option::细砂:
        return Option::粗砂;
    case Option::粗砂:
        return Option::细砂;
    }
    return option;
}

} // namespace calc
