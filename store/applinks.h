#pragma once

#include <QList>
#include <QString>

class QSettings;

// Which profile each application (its window class, WM_CLASS's class part)
// follows: the [appLinks] section of apConfig.bin, one line a class,
// `XTerm=1`, escaped as every key of the store's files is (a blank as %20).
namespace AppLinks {

struct Link
{
    QString windowClass;
    int profile = -1;
};

// In the order of the classes' names.
QList<Link> read(const QSettings &apConfig);
// The profile linked to windowClass; -1 when there is none.
int profileFor(const QSettings &apConfig, const QString &windowClass);
QStringList classesOf(const QSettings &apConfig, int profile);

// Each writes the file at once and returns whether it changed.
// A class has one profile: linking it again moves the link.
bool link(QSettings &apConfig, const QString &windowClass, int profile);
bool unlink(QSettings &apConfig, const QString &windowClass);
// A deleted profile's links go with it.
bool unlinkProfile(QSettings &apConfig, int profile);

// Whether windowClass can be linked: not empty, at most 256 characters, no control
// characters, no slash or backslash (they would make a key of more than one level).
bool validClass(const QString &windowClass);

} // namespace AppLinks
