// The tables of the JGJ 55-2011 design as the user's guide prints them: one
// Markdown table under a bold title each, made from the design's own data
// (jgj55/tables.h), so that the guide never retypes a value.
#pragma once

#include <string>

namespace jgj55tables {

std::string markdownTables();

} // namespace jgj55tables
