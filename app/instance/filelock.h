#pragma once

#include <QString>

// An exclusive lock on a file that the operating system drops when its holder
// dies, so an empty, garbled or foreign file is never mistaken for a holder.
namespace FileLock {

enum class Result { Taken, Held, Unavailable };

// Tries once, without waiting. On Taken, `handle` is the open file to release.
Result take(const QString &path, qintptr *handle);
void release(qintptr handle);
// Whether another process holds the lock, without taking it even for a moment:
// Held or, when the lock is free or cannot be looked at, Taken or Unavailable.
Result probe(const QString &path);

// Removes what a crashed copy or another program left at one of our names:
// a file, a socket, a link or a directory.
bool removeLeftover(const QString &path);

} // namespace FileLock
