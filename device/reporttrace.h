#pragma once

#include <QString>

#include <cstddef>

// The report trace: one line per event of the device seam, appended to a file
// and flushed line by line.
//
//     <ms> <iface> <op> [<fields>]
//
// <ms> is the time since the program started in milliseconds with three
// decimals. <iface> is "cmd" (command interface), "evt" (event interface) or
// "-" for pauses. The operations and their fields:
//
//     open, open-failed, close          no field
//     feature-out, feature-in           the report as on the wire, report ID first
//     data-out                          the report as written, report ID first
//     data-in                           the bytes as hidapi delivers them (no report ID
//                                       for the command interface's data reports)
//     read-timeout <ms>                 a read that waited and got nothing
//     error <call>                      a call that failed: feature-out, feature-in,
//                                       data-out or data-in
//     sleep <ms>                        a fixed pause (iface "-")
//
// Bytes are two upper-case hex digits each, separated by one blank, exactly as
// they cross the seam (scrambled when scrambling is on). Enumeration and
// hid_set_nonblocking leave no line: discovery enumerates all catalogue models
// at each device change and the lines would bury the transfers.
namespace ReportTrace {

// Starts appending to `file`, which must be a regular file (a FIFO or a device
// could block the program). On failure prints one line and returns false; the
// program then runs without a trace.
bool open(const QString &file);
void close();
bool isOpen();

// `number` >= 0 is written as a decimal field after the bytes.
void write(const char *iface, const char *op, const unsigned char *bytes = nullptr, size_t n = 0,
           int number = -1);
// A line whose one field is a word (the failed call of an "error" line).
void writeWord(const char *iface, const char *op, const char *word);

// Tells the tracer that a hidapi path is the "cmd" or the "evt" interface.
void labelPath(const QString &path, const char *iface);
// The label given to `path`, or null when it has none.
const char *pathLabel(const char *path);

// Milliseconds since the program started (the trace's clock).
double elapsedMs();

} // namespace ReportTrace
