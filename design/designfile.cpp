#include "design/designfile.h"

#include "design/respell.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <system_error>

namespace design {
namespace {

using nlohmann::json;

// A design nests two levels deep; a file nested far deeper is no design, and
// keeping it (as an extra) would cost a recursion per level on every save.
constexpr int kMaxDepth = 64;
// A regional symbol is a character or two, with marks around it at most.
constexpr std::size_t kMaxSymbolSize = 16;

constexpr std::array<std::string_view, 4> kFormatKeys = {"decimal", "group", "groupSize",
                                                         "negative"};

class FileProblem : public std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::string named(std::string_view key) {
    return "“" + std::string(key) + "”";
}

std::string kindOf(const json& value) {
    switch (value.type()) {
    case json::value_t::null:
        return "空值 null";
    case json::value_t::boolean:
        return "布尔值";
    case json::value_t::number_integer:
    case json::value_t::number_unsigned:
    case json::value_t::number_float:
        return "数字";
    case json::value_t::string:
        return "文字";
    case json::value_t::array:
        return "数组";
    case json::value_t::object:
        return "对象";
    default:
        return "其他值";
    }
}

[[noreturn]] void wrongKind(const std::string& what, const std::string& wanted, const json& found) {
    throw FileProblem(what + " 应为" + wanted + "，文件中是" + kindOf(found) + "。");
}

// Line and column (both from 1, the column in characters) of a byte offset.
std::string place(std::string_view text, std::size_t offset) {
    if (offset > text.size()) {
        offset = text.size();
    }
    std::size_t line = 1;
    std::size_t column = 1;
    for (std::size_t i = 0; i < offset; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == '\n') {
            ++line;
            column = 1;
        } else if ((byte & 0xC0) != 0x80) {
            ++column;
        }
    }
    return "第 " + std::to_string(line) + " 行第 " + std::to_string(column) + " 列";
}

// The length of the well-formed UTF-8 sequence at the start of the text, or
// 0 when there is none (overlong forms, surrogates and values beyond U+10FFFF
// are not well formed).
std::size_t sequenceLength(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text.front());
    if (lead < 0x80) {
        return 1;
    }
    // The bytes a lead byte announces, and the range of the byte after it.
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (text.size() < length) {
        return 0;
    }
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[k]);
        if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) {
            return 0;
        }
    }
    return length;
}

// The offset of the first byte that does not belong to well-formed UTF-8, or
// npos.
std::size_t firstBadUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const std::size_t length = sequenceLength(text.substr(i));
        if (length == 0) {
            return i;
        }
        i += length;
    }
    return std::string_view::npos;
}

std::string sizeText(std::uintmax_t bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f MB", double(bytes) / (1024.0 * 1024.0));
    return text;
}

} // namespace

std::string tooLarge(std::uintmax_t bytes) {
    return "文件太大（" + sizeText(bytes) + "），设计文件不超过 " + sizeText(kMaxFileSize) +
           "，这不是设计文件。";
}

