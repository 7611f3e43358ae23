#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

// Decides when the profile follows the application in front. Focus changes
// are settled after a quiet interval (alt-tab through three windows switches
// once); a linked class makes its profile current, an unlinked one brings back
// the profile that was current before the first automatic switch; a profile
// picked by hand stays until the application in front changes.
class AutoSwitch : public QObject
{
    Q_OBJECT
public:
    static constexpr int settleMs = 300;

    struct Hooks
    {
        std::function<int(const QString &windowClass)> linkedProfile;   // -1: none
        std::function<int()> currentProfile;
        // Makes the profile current and sends it; false when that cannot happen now.
        std::function<bool(int profile)> switchTo;
        // A command, a recording or a page dialog in progress: the switch waits.
        std::function<bool()> busy;
    };

    explicit AutoSwitch(Hooks hooks, QObject *parent = nullptr);

    // Restarted by every focus change; its timeout calls settle().
    const QTimer &timer() const { return m_timer; }

public slots:
    // A window of windowClass is in front now; empty for none or an unknown one, which changes nothing.
    void focusChanged(const QString &windowClass);
    // The quiet interval is over: switch when the application in front changed.
    void settle();

private:
    Hooks m_hooks;
    QTimer m_timer;
    QString m_pendingClass;
    QString m_settledClass;
    int m_returnProfile = -1;   // current before the first automatic switch
    int m_switchedTo = -1;      // the last automatic switch, to notice a hand-picked profile
};
