#pragma once

#include <QAction>

class QMenu;

// The tray menu's "Start with the desktop" switch: checked while the autostart entry exists,
// read again each time the menu opens (the command line may have changed it meanwhile).
class AutostartAction : public QAction
{
    Q_OBJECT
public:
    AutostartAction(const QString &text, QMenu *menu);

private:
    void switchTo(bool on);
};
