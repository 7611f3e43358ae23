#pragma once

#include <QDir>
#include <QFile>
#include <QTest>

#include <sys/stat.h>

#include <utility>

// Below a fake root (ORVANE_G7_SYSROOT): a G7 (model 1, 260d:1031) on the bus, its node /dev/hidraw3 of `mode`.
inline void addFakeMouse(const QString &root, int mode)
{
    const QString usb = root + QStringLiteral("/sys/bus/usb/devices/1-2");
    const QString hid = root + QStringLiteral("/sys/class/hidraw/hidraw3/device");
    const QString node = root + QStringLiteral("/dev/hidraw3");
    QVERIFY(QDir().mkpath(usb) && QDir().mkpath(hid) && QDir().mkpath(root + QStringLiteral("/dev")));
    const QList<std::pair<QString, QByteArray>> files{
        {usb + QStringLiteral("/idVendor"), "260d\n"}, {usb + QStringLiteral("/idProduct"), "1031\n"},
        {hid + QStringLiteral("/uevent"), "DRIVER=hid-generic\nHID_ID=0003:0000260D:00001031\nHID_NAME=ORVANE G7\n"},
        {node, QByteArray()}};
    for (const auto &[name, content] : files) {
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    }
    QCOMPARE(chmod(QFile::encodeName(node).constData(), mode_t(mode)), 0);
}
