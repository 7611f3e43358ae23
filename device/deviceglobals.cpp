#include "hid_thread.h"

bool isEncode = false;
unsigned char SecrecyCode[8] = {};
bool deviceReady = false;
quint32 dpiStageValues[8] = {};
QString dpiSwitchText[8] = {
    QStringLiteral("DPI Switch to"), QStringLiteral("DPI Switch to"),
    QStringLiteral("DPI Switch to"), QStringLiteral("DPI Switch to"),
    QStringLiteral("DPI Switch to"), QStringLiteral("DPI Switch to"),
    QStringLiteral("DPI Switch to"), QStringLiteral("DPI Switch to"),
};
