// The event monitor's reading of event reports: every report and length the
// case holds, until the mouse goes away. Only a DPI event of stage 1..8 may
// become a notice.
#include "fuzzsupport.h"
#include "recordinghost.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSupport::init();
    for (int i = 0; i < 8; ++i)
        dpiStageValues[i] = 100u * uint(i + 1);
    auto mouse = std::make_shared<FuzzedMouse>(data, size);
    setHidBackend(mouse);
    int dpiEvents = 0;
    for (size_t i = 0; i + 4 <= size; ++i)
        dpiEvents += data[i] == 0x06 && data[i + 1] == 0x07;
    {
        RecordingHost host;
        Hid_Thread hid(&host);
        attach(hid);
        hid.monitorRunning = true;
        hid.monitorLoop(hid.did, 0);   // no connect ran: the first connection
        QCoreApplication::processEvents();
        const QStringList notices = host.calls.filter(QStringLiteral("notice "));
        if (notices.size() > dpiEvents)
            abort();
        for (const QString &notice : notices) {
            const uint value = notice.section(QLatin1Char(' '), -1).toUInt();
            if (value < 100 || value > 800 || value % 100)
                abort();
        }
    }
    setHidBackend(nullptr);
    return 0;
}
