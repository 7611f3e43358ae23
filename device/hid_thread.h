#pragma once

#include "catalogue.h"
#include "channeluse.h"

#include <QFuture>
#include <QList>
#include <QMutex>
#include <QString>
#include <QThread>
#include <QVariant>

#include <atomic>
#include <functional>
#include <initializer_list>

class DeviceHost;
class HidHandle;

// Process-wide device state.
extern bool isEncode;
extern unsigned char SecrecyCode[8];
extern bool deviceReady;
extern quint32 dpiStageValues[8];
extern QString dpiSwitchText[8];

// Takes a stored secrecy code text; one of another length than six keeps the code there is.
void useSecrecyCode(const QString &code);

enum class DeviceCommand;

// The one object that talks to the mouse. A QThread that is never started:
// every command runs on the calling (GUI) thread; only the event monitor runs
// on a pool thread.
// Its jobs, one file each: hid_channel (over channeluse), hid_commands (over
// commandtable), hid_connection, hid_monitor, hid_devicelist and hid_transport.
class Hid_Thread : public QThread
{
    Q_OBJECT
public:
    explicit Hid_Thread(DeviceHost *owner = nullptr, QObject *parent = nullptr);
    ~Hid_Thread() override;

    DeviceHost *owner = nullptr;
    // Written on the GUI thread only, under devListLock: the event monitor reads
    // it from a pool thread under the lock and hands its clearing of path2 back
    // to the GUI thread, so code on the GUI thread may read devList directly.
    QList<DeviceRecord> devList;
    uint did = 1;
    HidHandle *hidDev = nullptr;
    HidHandle *hidDev2 = nullptr;
    bool hidFree = true;
    std::atomic<bool> monitorRunning{false};
    bool settleFlag = true;
    QFuture<void> monitorFuture;
    unsigned char txReport[9] = {};
    unsigned char rxReport[9] = {};
    unsigned char dataBuf[512] = {};

    void findDevices(const QList<DevInfoEntry> &entries);

    // A copy of the record of catalogue index `index`; a default record (empty
    // paths, meaning "no device") when devList holds no such entry.
    DeviceRecord record(uint index) const;

    bool waitHidFree();
    void waitSettle();
    HidHandle *openHid(uint did);
    HidHandle *openHid2(uint did);
    bool sendCommand(int len, bool settle);
    // Bytes of the mouse's feature reply, -1 when the block, the reply or a data report failed.
    int queryCommand(int len);

    void startMonitor(uint did);
    void monitorLoop(uint did, quint64 connection);
    void stopMonitor();

    // For quitting: from now on a command no longer waits for the channel (it
    // fails at once) and no event monitor starts. A command waiting for the
    // channel pumps events, and a Quit chosen there must not wait for them all.
    void stopCommands();
    bool commandsStopped() const { return stopped; }

    // True while a command or a connect step runs; they pump events, and a
    // discovery run from one would take the channel and its buffers under it.
    bool channelInUse() const;
    // Runs `discovery` from the event loop once no command or connect step runs;
    // a later request replaces an earlier one still waiting.
    void deferDiscovery(std::function<void()> discovery);
    // Runs `task` from the event loop once no command or connect step runs, after
    // every task asked for before it. The page's functions run this way: they send
    // commands, which inside another one's wait would find the channel held.
    void runWhenIdle(std::function<void()> task);

public slots:
    // The queries (00H, 83H, 8BH, 8DH, 90H) return the bytes of the mouse's reply: 0 when the
    // channel stayed busy or a transfer failed.
    void swichCurDevice(uint did);
    uchar hidCS(uchar *cmd);
    void chkDeviceIsEnCode();
    void USBDataEncryption(uchar FIFOBuf[], uchar SecrecyCode[]);
    void USBDataDecipher(uchar FIFOBuf[], uchar SecrecyCode[]);
    int hid_00H_GetSecrecyCode(uchar &byte1, uchar &byte2, uchar &byte3, uchar &byte4);
    void hid_01H_SetReportRate(uchar rate);
    void hid_04H_SetJMGD(uchar tmpJMGD);
    void hid_13H_Recovery();
    void hid_02H_SetCurrentProfile(uchar profile);
    void hid_03H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4);
    void hid_04H_SetGunData(uchar par0, uchar par1, uchar par2, uchar par3, uchar par4);
    void hid_0EH_SetXYSensitive(uchar par0, uchar par1);
    QVariant hid_87H_GetCurrentDPI();
    int hid_83H_GetKeyboardoption(uchar &byte1, uchar &byte2, uchar &byte3, uchar &byte4);
    void hid_06H_SetRGBLedEffect(uchar effect, uchar colorV, uchar option1, uchar option2);
    void hid_10H_SetLED8StageColor(uchar type, uchar *src24);
    void hid_LEDColor(uchar *src24);
    void hid_07H_SetDPISet(uchar dpiStage, uchar dpiSegment, uchar dpi0, uchar dpi1, uchar dpi2, uchar dpi3);
    void hid_08H_SetDPISet(uchar dpi4, uchar dpi5, uchar dpi6, uchar dpi7, uchar mul2);
    void hidARM_03H_SetKeyMatrix(uchar *src64);
    void hid_05H_SetMacroKey(uchar macroId, uchar *src128);
    int hid_8BH_GetCurrentDPIStage(uchar &dpiStage);
    int hid_8DH_GetRGBLedEffect(uchar &effect, uchar &option1, uchar &option2);
    int hid_90H_GetLED8StageColor(uchar type, uchar *src24);

private:
    // Marks a command or connect step as running for as long as it lives.
    using BusyScope = ChannelUse::Scope;
    enum class Outcome { Busy, Failed, Done };
    struct Result {
        Outcome outcome = Outcome::Busy;
        int replyLength = 0;    // a query's feature reply, in bytes
    };

    // Takes the channel, builds the block from the command table and the
    // arguments, runs the transfer and the final pause. A payloadLength of -1
    // takes the table's length.
    Result runCommand(DeviceCommand command, std::initializer_list<uchar> args,
                      uchar *payload = nullptr, int payloadLength = -1,
                      const uchar *replyPreset = nullptr);

    void clearPath(uint index);

    bool stopped = false;
    // From any thread: forgets path2 of `index` on the GUI thread, unless a
    // discovery has replaced the list since `generation`.
    void clearEventPath(uint index, quint64 generation);
    void closeCommandHandle();
    // Opens the command interface and sends txReport; null when either fails.
    HidHandle *sendBlock();
    // Data-report chunk for a payload of len bytes (len capped to dataBuf); 0 when none can carry it.
    int payloadChunk(int &len) const;
    // Closes the handle and frees the channel; returns transferred.
    bool releaseChannel(bool transferred);
    void showDpiNotice(int stage);
    void connectDevice();
    // Stops every monitor loop started and waits until each has returned.
    void endMonitorLoops();

    mutable QMutex devListLock;
    quint64 devListGeneration = 0;      // bumped by every discovery
    quint64 connectionGeneration = 0;   // bumped by every connect; GUI thread only
    ChannelUse channelUse{this};
    QList<QFuture<void>> monitorLoops;  // every loop not yet waited for
};
