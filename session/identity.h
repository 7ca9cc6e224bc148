// Who the program is, in the words both front ends show: the caption of the
// classic window, the title of its boxes, the help box and the maker's page
// that "更多软件" opens. UTF-8 texts; the desktop turns them into QStrings
// once (ui/identity.h).
#pragma once

#include "lanshi/version.h"

#include <string_view>

namespace session {

// The application's title: the title bar of its notices and reports.
inline constexpr std::string_view kApplicationName = "普通澜石";
// The one version, as --version shows it.
inline constexpr std::string_view kApplicationVersion = lanshi::kVersion;
// The page that "更多软件" opens: the studio's other programs.
inline constexpr std::string_view kMakerPage = lanshi::kMakerPage;

// The caption of the classic window.
inline constexpr std::string_view kWindowCaption = "澜石    2011423 Beta 1  By：舟岚";
// The help box: the product title, in a box titled with the maker's name.
inline constexpr std::string_view kHelpText = "澜石";
inline constexpr std::string_view kHelpTitle = "青禾工作室";

} // namespace session
