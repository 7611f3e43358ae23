#pragma once

// Picks the Qt Quick scene graph backend for the main window. Must run before
// the application object exists.
void chooseQuickRenderer();
