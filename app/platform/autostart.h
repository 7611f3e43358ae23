#pragma once

#include <QString>

// The desktop's autostart entry for this program: $XDG_CONFIG_HOME/autostart/orvane-g7.desktop.
// It starts the program with --hidden, so it comes up in the tray where there is one.
namespace Autostart {

QString filePath();
bool isEnabled();
// Writes or removes the entry for `program`; on failure `error` gets one line.
bool setEnabled(bool on, const QString &program, QString *error);
// The entry's text, with `program` quoted as desktop files want.
QByteArray entryText(const QString &program);

} // namespace Autostart
