#include "session/trialsheet.h"

#include "report/trialsreport.h"

#include <algorithm>
#include <cctype>

namespace session {

namespace {

bool isBlank(const std::string& text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; });
}

struct NotANumber {
    std::string message;
};

// The number of a text, nothing for a blank one.
std::optional<double> numberIn(const std::string& text, const std::string& name,
                               const calc::NumberFormat& format) {
    if (isBlank(text)) {
        return std::nullopt;
    }
    const std::optional<double> value = Jgj55Form::numberOf(text, format);
    if (!value) {
        throw NotANumber{"「" + name + "」不是一个数：" + text};
    }
    return value;
}

std::string textOf(const std::optional<double>& value, const calc::NumberFormat& format) {
    return value ? Jgj55Form::numberText(*value, format) : std::string();
}

jgj55::TrialStrength rowOf(const TrialTexts::Row& row, std::size_t index,
                           const calc::NumberFormat& format) {
    const std::string name = "第 " + std::to_string(index + 1) + " 组";
    const std::optional<double> ratio = numberIn(row.waterBinder, name + "水胶比", format);
    if (!ratio) {
        throw NotANumber{name + "缺少水胶比"};
    }
    jgj55::TrialStrength s{.waterBinder = *ratio,
                           .strength = numberIn(row.strength, name + "强度", format)};
    for (std::size_t k = 0; k < row.specimens.size(); ++k) {
        const std::optional<double> specimen =
            numberIn(row.specimens[k], name + "试件 " + std::to_string(k + 1), format);
        if (specimen) {
            s.specimens.push_back(*specimen);
        }
    }
    return s;
}

} // namespace

bool TrialTexts::Row::blank() const {
    return isBlank(waterBinder) && isBlank(strength) &&
           std::all_of(specimens.begin(), specimens.end(), isBlank);
}

TrialTextsReading readTrialTexts(const TrialTexts& texts, const calc::NumberFormat& format) {
    try {
        jgj55::Trials t;
        t.mixerCapacity = numberIn(texts.mixerCapacity, "搅拌机公称容量", format);
        t.water = numberIn(texts.water, "试拌用水量", format);
        t.sandRatio = numberIn(texts.sandRatio, "试拌砂率", format);
        for (std::size_t i = 0; i < texts.rows.size(); ++i) {
            if (!texts.rows[i].blank()) {
                t.strengths.push_back(rowOf(texts.rows[i], i, format));
            }
        }
        t.density = numberIn(texts.density, "实测表观密度", format);
        return {std::move(t), {}};
    } catch (const NotANumber& fault) {
        return {std::nullopt, fault.message};
    }
}

TrialTexts trialTexts(const jgj55::Trials& trials, const calc::NumberFormat& format,
                      std::size_t rows) {
    TrialTexts texts{.mixerCapacity = textOf(trials.mixerCapacity, format),
                     .water = textOf(trials.water, format),
                     .sandRatio = textOf(trials.sandRatio, format),
                     .density = textOf(trials.density, format),
                     .rows = {}};
    for (const jgj55::TrialStrength& s : trials.strengths) {
        TrialTexts::Row row{.waterBinder = Jgj55Form::numberText(s.waterBinder, format),
                            .strength = textOf(s.strength, format),
                            .specimens = {}};
        for (std::size_t k = 0; k < s.specimens.size() && k < row.specimens.size(); ++k) {
            row.specimens[k] = Jgj55Form::numberText(s.specimens[k], format);
        }
        texts.rows.push_back(std::move(row));
    }
    if (texts.rows.size() < rows) {
        texts.rows.resize(rows);
    }
    return texts;
}

std::optional<report::Document> trialsChapter(const Jgj55Form& form) {
    if (!form.input() || !form.result()) {
        return std::nullopt;
    }
    // Without trials yet: the batch and the three mixes of the design.
    const jgj55::TrialOutcome outcome = form.trialOutcome()
                                            ? *form.trialOutcome()
                                            : jgj55::runTrials(*form.input(), *form.result(), {});
    if (!outcome) {
        return std::nullopt;
    }
    report::Document document;
    document.title = "JGJ 55-2011 试配";
    document.sections.push_back(report::trialsSection(
        "试配、调整与确定", *form.input(), *form.result(), *outcome.result, form.format()));
    return document;
}

} // namespace session
