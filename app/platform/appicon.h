#pragma once

#include <QIcon>

// The program's icon at every size the package installs, from the compiled-in PNGs.
QIcon programIcon();
// Gives every window the icon (_NET_WM_ICON) and the menu entry's name, so docks and
// task switchers show the program as its menu entry does.
void setDesktopIdentity();
