// Fuzzes the four conversions under random regional formats, checking that
// what the formatters write parseStrict reads back as the value written.
#include "calc/conversions.h"
#include "fuzz/fuzz_formats.h"
#include "tests/reference_format.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void require(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "finding: %s\n", what);
        __builtin_trap(); // the fuzzer saves the input
    }
}

// The distance from a single to the next one away from zero.
double ulp(float value) {
    const float magnitude = std::fabs(value);
    return double(std::nextafter(magnitude, INFINITY)) - double(magnitude);
}

// The single nearest to a number's text, found independently of parseStrict:
// the blanks and the regional symbols replaced by plain ones, then from_chars.
float nearestSingle(std::string text, const calc::NumberFormat& format) {
    auto replaceAll = [&text](const std::string& from, const std::string& to) {
        for (std::size_t at = text.find(from); at != std::string::npos;
             at = text.find(from, at + to.size())) {
            text.replace(at, from.size(), to);
        }
    };
    while (!text.empty() && text.front() == ' ') {
        text.erase(0, 1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.pop_back();
    }
    if (text.starts_with("+")) {
        text.erase(0, 1);
    } else if (text.starts_with(format.negative)) {
        text.replace(0, format.negative.size(), "-");
    }
    if (format.groups()) {
        replaceAll(format.group, "");
    }
    replaceAll(format.decimal, ".");
    float value = 0.0f;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    require(end == text.data() + text.size(), "a number that from_chars cannot read");
    if (ec == std::errc::result_out_of_range) {
        return text.starts_with("-") ? -0.0f : 0.0f; // below the smallest single
    }
    return value;
}

void checkSingle(float value, const calc::NumberFormat& format) {
    if (!std::isfinite(value)) {
        return;
    }
    const std::string text = calc::formatSingle(value, format);
    const calc::StrictValue read = calc::parseStrict(text, format);
    require(read.status == calc::StrictStatus::Ok, "formatSingle text not accepted");
    // Seven significant digits: within half a unit of the seventh digit, plus
    // the rounding of the text to the nearest single.
    const double tolerance = std::fabs(double(value)) * 5.000001e-7 + ulp(read.value) + 1e-45;
    require(std::fabs(double(read.value) - double(value)) <= tolerance, "formatSingle value lost");
    require(read.value == nearestSingle(text, format), "formatSingle text misread");
}

void checkFixed2(double value, const calc::NumberFormat& format) {
    if (!std::isfinite(value) || std::fabs(value) > double(FLT_MAX) / 2) {
        return;
    }
    const std::string text = calc::formatFixed2(value, format);
    const calc::StrictValue read = calc::parseStrict(text, format);
    require(read.status == calc::StrictStatus::Ok, "formatFixed2 text not accepted");
    const double tolerance = 0.005 + ulp(read.value) + std::fabs(value) * 1e-15;
    require(std::fabs(double(read.value) - value) <= tolerance, "formatFixed2 value lost");
    require(read.value == nearestSingle(text, format), "formatFixed2 text misread");
    require(calc::readLenient(text, format) - value <= 0.005 + std::fabs(value) * 1e-15,
            "readLenient lost the formatFixed2 value");
}

// Under the usual settings the fast conversions must write exactly what the
// plain reference writes from printf's exact digits.
void checkAgainstReference(float single, double value) {
    const calc::NumberFormat usual;
    if (std::isfinite(single)) {
        require(calc::formatSingle(single, usual) == reference::single(single),
                "formatSingle differs from the reference");
    }
    if (std::isfinite(value)) {
        require(calc::formatFixed2(value, usual) == reference::fixed2(value),
                "formatFixed2 differs from the reference");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    const calc::NumberFormat format = fuzzing::pickFormat(data);

    std::uint64_t doubleBits = data.ConsumeIntegral<std::uint64_t>();
    double asDouble;
    std::memcpy(&asDouble, &doubleBits, sizeof asDouble);
    std::uint32_t singleBits = data.ConsumeIntegral<std::uint32_t>();
    float asSingle;
    std::memcpy(&asSingle, &singleBits, sizeof asSingle);
    // A single a few steps from a power of ten, where the digits roll over
    // and random bit patterns almost never land.
    float nearPower = std::pow(10.0f, float(data.ConsumeIntegralInRange<int>(-45, 38)));
    for (int steps = data.ConsumeIntegralInRange<int>(-64, 64); steps != 0;
         steps += steps < 0 ? 1 : -1) {
        nearPower = std::nextafter(nearPower, steps < 0 ? 0.0f : INFINITY);
    }
    const std::string text = data.ConsumeRemainingBytesAsString();

    checkSingle(asSingle, format);
    checkFixed2(asDouble, format);
    checkAgainstReference(asSingle, asDouble);
    checkSingle(nearPower, format);
    checkAgainstReference(nearPower, double(nearPower));
    checkFixed2(double(asSingle), format);

    // Any text: the readers never fail, and a number parseStrict accepts is
    // written and read back stably.
    (void)calc::parseLenient(text);
    (void)calc::readLenient(text, format);
    const calc::StrictValue strict = calc::parseStrict(text, format);
    if (strict.status == calc::StrictStatus::Ok) {
        require(std::isfinite(strict.value), "parseStrict gave a non-finite single");
        require(strict.value == nearestSingle(text, format), "parseStrict misread a number");
        checkSingle(strict.value, format);
        checkFixed2(double(strict.value), format);
    }
    return 0;
}
