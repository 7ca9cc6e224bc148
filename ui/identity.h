// Who the program is: the names and the version it shows in its title bars,
// its version information and its desktop entry.
#pragma once

#include "lanshi/version.h"

#include <QString>

namespace ui {

// The application's title: the title bar of its notices and reports.
inline const QString kApplicationName = QStringLiteral("普通澜石");
// The one version, as --version shows it.
inline const QString kApplicationVersion = QString::fromLatin1(lanshi::kVersion);
inline const QString kOrganizationName = QStringLiteral("青禾工作室");
// The maker's domain, as in the program's AppStream id io.github.qinghestudio.
inline const QString kOrganizationDomain = QStringLiteral("qinghestudio.github.io");
// The page that "更多软件" opens: the studio's other programs.
inline const QString kMakerPage = QString::fromLatin1(lanshi::kMakerPage);

// The caption of the main window.
inline const QString kWindowCaption = QStringLiteral("澜石    2011423 Beta 1  By：舟岚");
// The help box: the product title, in a box titled with the maker's name.
inline const QString kHelpText = QStringLiteral("澜石");
inline const QString kHelpTitle = QStringLiteral("青禾工作室");

} // namespace ui
