#pragma once

#include <QObject>

class Widget;
class myQQuickView;

// Turns the tray agent's widget into the frameless, transparent main window,
// hosts the QML view in it and offers the page the window operations.
class Ui_Controler : public QObject
{
    Q_OBJECT
public:
    Ui_Controler();

    // Prepares widget as the main window and loads the page into it.
    void setupUi(Widget *widget);

    Widget *widget = nullptr;
    myQQuickView *view = nullptr;

public slots:
    void onMinimize();
    void onClose();
    void onXChanged(int x);
    void onYChanged(int y);
    void setBusy(int busyTime);
    void setBusy();
};
