#pragma once

#include <QString>
#include <QStringList>

// A command-line command, as parsed from the program's arguments. simulatedModels is
// how many models --simulate=N may choose from.
struct CliRequest
{
    enum Command { None, Help, Version, List, Profile, Export, Import, Status, Autostart, Link, Unlink, Links };

    Command command = None;
    int profile = -1;   // -1 with Import: into a new profile
    QString file;    // absolute: the running copy works in its own folder
    bool on = false;   // with Autostart
    QString windowClass;   // with Link and Unlink
    QString error;   // one line when the arguments do not make a command

    // Whether `args` (without the program name) ask for the command-line mode:
    // a command, or anything the tray program does not take (then parse() says why).
    static bool wanted(const QStringList &args, int simulatedModels);
    static CliRequest parse(const QStringList &args, int simulatedModels);
    // The command as arguments again, for the running copy.
    QStringList toArgs() const;
    static QString helpText();
};
