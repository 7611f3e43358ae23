#pragma once

#include <QString>

// The one place where the program's data paths are resolved. Every file the
// program reads or writes below "./modules/" or "./update/" is opened through
// dataPath().
//
// By default a path resolves against the working directory, which start-up
// makes the executable's directory: a build tree or a portable copy keeps its
// data beside the program. chooseDataFolder() moves the user's own files
// (settings, profiles, name lists, macros, recoil data) to
// $XDG_DATA_HOME/orvane-g7/modules/ when modules/ beside the program cannot be
// written, as in a system install; installation data that the program only
// reads (the default profile, language files, images, updaters) is then still
// read from the installed folder, which is never written.
QString dataPath(const QString &relative);

// Decides where the user's files live for a program in programDir and, for a
// per-user folder, copies the installed user files that are missing there.
// Returns the per-user modules/ folder, or an empty string when the data stays
// beside the program.
QString chooseDataFolder(const QString &programDir);

// The per-user modules/ folder in use, empty while data stays beside the program.
QString userDataFolder();

// Whether this user may create and change files in dir, judged by the folder's
// mode bits and mount alone: root is treated like any owner, so a folder made
// read-only stays read-only for the program even when run as root.
bool folderWritable(const QString &dir);