namespace {

// The file's JSON, or a FileProblem that says what keeps the bytes from being it.
json parseJson(std::string_view bytes) {
    if (bytes.size() > kMaxFileSize) {
        throw FileProblem(tooLarge(bytes.size()));
    }
    // A byte-order mark, as some editors write, is no part of the text.
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    if (bytes.find_first_not_of(" \t\r\n") == std::string_view::npos) {
        throw FileProblem("文件是空的，不是设计文件。");
    }
    if (const std::size_t nul = bytes.find('\0'); nul != std::string_view::npos) {
        throw FileProblem(place(bytes, nul) +
                          "有二进制数据（零字节）：这不是文本文件，不是设计文件。");
    }
    if (const std::size_t bad = firstBadUtf8(bytes); bad != std::string_view::npos) {
        throw FileProblem(place(bytes, bad) + "不是有效的 UTF-8 文字，这不是设计文件。");
    }
    struct TooDeep {};
    try {
        return json::parse(bytes.begin(), bytes.end(), [](int depth, json::parse_event_t, json&) {
            if (depth > kMaxDepth) {
                throw TooDeep{};
            }
            return true;
        });
    } catch (const TooDeep&) {
        throw FileProblem("JSON 嵌套超过 " + std::to_string(kMaxDepth) + " 层，这不是设计文件。");
    } catch (const json::parse_error& e) {
        // The reader counts the characters it has read, from 1, the end of
        // the input included: an error found there, one beyond the last
        // byte, is a file that stops where more must follow.
        if (e.byte > bytes.size()) {
            throw FileProblem("文件不完整：JSON 在" + place(bytes, bytes.size()) +
                              "意外结束（文件可能被截断）。");
        }
        const std::size_t offset = e.byte > 0 ? e.byte - 1 : 0;
        throw FileProblem("不是有效的 JSON：" + place(bytes, offset) + "附近有语法错误。");
    } catch (const json::exception&) {
        // A number beyond the range of a double (1e400) is the one other way
        // the JSON reader refuses a text.
        throw FileProblem("不是有效的 JSON：文件中有超出范围的数字。");
    }
}

// What the file says, before anything is taken from the start state.
struct Given {
    std::optional<calc::NumberFormat> format;
    std::array<std::optional<std::string>, calc::kTextFieldCount> texts;
    std::array<std::optional<bool>, calc::kOptionCount> options;
    std::array<std::optional<bool>, calc::kCheckCount> checks;
    std::map<std::string, json> extras;
};

std::string symbolOf(const json& format, std::string_view key) {
    const std::string what = named("format") + " 中的 " + named(key);
    const json& value = format.at(std::string(key));
    if (!value.is_string()) {
        wrongKind(what, "文字", value);
    }
    std::string symbol = value.get<std::string>();
    if (symbol.size() > kMaxSymbolSize) {
        throw FileProblem(what + " 过长，不是一个数字符号。");
    }
    for (const char c : symbol) {
        if ((c >= '0' && c <= '9') || c == 'E' || c == 'e' || c == '+') {
            throw FileProblem(what + " 不能含有数字、E 或 +。");
        }
    }
    return symbol;
}

calc::NumberFormat formatOf(const json& given) {
    if (!given.is_object()) {
        wrongKind(named("format"), "对象", given);
    }
    for (const std::string_view key : kFormatKeys) {
        if (!given.contains(std::string(key))) {
            throw FileProblem(named("format") + " 缺少 " + named(key) + "。");
        }
    }
    calc::NumberFormat format;
    format.decimal = symbolOf(given, "decimal");
    format.group = symbolOf(given, "group");
    format.negative = symbolOf(given, "negative");
    const json& size = given.at("groupSize");
    if (!size.is_number_integer()) {
        wrongKind(named("format") + " 中的 " + named("groupSize"), "整数", size);
    }
    if (size.get<long long>() < 0 || size.get<long long>() > 9) {
        throw FileProblem(named("format") + " 中的 " + named("groupSize") + " 应为 0 到 9。");
    }
    format.groupSize = size.get<int>();
    if (format.decimal.empty()) {
        throw FileProblem(named("format") + " 中的 " + named("decimal") + " 不能为空。");
    }
    if (format.negative.empty()) {
        throw FileProblem(named("format") + " 中的 " + named("negative") + " 不能为空。");
    }
    return format;
}

bool isSheetKey(std::string_view key) {
    if (key == kVersionKey || key == "format" || key == "fields") {
        return true;
    }
    for (int n = 0; n < calc::kOptionCount; ++n) {
        if (key == calc::optionName(static_cast<calc::Option>(n))) {
            return true;
        }
    }
    for (int n = 0; n < calc::kCheckCount; ++n) {
        if (key == calc::checkName(static_cast<calc::Check>(n))) {
            return true;
        }
    }
    return false;
}

std::optional<bool> flagOf(const json& file, std::string_view name) {
    const auto found = file.find(std::string(name));
    if (found == file.end()) {
        return std::nullopt;
    }
    if (!found->is_boolean()) {
        wrongKind(named(name), " true 或 false", *found);
    }
    return found->get<bool>();
}

// A design file of a version this program reads, and not one to a current
// standard, which is not a sheet.
void checkKind(const json& file) {
    const auto version = file.find(std::string(kVersionKey));
    if (version == file.end()) {
        throw FileProblem("缺少 " + named(kVersionKey) + "，这不是澜石的设计文件。");
    }
    if (!version->is_number_integer() || version->get<long long>() < 1) {
        throw FileProblem(named(kVersionKey) + " 应为正整数（格式版本），文件中是" +
                          (version->is_number_integer() ? version->dump() : kindOf(*version)) +
                          "。");
    }
    if (version->get<long long>() > kFormatVersion) {
        throw FileProblem("此文件的格式版本为 " + version->dump() +
                          "，由较新版本的程序保存；本程序只能读取版本 " +
                          std::to_string(kFormatVersion) + "，请升级程序后再打开。");
    }

    // A design to a current standard is the same file kind with a key the
    // classic design never writes: it is not a sheet, and opening it as one
    // would show the defaults as if they were the file's.
    if (const auto standard = file.find("standard"); standard != file.end()) {
        throw FileProblem(
            "此文件是按 " +
            (standard->is_string() ? standard->get<std::string>() : standard->dump()) +
            " 的设计，不是本窗口的设计；请在「新建 JGJ 55-2011 设计」窗口中打开。");
    }
}

// The texts of "fields", each under a field's name.
void readTexts(const json& fields, Given& given) {
    if (!fields.is_object()) {
        wrongKind(named("fields"), "对象", fields);
    }
    for (const auto& [name, text] : fields.items()) {
        const std::optional<calc::TextField> field = calc::textFieldByName(name);
        if (!field) {
            throw FileProblem(named("fields") + " 中的 " + named(name) +
                              " 不是字段名（应为 Text1 到 Text33）。");
        }
        if (!text.is_string()) {
            wrongKind(named(name), "文字（带引号的字符串）", text);
        }
        given.texts[*field - 1] = text.get<std::string>();
    }
}

// Each key of the file checked in turn, as the format lists them.
Given read(std::string_view bytes) {
    json file = parseJson(bytes);
    if (!file.is_object()) {
        wrongKind("文件的顶层", "一个 JSON 对象", file);
    }
    checkKind(file);

    Given given;
    if (const auto format = file.find("format"); format != file.end()) {
        given.format = formatOf(*format);
    }
    if (const auto fields = file.find("fields"); fields != file.end()) {
        readTexts(*fields, given);
    }
    for (int n = 0; n < calc::kOptionCount; ++n) {
        given.options[n] = flagOf(file, calc::optionName(static_cast<calc::Option>(n)));
    }
    for (int n = 0; n < calc::kCheckCount; ++n) {
        given.checks[n] = flagOf(file, calc::checkName(static_cast<calc::Check>(n)));
    }
    for (auto& [key, value] : file.items()) {
        if (!isSheetKey(key)) {
            given.extras.emplace(key, std::move(value));
        }
    }
    return given;
}

Design resolve(Given given, const calc::NumberFormat& target) {
    const Design start = startDesign(target);
    const calc::NumberFormat saved = given.format.value_or(target);
    Design design;
    design.format = target;
    for (int n = 0; n < calc::kTextFieldCount; ++n) {
        design.texts[n] = given.texts[n] ? respell(*given.texts[n], saved, target) : start.texts[n];
    }
    // Each group holds exactly one selected member: one member given decides
    // the other, none given leaves the start's choice.
    for (const calc::Option first : {calc::Option::option1, calc::Option::细砂}) {
        const calc::Option second = calc::partnerOf(first);
        const std::optional<bool>& a = given.options[static_cast<int>(first)];
        const std::optional<bool>& b = given.options[static_cast<int>(second)];
        bool firstSelected = start.selected(first);
        if (a && b) {
            if (*a == *b) {
                throw FileProblem(
                    named(calc::optionName(first)) + " 与 " + named(calc::optionName(second)) +
                    (*a ? " 同时选中" : " 都未选中") + "；两者必须选中且只选中一个。");
            }
            firstSelected = *a;
        } else if (a) {
            firstSelected = *a;
        } else if (b) {
            firstSelected = !*b;
        }
        design.options[static_cast<int>(first)] = firstSelected;
        design.options[static_cast<int>(second)] = !firstSelected;
    }
    for (int n = 0; n < calc::kCheckCount; ++n) {
        design.checks[n] = given.checks[n].value_or(start.checks[n]);
    }
    design.extras = std::move(given.extras);
    return design;
}

ReadResult refusal(std::string message) {
    ReadResult result;
    result.error = std::move(message);
    return result;
}

std::string jsonString(const std::string& text) {
    return json(text).dump(-1, ' ', false, json::error_handler_t::strict);
}

} // namespace

