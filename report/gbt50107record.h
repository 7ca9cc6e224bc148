// The record of a strength evaluation (混凝土强度检验评定记录) to GB/T
// 50107-2010, in the report model of the calculation reports
// (report/report.h), so that it is written as text, HTML and PDF by the same
// code and looks the same.
//
//     const gbt50107::Outcome out = gbt50107::evaluate(input);
//     if (out) {
//         report::Document d = report::buildGbt50107Record(input, *out.evaluation, format,
//         options); std::string text = report::toText(d);
//     }
//
// Every figure is one the evaluation computed or the user gave; the record
// shows each condition with both sides, the verdict, the σ for the next
// design from thirty groups or more, and says where the program made a
// choice of its own. It is signed by 计算, 审核 and 监理.
#pragma once

#include "calc/numberformat.h"
#include "gbt50107/evaluation.h"
#include "report/report.h"

namespace report {

// The record of `evaluation`, evaluated from `input`, with figures written in
// `format`. Of `options`, the trial batch is not used; the project's part is
// the 施工部位.
Document buildGbt50107Record(const gbt50107::Input& input, const gbt50107::Evaluation& evaluation,
                             const calc::NumberFormat& format, const Options& options);

} // namespace report
