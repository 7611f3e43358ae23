#pragma once

#include <QObject>

// Where no desktop-wide recording is possible (Wayland, or an X server without
// RECORD), our own windows' key and button events go through the hook procedures
// instead, with their native scan codes, so the pages see the same reports.
class WindowInputFeed : public QObject
{
    Q_OBJECT
public:
    explicit WindowInputFeed(QObject *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
