// The mix notice (配合比通知单) as a document of the report model: one A4 page
// for the plant — the design's requirements, the materials as the laboratory
// names them, the laboratory (or calculated) mix per m³ with its
// proportions, the construction mix for the day's moisture, the quantities
// per batch, and the lines 试验 / 审核 / 批准 to sign.
#pragma once

#include "notice/notice.h"
#include "report/report.h"

namespace report {

// The notice, written under `format`; `options` gives the date, the program,
// the design file and the project block.
Document buildNotice(const notice::Notice& notice, const notice::Details& details,
                     const calc::NumberFormat& format, const Options& options);

} // namespace report
