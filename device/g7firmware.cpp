#include "g7firmware.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int macroSlots = 12;
// The logs are for tests; a long simulated session keeps only the latest.
constexpr int logLimit = 4096;

void remember(QList<QByteArray> &log, const QByteArray &entry)
{
    if (log.size() >= logLimit)
        log.removeFirst();
    log.append(entry);
}

QByteArray bytes(const unsigned char *data, int n)
{
    return QByteArray(reinterpret_cast<const char *>(data), n);
}

bool zero(const unsigned char *data, int n)
{
    return std::all_of(data, data + n, [](unsigned char b) { return b == 0; });
}

// A payload-announcing block: its code, the bytes the table takes.
struct PayloadKind {
    quint8 code;
    int tableBytes;
};
constexpr PayloadKind payloadKinds[] = {
    {0x03, 64},   // key matrix
    {0x05, 192},  // one macro slot
    {0x0A, 24},   // stage colours
    {0x0C, 24},   // lighting colours
};

int tableBytesOf(quint8 code)
{
    for (const PayloadKind &kind : payloadKinds) {
        if (kind.code == code)
            return kind.tableBytes;
    }
    return 0;
}

// 06H, 07H and 08H carry 00 where the others carry the check byte.
bool carriesCheckByte(quint8 code)
{
    return code != 0x06 && code != 0x07 && code != 0x08;
}

} // namespace

quint8 G7Firmware::checkByte(const unsigned char block[8])
{
    unsigned sum = 0;
    for (int i = 0; i < 7; ++i)
        sum += block[i];
    return quint8(~sum);
}

void G7Firmware::setReply(const std::array<unsigned char, 8> &reply)
{
    m_reply = reply;
    m_reply[7] = checkByte(m_reply.data());
}

void G7Firmware::restart()
{
    m_payload = Payload();
    m_reply = {};
    m_inputReports.clear();
}

QList<QByteArray> G7Firmware::takeInputReports()
{
    QList<QByteArray> reports;
    reports.swap(m_inputReports);
    return reports;
}

bool G7Firmware::receiveBlock(const unsigned char block[8])
{
    if (m_payload.reportsLeft > 0) {
        ++abandonedPayloads;
        m_payload = Payload();
    }
    m_inputReports.clear();

    const quint8 code = block[0];
    const quint8 expected = carriesCheckByte(code) ? checkByte(block) : 0;
    const bool accepted = block[7] == expected && (answerQuery(block) || applySetting(block));
    if (!accepted) {
        remember(ignoredBlocks, bytes(block, 8));
        return false;
    }
    remember(acceptedBlocks, bytes(block, 8));
    return true;
}

bool G7Firmware::answerQuery(const unsigned char block[8])
{
    std::array<unsigned char, 8> reply{};
    reply[0] = block[0];
    switch (block[0]) {
    case 0x00:
        for (int i = 0; i < 4 && i < secrecyCode.size(); ++i)
            reply[1 + i] = quint8(secrecyCode.at(i));
        break;
    case 0x83:
        std::memcpy(&reply[1], state.keyboardOptions.constData(), 4);
        break;
    case 0x87:
    case 0x8B:
        reply[1] = state.dpiStage;
        break;
    case 0x8D:
        reply[1] = state.ledEffect;
        reply[2] = state.ledOption1;
        reply[3] = state.ledOption2;
        break;
    case 0x90: {
        // 0AH does not say which table it carries, so there is one table to read back.
        reply[1] = block[1];
        QByteArray report = state.stageColours;
        report.resize(std::max(reportLength, int(report.size())), '\0');
        m_inputReports.append(report.left(reportLength));
        break;
    }
    default:
        return false;
    }
    setReply(reply);
    return true;
}

bool G7Firmware::applySetting(const unsigned char block[8])
{
    const quint8 code = block[0];
    switch (code) {
    case 0x01:
        state.reportRate = block[1];
        break;
    case 0x02:
        state.profile = block[1];
        break;
    case 0x03:
        // 00 00 01 00 announces the key matrix; anything else sets the options.
        if (block[1] == 0 && block[2] == 0 && block[3] == 1 && zero(block + 4, 3)) {
            m_payload = Payload{code, block[3], 0, {}};
        } else {
            state.keyboardOptions = bytes(block + 1, 4);
        }
        break;
    case 0x04:
        if (zero(block + 2, 5))
            state.liftOff = block[1];
        else
            state.gunData = bytes(block + 1, 5);
        break;
    case 0x05:
        if (block[2] >= macroSlots || block[3] == 0)
            return false;
        m_payload = Payload{code, block[3], block[2], {}};
        break;
    case 0x06:
        state.ledEffect = block[1];
        state.ledColour = block[2];
        state.ledOption1 = block[3];
        state.ledOption2 = block[4];
        break;
    case 0x07:
        state.dpiStage = block[1];
        state.dpiEnabled = block[2];
        state.dpi.replace(0, 4, bytes(block + 3, 4));
        break;
    case 0x08:
        state.dpi.replace(4, 4, bytes(block + 1, 4));
        state.dpiDoubled = block[5];
        break;
    case 0x0A:
    case 0x0C:
        if (block[3] == 0)
            return false;
        m_payload = Payload{code, block[3], 0, {}};
        break;
    case 0x0B:
        state.xSensitivity = block[1];
        state.ySensitivity = block[2];
        break;
    case 0x13:
        if (block[1] != 0xFF)
            return false;
        resetState();
        break;
    default:
        return false;
    }
    std::array<unsigned char, 8> echo{};
    std::copy(block, block + 8, echo.begin());
    setReply(echo);
    return true;
}

void G7Firmware::refuseReport(const QByteArray &report)
{
    remember(ignoredBlocks, report);
}

void G7Firmware::receiveDataReport(const unsigned char *payload, size_t length)
{
    QByteArray report = bytes(payload, int(std::min(length, size_t(reportLength))));
    report.resize(reportLength, '\0');
    remember(dataReports, report);
    if (m_payload.reportsLeft <= 0) {
        ++strayDataReports;
        return;
    }
    m_payload.data.append(report);
    if (--m_payload.reportsLeft == 0)
        finishPayload();
}

void G7Firmware::finishPayload()
{
    QByteArray table = m_payload.data.left(tableBytesOf(m_payload.code));
    table.resize(tableBytesOf(m_payload.code), '\0');
    switch (m_payload.code) {
    case 0x03:
        state.keyMatrix = table;
        break;
    case 0x05:
        state.macros[m_payload.macroId] = table;
        break;
    case 0x0A:
        state.stageColours = table;
        break;
    case 0x0C:
        state.ledColours = table;
        break;
    }
    m_payload = Payload();
}
