#pragma once

#include "g7firmware.h"
#include "hidbackend.h"

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QWaitCondition>

#include <array>

// A G7 mouse on the HID seam: the firmware model (G7Firmware) behind the two
// interfaces the catalogue names, with the faults a real device shows (unplug,
// failing calls, short reports, silence) switchable by tests.
//
// The command interface (usage page ff01, usage 0001) takes 9-byte feature
// reports (report ID 00 and one block) and data reports of report ID 00 plus
// reportLength bytes; feature reads return report ID 00 and the reply block;
// hid_read delivers the data reports a query produced, without report ID. The
// event interface (ff02, 0001) delivers queued event reports (06 07 00 k) to
// hid_read_timeout. All calls are thread-safe: the event monitor reads on a
// pool thread while commands run on the GUI thread.
class SimulatedG7 : public QObject, public HidBackend
{
    Q_OBJECT
public:
    enum class Interface { Command, Event };
    // The kinds of call whose failure tests can ask for.
    enum class Call { OpenCommand, OpenEvent, FeatureOut, FeatureIn, DataOut, DataIn, EventIn };

    static constexpr uint16_t vendorId = 0x260D;
    static constexpr std::array<uint16_t, 4> productIds = {0x1038, 0x1031, 0x1039, 0x1048};
    static constexpr int reportLength = 64;
    static constexpr int readCapMs = 2000;   // how long a blocking hid_read waits for data that never comes

    // `model` is the catalogue index 0..3 and chooses the product ID.
    explicit SimulatedG7(int model = 1, QObject *parent = nullptr);
    ~SimulatedG7() override;

    int model() const { return m_model; }
    uint16_t productId() const { return productIds[size_t(m_model)]; }
    QByteArray commandPath() const;
    QByteArray eventPath() const;

    // The firmware's memory, read or preset by tests.
    G7FirmwareState state() const;
    void setState(const G7FirmwareState &state);
    QList<QByteArray> acceptedBlocks() const;   // plain blocks the firmware took
    QList<QByteArray> ignoredBlocks() const;    // plain blocks it refused
    QList<QByteArray> dataReports() const;      // output data reports, without report ID
    int strayDataReports() const;

    // Plug state. Unplugging invalidates every open handle, makes opens fail,
    // empties the input queues and wakes waiting reads (which return -1).
    bool isPlugged() const;
    void plug();
    void unplug();

    // The interfaces an enumeration lists, in order (default: command, event).
    // A repeated interface is listed under a further path that opens the same
    // interface.
    void setListing(const QList<Interface> &listing);
    QByteArray pathOf(Interface iface, int occurrence = 0) const;

    // Events. emitDpiEvent queues 06 07 00 <stage> (stage counted from 1, as
    // on the wire) and makes stage-1 the current stage; queueEvent queues any
    // report as it is. Events wait for a reader even while the event interface
    // is closed (hidraw would drop them), so tests need not race the monitor's
    // re-opening.
    void emitDpiEvent(int stage);
    void queueEvent(const QByteArray &report);
    int pendingEvents() const;

    // One hidraw node for both collections, as hidapi 0.13 lists them: the
    // enumeration names the command and the event collection under one path,
    // and every handle open on it receives every input report (event reports
    // and the data reports of queries) in the order they arrive. Reports that
    // arrive while no handle is open wait for the next one opened.
    void setSharedNode(bool shared);
    bool sharedNode() const;
    // The DPI button is pressed while the next query's data reports are on
    // their way: the event report 06 07 00 <stage> arrives right before them.
    void emitDpiEventWithNextInput(int stage);

    // Scrambling: command blocks arrive scrambled and reply blocks leave
    // scrambled with the six-character code. Data reports are never scrambled.
    void setScrambling(bool on, const QByteArray &sixCharCode = QByteArrayLiteral("731946"));

    // Faults. The `nth` next call of the kind fails, and `times` - 1 calls of
    // the kind after it (times < 0: every later one).
    void failCall(Call call, int nth = 1, int times = 1);
    // Unplugs right after `count` more data reports (either direction) passed.
    void unplugAfterDataReports(int count);
    // Feature reads, data reads and events deliver at most `maxBytes` (0: off).
    void setShortReports(int maxBytes);
    // Silent: reads never deliver; hid_read blocks up to the read cap (then -1)
    // or until unplug, hid_read_timeout waits its timeout and returns 0.
    void setSilent(bool silent);
    void clearFaults();

    int openHandles() const;
    int openCount(Interface iface) const;

    // HidBackend
    G7_HID_BACKEND_OVERRIDES

signals:
    void devicesChanged();

private:
    class Handle;
    struct Fault {
        int countdown = 0;  // calls until the first failure; 0 = none armed
        int times = 0;
    };

    bool valid(const HidHandle *dev) const;
    bool failing(Call call);
    Call readCall(const HidHandle *dev) const;
    int readReport(HidHandle *dev, unsigned char *data, size_t length, int milliseconds);
    int deliver(QByteArray report, unsigned char *data, size_t length);
    // Input from the device: to the data or event queue, or on a shared node
    // to every open handle.
    void arriveInput(const QList<QByteArray> &reports, Interface iface);
    QList<QByteArray> &inputQueue(HidHandle *dev);
    // Counts a data report; true when the device is to be unplugged after it.
    bool countDataReport();
    void unplugLocked();

    const int m_model;
    mutable QMutex m_mutex;
    QWaitCondition m_inputArrived;
    G7Firmware m_firmware;
    QList<QByteArray> m_dataInput;
    QList<QByteArray> m_events;
    QList<Interface> m_listing{Interface::Command, Interface::Event};
    bool m_plugged = true;
    quint64 m_plugGeneration = 0;
    bool m_shared = false;
    QList<Handle *> m_sharedHandles;
    QList<QByteArray> m_sharedWaiting;      // arrived while no handle was open
    QByteArray m_eventWithNextInput;
    bool m_scrambling = false;
    unsigned char m_code[8] = {};
    Fault m_faults[7];
    int m_unplugAfter = -1;
    int m_shortReports = 0;
    bool m_silent = false;
    int m_openHandles = 0;
    int m_openCount[2] = {};
};
