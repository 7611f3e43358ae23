#pragma once

#include <QByteArray>
#include <QList>

#include <array>

// What the mouse keeps in its memory. Multi-byte settings are byte strings so
// tests compare them with QByteArray::fromHex.
struct G7FirmwareState
{
    quint8 reportRate = 1;                                // 01H
    quint8 profile = 0;                                   // 02H
    QByteArray keyboardOptions = QByteArray(4, '\0');     // 03H, four option bytes
    QByteArray keyMatrix = QByteArray(64, '\0');          // 03H + one data report
    quint8 liftOff = 2;                                   // 04H with only its first argument
    QByteArray gunData = QByteArray(5, '\0');             // 04H with more arguments
    QList<QByteArray> macros = QList<QByteArray>(12, QByteArray(192, '\0')); // 05H + three data reports
    quint8 ledEffect = 0;                                 // 06H
    quint8 ledColour = 0;
    quint8 ledOption1 = 0;
    quint8 ledOption2 = 0;
    quint8 dpiStage = 1;           // 07H B[1]; the stage in use, counted from 0
    quint8 dpiEnabled = 0xFF;      // 07H B[2], bit i = stage i
    QByteArray dpi = QByteArray::fromHex("08102030406080A0"); // 07H B[3..6], 08H B[1..4]
    quint8 dpiDoubled = 0;         // 08H B[5], bit i = stage i uses the doubled step
    QByteArray stageColours = QByteArray(24, '\0');       // 0AH + one data report
    quint8 xSensitivity = 10;                             // 0BH
    quint8 ySensitivity = 10;
    QByteArray ledColours = QByteArray(24, '\0');         // 0CH + one data report
};

// The mouse's command interpreter: takes plain command blocks and data reports,
// keeps the state they set and answers queries from it. No I/O and no locking;
// SimulatedG7 puts the HID interfaces around it.
class G7Firmware
{
public:
    // The check byte: the complement of the sum of the first seven bytes.
    static quint8 checkByte(const unsigned char block[8]);

    // Interprets one plain 8-byte block. A block with a wrong check byte (06H,
    // 07H and 08H must carry 00), an unknown code or an impossible argument is
    // ignored and kept in ignoredBlocks; the result is false then.
    bool receiveBlock(const unsigned char block[8]);
    // A feature report that is no command block (short, or another report ID).
    void refuseReport(const QByteArray &report);
    // One output data report, without its report ID.
    void receiveDataReport(const unsigned char *payload, size_t length);

    // The block a feature-report read returns: the answer to the last query,
    // or the last accepted block echoed.
    std::array<unsigned char, 8> replyBlock() const { return m_reply; }
    // The input data reports the last query produced (90H), oldest first.
    QList<QByteArray> takeInputReports();

    void resetState() { state = G7FirmwareState(); }
    // Power-up after a replug: the settings stay, a half-received payload,
    // the reply and unread input reports are gone.
    void restart();

    G7FirmwareState state;
    int reportLength = 64;
    QByteArray secrecyCode = QByteArrayLiteral("731946"); // 00H answers its first four characters

    // The latest 4096 of each.
    QList<QByteArray> acceptedBlocks;
    QList<QByteArray> ignoredBlocks;
    QList<QByteArray> dataReports;   // every output data report received, padded to reportLength
    int strayDataReports = 0;        // data reports no command announced
    int abandonedPayloads = 0;       // payloads cut short by the next command block

private:
    struct Payload {
        quint8 code = 0;
        int reportsLeft = 0;
        int macroId = 0;
        QByteArray data;
    };

    void setReply(const std::array<unsigned char, 8> &reply);
    bool answerQuery(const unsigned char block[8]);
    bool applySetting(const unsigned char block[8]);
    void finishPayload();

    std::array<unsigned char, 8> m_reply{};
    Payload m_payload;
    QList<QByteArray> m_inputReports;
};
