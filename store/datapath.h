#pragma once

#include <QString>

// The one place where the program's data paths are resolved. Every file the
// program reads or writes below "./modules/" or "./update/" is opened through
// dataPath(), so an installed copy can later move user data to a per-user
// folder by changing this function alone.
//
// Today a path resolves against the working directory, which start-up makes
// the executable's directory.
QString dataPath(const QString &relative);
