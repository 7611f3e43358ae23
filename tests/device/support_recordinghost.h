#pragma once

#include "devicehost.h"

#include <QCoreApplication>
#include <QMutex>
#include <QStringList>
#include <QThread>

#include <atomic>

// Stands in for the tray agent: records every call the device connection
// makes, and counts calls that did not arrive on the GUI thread.
class RecordingHost : public DeviceHost
{
public:
    void deviceConnected(int curDevice) override { record(QStringLiteral("connected %1").arg(curDevice)); }
    void showNotice(const QString &title, const QString &text) override
    {
        record(QStringLiteral("notice %1: %2").arg(title, text));
    }
    void setViewEnabled(bool enabled) override { record(enabled ? "view enabled" : "view disabled"); }
    void hideWindow() override { record(QStringLiteral("hide window")); }
    void clearHidBusy() override { record(QStringLiteral("clear busy")); }
    QVariant language() const override { return lang; }

    QStringList takeCalls()
    {
        QMutexLocker lock(&mutex);
        return std::exchange(calls, {});
    }
    QStringList callsSoFar() const
    {
        QMutexLocker lock(&mutex);
        return calls;
    }

    QString lang = QStringLiteral("English");
    std::atomic<int> offThreadCalls{0};

private:
    void record(const QString &call)
    {
        if (QThread::currentThread() != QCoreApplication::instance()->thread())
            ++offThreadCalls;
        QMutexLocker lock(&mutex);
        calls.append(call);
    }

    mutable QMutex mutex;
    QStringList calls;
};
