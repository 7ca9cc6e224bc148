// Who the program is: the names and the version it shows in its title bars,
// its version information and its desktop entry (the window's own texts come
// from session/identity.h).
#pragma once

#include "session/identity.h"
#include "ui/qtext.h"

#include <QString>

namespace ui {

// The application's title: the title bar of its notices and reports.
inline const QString kApplicationName = qt(session::kApplicationName);
// The one version, as --version shows it.
inline const QString kApplicationVersion = qt(session::kApplicationVersion);
inline const QString kOrganizationName = QStringLiteral("青禾工作室");
// The maker's domain, as in the program's AppStream id io.github.qinghestudio.
inline const QString kOrganizationDomain = QStringLiteral("qinghestudio.github.io");
// The page that "更多软件" opens: the studio's other programs.
inline const QString kMakerPage = qt(session::kMakerPage);

// The caption of the main window.
inline const QString kWindowCaption = qt(session::kWindowCaption);
// The help box: the product title, in a box titled with the maker's name.
inline const QString kHelpText = qt(session::kHelpText);
inline const QString kHelpTitle = qt(session::kHelpTitle);

} // namespace ui
