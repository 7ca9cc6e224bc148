// A number as a Chinese input method types it. In full-width mode the digits
// and signs come as their full-width forms (３０, ０．４５, －５, ２０％), and a
// percentage often keeps its "%" ("20%"). Every window that reads a typed
// number (the JGJ 55-2011 form and any window after it) reads these texts as
// their half-width forms; the classic window keeps its own reading rules and
// only names the cause when it refuses them.
//
//     session::halfWidth("３０．５");          // "30.5"
//     session::typedNumber("２０％", true);   // "20": a percent field
//     session::typedNumber("20%", false);     // "20%": no percent field
//     session::hasFullWidthDigits("３０");    // true
#pragma once

#include <string>
#include <string_view>

namespace session {

// `text` with the full-width digits ０–９ and the signs ．－＋％ written as
// their half-width forms; everything else as it is.
std::string halfWidth(std::string_view text);

// Whether `text` holds one of the full-width digits ０–９.
bool hasFullWidthDigits(std::string_view text);

// The text a number field reads for what was typed: half-width, and in a
// field whose unit is the percent a "%" after the number (spaces around it
// allowed) left out. A "%" with no number before it stays, so that it is no
// number rather than an empty field.
std::string typedNumber(std::string_view text, bool percentField);

} // namespace session
