#pragma once

#include "devicehost.h"

#include <QCoreApplication>
#include <QMutex>
#include <QStringList>
#include <QThread>

#include <functional>

// The tray agent's stand-in: records the calls and counts those off the GUI thread;
// onConnect runs what the page starts at a connect.
class RecordingHost : public DeviceHost
{
public:
    void deviceConnected(int curDevice) override
    {
        record("connected " + QString::number(curDevice));
        if (onConnect)
            onConnect(curDevice);
    }
    void showNotice(const QString &title, const QString &text) override { record("notice " + title + ": " + text); }
    void setViewEnabled(bool enabled) override
    {
        viewEnabled = enabled;
        record(enabled ? "view enabled" : "view disabled");
    }
    void hideWindow() override { record("hide window"); }
    void clearHidBusy() override
    {
        record("clear busy");
        if (onClearBusy)
            onClearBusy();
    }
    bool chinese() const override { return inChinese; }
    QString secrecyCode(uint) const override { return code; }

    void record(const QString &call)
    {
        QMutexLocker lock(&mutex);
        offThreadCalls += QThread::currentThread() != QCoreApplication::instance()->thread();
        calls << call;
    }
    QStringList take() { return std::exchange(calls, {}); }

    bool inChinese = false;
    QString code = QStringLiteral("731946");
    std::function<void(int)> onConnect;
    std::function<void()> onClearBusy;
    QMutex mutex;
    QStringList calls;      // read on the GUI thread, where every call must come
    int offThreadCalls = 0;
    bool viewEnabled = false;
};
