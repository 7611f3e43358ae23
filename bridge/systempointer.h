#pragma once

class PointerSettings;

// The page's pointer levels and what the operating system gets for them.
// Every apply prints its "... Failed" line when the system refuses.
namespace SystemPointer {

// 2 x level, and 1 for level 0.
unsigned speedForLevel(unsigned level);
// 900 - 70 x level milliseconds; levels past 12 stay at level 12's 60 ms.
unsigned doubleClickTimeForLevel(unsigned level);

bool acceleration(PointerSettings &system);
void setAcceleration(PointerSettings &system, bool acceleration);
void setCursorSpeed(PointerSettings &system, unsigned level);
void setVerticalScrollLines(PointerSettings &system, unsigned lines);
void setDoubleClickSpeed(PointerSettings &system, unsigned level);

} // namespace SystemPointer
