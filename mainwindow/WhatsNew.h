#ifndef ZENDRIK_MAINWINDOW_WHATSNEW_H
#define ZENDRIK_MAINWINDOW_WHATSNEW_H

#include <QString>
#include <QStringList>

// The release history the "WhatsNew" window shows, newest release first.
QString WhatsNewHistory();

// What is wrong with a history text, one line per fault ("line 3: ..."); empty when the text has
// the form the window expects: releases headed "Whats New V" + version + " " + the date as six
// digits (day, month, two-digit year), newest first, the newest being this program's release;
// under each heading indented entries beginning "-add:", "-added", "-fix:", "-fixed",
// "-revision:" or "-change:"; and one line of dashes between the newest release and the older
// ones. Blank lines may stand between releases.
QStringList WhatsNewFormatErrors(const QString& text);

#endif
