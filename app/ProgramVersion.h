#ifndef ZENDRIK_APP_PROGRAMVERSION_H
#define ZENDRIK_APP_PROGRAMVERSION_H

#include <QString>
#include <string_view>

// The release this program is: the About window shows it, the status bar's version panel carries it,
// the What's New history begins with it, and chart files record version and build number.
inline constexpr std::string_view kProgramVersion = "V04.12";
inline constexpr std::string_view kBuildNumber = "12600";
inline constexpr std::string_view kBuildDate = "15/02/2019 18:26:40";

inline QString ProgramVersionText() { return QString::fromLatin1(kProgramVersion.data(), kProgramVersion.size()); }
inline QString BuildNumberText() { return QString::fromLatin1(kBuildNumber.data(), kBuildNumber.size()); }
inline QString BuildDateText() { return QString::fromLatin1(kBuildDate.data(), kBuildDate.size()); }
// The version panel's text: "V04.12 #12600".
inline QString VersionStatusText() { return ProgramVersionText() + QStringLiteral(" #") + BuildNumberText(); }

#endif
