// Reading and writing floating-point numbers in their plain ASCII form
// ("-1234.5", "1.2345e+07"): the numeric core under every conversion of the
// sheet and of the report. The regional symbols are dealt with around it
// (calc/conversions.h); these two functions never see them.
//
// Each is std::from_chars / std::to_chars where the standard library has the
// floating-point overloads. Where it has not (the libc++ of Emscripten, for
// the WebAssembly build), reading goes through fast_float, the reference
// implementation of from_chars, and writing through {fmt}, which writes the
// shortest and the fixed-precision forms exactly and never looks at the
// C locale. Both routes give the same results bit for bit and byte for byte;
// the native build can be made to take the portable one
// (LANSHI_PORTABLE_NUMBERS) so that the tests prove it.
//
//     double value = 0;
//     auto [end, ec] = calc::readPlainNumber(text.data(), text.data() + text.size(), value);
//     std::array<char, 64> buffer{};
//     auto [stop, error] = calc::writePlainNumber(buffer.data(), buffer.data() + buffer.size(),
//                                                 value, std::chars_format::fixed, 2);
#pragma once

#include <charconv>

namespace calc {

// Reads the longest leading part of [first, last) that is a number, as
// std::from_chars with std::chars_format::general: the nearest double or
// single (ties to even). Returns errc::invalid_argument when no number starts
// at `first`, and errc::result_out_of_range, leaving `value` as it was, when
// the number lies beyond the type's range or is not zero but rounds to zero.
std::from_chars_result readPlainNumber(const char* first, const char* last, double& value);
std::from_chars_result readPlainNumber(const char* first, const char* last, float& value);

// Writes `value` as std::to_chars does: without a format, the shortest text
// that reads back as the same double, fixed or scientific whichever is
// shorter (fixed on a tie); with a format and a precision, as printf's "%.*f",
// "%.*e" or "%.*g" in the C locale, exactly rounded. Only fixed, scientific
// and general are written (errc::invalid_argument for hex). Returns
// errc::value_too_large, with ptr == last, when the text does not fit.
std::to_chars_result writePlainNumber(char* first, char* last, double value);
std::to_chars_result writePlainNumber(char* first, char* last, double value,
                                      std::chars_format format, int precision);

// True when the two functions above take the portable route.
bool plainNumbersArePortable();

namespace detail {
// Each route by itself, where this build has it (LANSHI_STANDARD_PLAIN_NUMBERS,
// LANSHI_PORTABLE_PLAIN_NUMBERS), so that the tests can hold one against the
// other.
std::from_chars_result standardRead(const char* first, const char* last, double& value);
std::from_chars_result standardRead(const char* first, const char* last, float& value);
std::to_chars_result standardWrite(char* first, char* last, double value);
std::to_chars_result standardWrite(char* first, char* last, double value, std::chars_format format,
                                   int precision);
std::from_chars_result portableRead(const char* first, const char* last, double& value);
std::from_chars_result portableRead(const char* first, const char* last, float& value);
std::to_chars_result portableWrite(char* first, char* last, double value);
std::to_chars_result portableWrite(char* first, char* last, double value, std::chars_format format,
                                   int precision);
} // namespace detail

} // namespace calc
