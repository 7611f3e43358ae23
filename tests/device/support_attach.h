#pragma once

#include "catalogue.h"
#include "hid_thread.h"

// Discovery against the shipped catalogue, without connecting.
inline void attachShippedCatalogue(Hid_Thread &hid)
{
    bool encode = false;
    hid.findDevices(readCatalogue(QStringLiteral(":/DevInfo.ini"), {}, &encode));
}
