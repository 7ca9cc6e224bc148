#include "calc/stop.h"

#include <array>
#include <cstddef>

namespace calc {

namespace {

// "第二步: not-a-number (Text5)", spelled into a buffer on the stack: a stop
// is thrown on every field that is not a number, and its message should cost
// no more than the one copy the exception keeps.
class StopMessage {
public:
    explicit StopMessage(const Stop& stop) {
        append(stageName(stop.stage));
        append(": ");
        append(reasonName(stop.reason));
        if (stop.field) {
            append(" (Text");
            const int number = static_cast<int>(*stop.field);
            if (number >= 10) {
                push(static_cast<char>('0' + number / 10));
            }
            push(static_cast<char>('0' + number % 10));
            append(")");
        }
        m_text[m_size] = '\0';
    }
    const char* c_str() const { return m_text.data(); }

private:
    void append(std::string_view part) {
        for (const char c : part) {
            push(c);
        }
    }
    void push(char c) {
        if (m_size + 1 < m_text.size()) {
            m_text[m_size++] = c;
        }
    }

    std::array<char, 64> m_text{};
    std::size_t m_size = 0;
};

} // namespace

CalculationStopped::CalculationStopped(const Stop& stop)
    : std::runtime_error(StopMessage(stop).c_str()), m_stop(stop) {}

std::string_view stageName(Stage stage) {
    switch (stage) {
    case Stage::第一步:
        return "第一步";
    case Stage::第二步:
        return "第二步";
    case Stage::第三步:
        return "第三步";
    case Stage::第四步:
        return "第四步";
    case Stage::tjfjs:
        return "tjfjs";
    case Stage::tijifa:
        return "tijifa";
    case Stage::zhiliangfa:
        return "zhiliangfa";
    case Stage::tiaozheng:
        return "tiaozheng";
    case Stage::calculate:
        return "calculate";
    }
    return {};
}

std::string_view reasonName(Reason reason) {
    switch (reason) {
    case Reason::NotANumber:
        return "not-a-number";
    case Reason::DivisionByZero:
        return "division-by-zero";
    case Reason::InvalidOperation:
        return "invalid-operation";
    case Reason::Overflow:
        return "overflow";
    }
    return {};
}

} // namespace calc