std::string serialize(const Design& design) {
    std::string out = "{\n  \"";
    out += kVersionKey;
    out += "\": " + std::to_string(kFormatVersion) + ",\n";
    const calc::NumberFormat& f = design.format;
    out += "  \"format\": {\"decimal\": " + jsonString(f.decimal) +
           ", \"group\": " + jsonString(f.group) +
           ", \"groupSize\": " + std::to_string(f.groupSize) +
           ", \"negative\": " + jsonString(f.negative) + "},\n";
    out += "  \"fields\": {\n";
    for (int n = 1; n <= calc::kTextFieldCount; ++n) {
        const auto field = static_cast<calc::TextField>(n);
        try {
            out += "    \"" + calc::fieldName(field) + "\": " + jsonString(design.text(field));
        } catch (const json::type_error&) {
            throw std::invalid_argument(calc::fieldName(field) + " 的文字不是有效的 UTF-8。");
        }
        out += n < calc::kTextFieldCount ? ",\n" : "\n";
    }
    out += "  }";
    for (int n = 0; n < calc::kOptionCount; ++n) {
        const auto option = static_cast<calc::Option>(n);
        out += ",\n  \"" + std::string(calc::optionName(option)) +
               "\": " + (design.selected(option) ? "true" : "false");
    }
    for (int n = 0; n < calc::kCheckCount; ++n) {
        const auto check = static_cast<calc::Check>(n);
        out += ",\n  \"" + std::string(calc::checkName(check)) +
               "\": " + (design.checked(check) ? "true" : "false");
    }
    for (const auto& [key, value] : design.extras) {
        if (isSheetKey(key)) {
            throw std::invalid_argument(named(key) + " 是设计本身的键，不能作为附加内容。");
        }
        try {
            out += ",\n  " + jsonString(key) + ": " +
                   value.dump(-1, ' ', false, json::error_handler_t::strict);
        } catch (const json::type_error&) {
            throw std::invalid_argument(named(key) + " 的内容不是有效的 UTF-8。");
        }
    }
    out += "\n}\n";
    return out;
}

