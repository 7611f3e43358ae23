#include "appicon.h"

#include <QGuiApplication>

QIcon programIcon()
{
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/%1x%1/orvane-g7.png").arg(size), QSize(size, size));
    return icon;
}

void setDesktopIdentity()
{
    QGuiApplication::setDesktopFileName(QStringLiteral("orvane-g7"));
    QGuiApplication::setWindowIcon(programIcon());
}
