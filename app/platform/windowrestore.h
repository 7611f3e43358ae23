#pragma once

class QWidget;

// Asks for the window to be shown and brought out of the minimised state once
// control returns to the event loop. On Windows this is the system-command
// restore message posted to the window itself; elsewhere a queued call.
void postRestore(QWidget *window);

// What the restore does when it arrives: visible, and no longer minimised.
void restoreWindow(QWidget *window);
