#pragma once

#include <QEvent>

// A private request posted to the tray agent; code 2177 asks it to run the page.
class UserEvent : public QEvent
{
public:
    static constexpr int RunPage = 2177;

    explicit UserEvent(int code)
        : QEvent(QEvent::User), code(code)
    {
    }

    int code;
};
