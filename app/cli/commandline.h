#pragma once

// The program's command-line mode (--list, --profile, --export, --import,
// --status, --help): no window, no tray, no display needed. When the tray
// program already runs, the command is handed to it and its answer printed, so
// only one process ever writes to the mouse.
namespace CommandLine {

// Whether the arguments ask for a command instead of the tray program.
bool wanted(int argc, char **argv);
// Runs the command and returns the exit code.
int run(int argc, char **argv);

} // namespace CommandLine
