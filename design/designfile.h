// The design file (.lanshi): a design as one UTF-8 JSON object, in the keys
// of the replay tool's cases, so that every design file is also a case.
//
//     {
//       "lanshi-design": 1,
//       "format": {"decimal": ".", "group": ",", "groupSize": 3, "negative": "-"},
//       "fields": {
//         "Text1": "20",
//         ...
//         "Text33": "0.52"
//       },
//       "option1": true,
//       "option2": false,
//       "细砂": true,
//       "粗砂": false,
//       "卵石": true,
//       "碎石": false
//     }
//
// Writing is deterministic: the same design gives the same bytes, so a design
// saved and opened any number of times does not change by one byte. Reading
// is strict about what it needs and forgiving about the rest: unknown keys
// are kept aside (Design::extras) and otherwise ignored, a missing field or
// option group takes its state after a fresh start, and everything wrong is
// refused with a message in Chinese that says what and where.
#pragma once

#include "design/design.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace design {

// The version of the format this program writes, and the newest it reads.
inline constexpr int kFormatVersion = 1;
// The key that marks a JSON object as a design (and a replay case as one).
inline constexpr std::string_view kVersionKey = "lanshi-design";
// A design is a few kilobytes; anything beyond this is not one.
inline constexpr std::size_t kMaxFileSize = std::size_t{4} * 1024 * 1024;

// The file's bytes. Throws std::invalid_argument, with a message in Chinese
// naming the field, when a text is not valid UTF-8 (the window never makes
// one), and when an extra key is one of the design's own.
std::string serialize(const Design& design);

struct ReadResult {
    std::optional<Design> design; // set when the bytes are a readable design
    std::string error;            // otherwise what is wrong, in Chinese

    explicit operator bool() const { return design.has_value(); }
};

// The regional number format of a "format" object, as a design file and a
// replay case give it: "decimal", "group", "groupSize" and "negative" all
// present; each symbol a text of at most 16 bytes with no digit, "E" or "+";
// the decimal symbol and the negative sign not empty; the group size a whole
// number from 0 (no grouping, as under a locale that groups nothing) to 9.
// Otherwise nothing, and what is wrong, in Chinese.
struct FormatReading {
    std::optional<calc::NumberFormat> format;
    std::string error;

    explicit operator bool() const { return format.has_value(); }
};
FormatReading readFormat(const nlohmann::json& format);
// A format that names only what differs from the usual one (a replay case, a
// call of the web module, a tool's argument): the usual settings where a key
// is missing, then the same rule.
FormatReading readPartialFormat(const nlohmann::json& given);
// The format a replay case or a call of the web module names under "format",
// read as readPartialFormat reads it; the usual one where it names none.
// Throws std::invalid_argument with the reason when that format is wrong.
calc::NumberFormat formatOption(const nlohmann::ordered_json& options);

// Reads a design for a sheet under `current`: every text that is, as a whole,
// a number under the file's format is written again in the current format
// (design/respell.h), missing fields and groups take their start state under
// the current format. The result's format is `current`. A file without
// "format" is taken to be written in the current format.
ReadResult open(std::string_view bytes, const calc::NumberFormat& current);

// Reads a design as it was saved: texts verbatim, the result's format the
// file's own (the default format when the file names none).
ReadResult openAsSaved(std::string_view bytes);

// The bytes of a design file of any kind, read with care: a path that is
// missing, a folder, no regular file (a device, a pipe, a socket, through any
// link), unreadable, or larger than kMaxFileSize is refused with the reason,
// in Chinese, without being read; a file is never read beyond the limit.
struct FileBytes {
    std::optional<std::string> bytes;
    std::string error;

    explicit operator bool() const { return bytes.has_value(); }
};
FileBytes readBytes(const std::filesystem::path& path);
// Why `bytes` bytes are too many for a design file of any kind, in Chinese.
std::string tooLarge(std::uintmax_t bytes);

// The design standard the bytes name under "standard" ("JGJ 55-2011"): a
// design of that standard's kind. Empty for the classic design, which names
// none, and for bytes that are no JSON object (the classic reader says what
// is wrong with them); "?" for a "standard" that is no text or an empty one.
std::string standardOf(std::string_view bytes);

// Reads the file at `path` (readBytes) and opens it under `current`.
ReadResult readFile(const std::filesystem::path& path, const calc::NumberFormat& current);

} // namespace design