FormatReading readFormat(const json& format) {
    try {
        return {formatOf(format), {}};
    } catch (const FileProblem& e) {
        return {std::nullopt, e.what()};
    }
}

FormatReading readPartialFormat(const json& given) {
    if (!given.is_object()) {
        return readFormat(given);
    }
    const calc::NumberFormat usual;
    json format = {{"decimal", usual.decimal},
                   {"group", usual.group},
                   {"groupSize", usual.groupSize},
                   {"negative", usual.negative}};
    for (const auto& [key, value] : given.items()) {
        format[key] = value;
    }
    return readFormat(format);
}

calc::NumberFormat formatOption(const nlohmann::ordered_json& options) {
    if (!options.contains("format")) {
        return {};
    }
    const FormatReading read = readPartialFormat(json(options.at("format")));
    if (!read) {
        throw std::invalid_argument(read.error);
    }
    return *read.format;
}

ReadResult open(std::string_view bytes, const calc::NumberFormat& current) {
    try {
        return {resolve(read(bytes), current), {}};
    } catch (const FileProblem& e) {
        return refusal(e.what());
    }
}

ReadResult openAsSaved(std::string_view bytes) {
    try {
        Given given = read(bytes);
        const calc::NumberFormat format = given.format.value_or(calc::NumberFormat{});
        return {resolve(std::move(given), format), {}};
    } catch (const FileProblem& e) {
        return refusal(e.what());
    }
}

std::string standardOf(std::string_view bytes) {
    try {
        const json file = parseJson(bytes);
        if (!file.is_object()) {
            return {};
        }
        const auto standard = file.find("standard");
        if (standard == file.end()) {
            return {};
        }
        const bool named = standard->is_string() && !standard->get<std::string>().empty();
        return named ? standard->get<std::string>() : std::string("?");
    } catch (const FileProblem&) {
        return {};
    } catch (const json::exception&) {
        return {};
    }
}

FileBytes readBytes(const std::filesystem::path& path) {
    namespace fs = std::filesystem;
    const auto refused = [](std::string why) { return FileBytes{std::nullopt, std::move(why)}; };
    std::error_code error;
    // The file's own kind, through any link: a link to /dev/zero or to a pipe
    // is refused here, before anything is opened or read.
    const fs::file_status status = fs::status(path, error);
    if (status.type() == fs::file_type::not_found) {
        return refused("文件不存在。");
    }
    if (error) {
        return refused("无法访问这个文件（没有权限，或路径无效）。");
    }
    if (status.type() == fs::file_type::directory) {
        return refused("这是一个文件夹，不是设计文件。");
    }
    if (status.type() != fs::file_type::regular) {
        return refused("这不是普通文件（而是设备、管道或套接字），不是设计文件。");
    }
    const std::uintmax_t size = fs::file_size(path, error);
    if (!error && size > kMaxFileSize) {
        return refused(tooLarge(size));
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return refused("无法读取这个文件（没有读取权限）。");
    }
    // Read in pieces and stop one piece beyond the limit: a file that grew
    // since its size was taken is refused without being read whole.
    std::string bytes;
    std::array<char, std::size_t{64} * 1024> piece;
    while (in && bytes.size() <= kMaxFileSize) {
        in.read(piece.data(), std::streamsize(piece.size()));
        bytes.append(piece.data(), std::size_t(in.gcount()));
    }
    if (in.bad()) {
        return refused("读取文件时出错。");
    }
    if (bytes.size() > kMaxFileSize) {
        return refused(tooLarge(bytes.size()));
    }
    return {std::move(bytes), {}};
}

ReadResult readFile(const std::filesystem::path& path, const calc::NumberFormat& current) {
    FileBytes read = readBytes(path);
    if (!read) {
        return refusal(read.error);
    }
    return open(*read.bytes, current);
}

} // namespace design
