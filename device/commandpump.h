#pragma once

#include <functional>

// The event pump of a command that waits for the mouse (the channel polls, the
// first step of a send). Timers, posted calls and painting go on; user input and
// socket activity wait until the command is over: Qt Quick's pointer delivery
// and the socket objects are not re-entrant, and a release or a readyRead run
// inside the press or readyRead that started the command breaks them.
void pumpCommandEvents();

// While `holdsAll` says so, the pump handles nothing at all. The program holds it while a
// pointer button is down: a frame drawn inside a press handler, before Qt Quick has given
// the press its grab, leaves the pressed area deaf to its release.
void setCommandPumpHold(std::function<bool()> holdsAll);
