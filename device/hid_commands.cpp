#include "hid_thread.h"

#include "pauses.h"
#include "scrambler.h"

#include <QtDebug>

#include <array>
#include <cstring>

enum class Hid_Thread::Command {
    GetSecrecyCode, SetReportRate, SetCurrentProfile, SetKeyboardOption, SetKeyMatrix,
    SetJMGD, SetGunData, SetMacroKey, SetRGBLedEffect, SetDPISet07, SetDPISet08,
    SetLED8StageColor, SetXYSensitive, LEDColor, Recovery,
    GetKeyboardOption, GetCurrentDPI, GetCurrentDPIStage, GetRGBLedEffect, GetLED8StageColor,
    Count
};

namespace {

enum class Transfer { Send, Query };

// Bytes B[1]..B[6] of a block: a constant 0..255, or argument n of the slot.
constexpr short A1 = -1, A2 = -2, A3 = -3, A4 = -4, A5 = -5, A6 = -6;

struct CommandLayout {
    unsigned char code;                 // B[0]
    std::array<short, 6> body;          // B[1]..B[6]
    bool checkByte;                     // B[7]: check byte, or 00
    Transfer transfer;
    bool settle;
    int payloadLength;                  // bytes of data reports after the block
    int pauseAfter;                     // ms, 0 for none
    const char *failText;               // logged when the channel cannot be taken
};

constexpr Transfer Send = Transfer::Send;
constexpr Transfer Query = Transfer::Query;

// One row per command slot, in the order of Hid_Thread::Command.
constexpr CommandLayout commandTable[] = {
    {0x00, {A1, A2, A3, A4, 0, 0},          true,  Query, false, 0,   0,   "cmd Failed 00"},
    {0x01, {A1, 0x03, 0x03, 0x0F, 0, 0},    true,  Send,  true,  0,   0,   "cmd Failed 01"},
    {0x02, {A1, 0, 0, 0, 0, 0},             true,  Send,  false, 0,   8,   "cmd Failed 02"},
    {0x03, {A1, A2, A3, A4, 0, 0},          true,  Send,  false, 0,   8,   "cmd Failed 03"},
    {0x03, {0x00, 0x00, 0x01, 0, 0, 0},     true,  Send,  true,  64,  100, "cmd Failed 03"},
    {0x04, {A1, 0, 0, 0, 0, 0},             true,  Send,  true,  0,   0,   "cmd Failed 04"},
    {0x04, {A1, A2, A3, A4, A5, 0},         true,  Send,  true,  0,   0,   "cmd Failed 04"},
    {0x05, {0x00, A1, 0x03, 0, 0, 0},       true,  Send,  true,  192, 100, "cmd Failed 05"},
    {0x06, {A1, A2, A3, A4, 0x01, 0},       false, Send,  true,  0,   0,   "hid_06H_SetRGBLedEffect"},
    {0x07, {A1, A2, A3, A4, A5, A6},        false, Send,  true,  0,   0,   "cmd Failed 07H"},
    {0x08, {A1, A2, A3, A4, A5, 0},         false, Send,  true,  0,   0,   "cmd Failed 08H"},
    {0x0A, {0x00, 0x00, 0x01, 0, 0, 0},     true,  Send,  true,  24,  0,   "cmd Failed 10"},
    {0x0B, {A1, A2, 0, 0, 0, 0},            true,  Send,  true,  0,   0,   "cmd Failed 0b"},
    {0x0C, {0x00, 0x00, 0x01, 0, 0, 0},     true,  Send,  true,  24,  0,   "hid_LEDColor"},
    {0x13, {0xFF, 0, 0, 0, 0, 0},           true,  Send,  true,  0,   0,   "cmd Failed 13H"},
    {0x83, {0, 0, 0, 0, 0, 0},              true,  Query, false, 0,   0,   "cmd Failed"},
    {0x87, {0, 0, 0, 0, 0, 0},              true,  Query, false, 0,   0,   "cmd Failed"},
    {0x8B, {0, 0, 0, 0, 0, 0},              true,  Query, false, 0,   0,   "cmd Failed"},
    {0x8D, {0, 0, 0, 0, 0, 0},              true,  Query, false, 0,   0,   "cmd Failed"},
    {0x90, {A1, 0, 0, 0, 0, 0},             true,  Query, false, 24,  0,   "cmd Failed"},
};

// The stage colour commands carry one colour (4 bytes) for type 2, else all eight.
int stageColorLength(uchar type)
{
    return type == 2 ? 4 : 24;
}

} // namespace

uchar Hid_Thread::hidCS(uchar *cmd)
{
    unsigned sum = 0;
    for (int i = 0; i < 7; ++i)
        sum += cmd[i];
    return uchar(~sum);
}

void Hid_Thread::USBDataEncryption(uchar FIFOBuf[], uchar SecrecyCode[])
{
    scrambleBlock(FIFOBuf, SecrecyCode);
}

void Hid_Thread::USBDataDecipher(uchar FIFOBuf[], uchar SecrecyCode[])
{
    unscrambleBlock(FIFOBuf, SecrecyCode);
}

Hid_Thread::Outcome Hid_Thread::runCommand(Command command, std::initializer_list<uchar> args,
                                           uchar *payload, int payloadLength,
                                           const uchar *replyPreset)
{
    static_assert(std::size(commandTable) == size_t(Command::Count));
    const CommandLayout &layout = commandTable[int(command)];
    const BusyScope busy(*this);
    if (!waitHidFree()) {
        qDebug("%s", layout.failText);
        return Outcome::Busy;
    }

    uchar *block = txReport + 1;
    txReport[0] = 0;
    block[0] = layout.code;
    for (int i = 0; i < 6; ++i) {
        const short byte = layout.body[i];
        const size_t arg = size_t(-byte - 1);
        block[i + 1] = byte >= 0 ? uchar(byte) : (arg < args.size() ? args.begin()[arg] : 0);
    }
    block[7] = layout.checkByte ? hidCS(block) : 0;

    if (layout.transfer == Transfer::Query) {
        if (replyPreset)
            std::memcpy(rxReport, replyPreset, sizeof rxReport);
        else
            std::memset(rxReport, 0, sizeof rxReport);
    }
    if (payloadLength < 0)
        payloadLength = layout.payloadLength;
    if (payloadLength > 0) {
        if (payload)
            std::memcpy(dataBuf, payload, payloadLength);
        else
            std::memset(dataBuf, 0, payloadLength);
    }

    const bool done = layout.transfer == Transfer::Query
            ? queryCommand(payloadLength)
            : sendCommand(payloadLength, layout.settle);
    if (layout.pauseAfter > 0)
        hidSleep(layout.pauseAfter);
    return done ? Outcome::Done : Outcome::Failed;
}

void Hid_Thread::hid_00H_GetSecrecyCode(uchar &byte1, uchar &byte2, uchar &byte3, uchar &byte4)
{
    if (runCommand(Command::GetSecrecyCode, {byte1, byte2, byte3, byte4}) == Outcome::Busy)
        return;
    byte1 = rxReport[2];
    byte2 = rxReport[3];
    byte3 = rxReport[4];
    byte4 = rxReport[5];
}

void Hid_Thread::hid_01H_SetReportRate(uchar rate)
{
    runCommand(Command::SetReportRate, {rate});
}

void Hid_Thread::hid_04H_SetJMGD(uchar tmpJMGD)
{
    runCommand(Command::SetJMGD, {tmpJMGD});
}

void Hid_Thread::hid_13H_Recovery()
{
    runCommand(Command::Recovery, {});
}

void Hid_Thread::hid_02H_SetCurrentProfile(uchar profile)
{
    runCommand(Command::SetCurrentProfile, {profile});
}

void Hid_Thread::hid_03H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4)
{
    runCommand(Command::SetKeyboardOption, {byte1, byte2, byte3, byte4});
}

void Hid_Thread::hid_04H_SetGunData(uchar par0, uchar par1, uchar par2, uchar par3, uchar par4)
{
    runCommand(Command::SetGunData, {par0, par1, par2, par3, par4});
}

void Hid_Thread::hid_0EH_SetXYSensitive(uchar par0, uchar par1)
{
    runCommand(Command::SetXYSensitive, {par0, par1});
}

QVariant Hid_Thread::hid_87H_GetCurrentDPI()
{
    if (runCommand(Command::GetCurrentDPI, {}) == Outcome::Busy)
        return QVariant(2);
    return QVariant(int(rxReport[2]));
}

bool Hid_Thread::readKeyboardOption(uchar &byte1, uchar &byte2, uchar &byte3, uchar &byte4)
{
    // The reply buffer starts out as the caller's values, so a failed query
    // hands them back unchanged.
    const uchar preset[9] = {0x00, 0x83, byte1, byte2, byte3, byte4, 0x00, 0x00, 0x00};
    const Outcome outcome = runCommand(Command::GetKeyboardOption, {}, nullptr, 0, preset);
    // A short reply is no answer: the bytes it lacks would be the preset's, not the mouse's.
    if (outcome != Outcome::Done || replyLength < int(sizeof rxReport))
        return false;
    byte1 = rxReport[2];
    byte2 = rxReport[3];
    byte3 = rxReport[4];
    byte4 = rxReport[5];
    return true;
}

void Hid_Thread::hid_83H_GetKeyboardoption(uchar &byte1, uchar &byte2, uchar &byte3, uchar &byte4)
{
    readKeyboardOption(byte1, byte2, byte3, byte4);
}

void Hid_Thread::hid_06H_SetRGBLedEffect(uchar effect, uchar colorV, uchar option1, uchar option2)
{
    runCommand(Command::SetRGBLedEffect, {effect, colorV, option1, option2});
}

void Hid_Thread::hid_10H_SetLED8StageColor(uchar type, uchar *src24)
{
    runCommand(Command::SetLED8StageColor, {}, src24, stageColorLength(type));
}

void Hid_Thread::hid_LEDColor(uchar *src24)
{
    runCommand(Command::LEDColor, {}, src24);
}

void Hid_Thread::hid_07H_SetDPISet(uchar dpiStage, uchar dpiSegment, uchar dpi0, uchar dpi1,
                                  uchar dpi2, uchar dpi3)
{
    runCommand(Command::SetDPISet07, {dpiStage, dpiSegment, dpi0, dpi1, dpi2, dpi3});
}

void Hid_Thread::hid_08H_SetDPISet(uchar dpi4, uchar dpi5, uchar dpi6, uchar dpi7, uchar mul2)
{
    runCommand(Command::SetDPISet08, {dpi4, dpi5, dpi6, dpi7, mul2});
}

void Hid_Thread::hidARM_03H_SetKeyMatrix(uchar *src64)
{
    runCommand(Command::SetKeyMatrix, {}, src64);
}

void Hid_Thread::hid_05H_SetMacroKey(uchar macroId, uchar *src128)
{
    runCommand(Command::SetMacroKey, {macroId}, src128);
}

void Hid_Thread::hid_8BH_GetCurrentDPIStage(uchar &dpiStage)
{
    if (runCommand(Command::GetCurrentDPIStage, {}) == Outcome::Busy)
        return;
    dpiStage = rxReport[2];
}

void Hid_Thread::hid_8DH_GetRGBLedEffect(uchar &effect, uchar &option1, uchar &option2)
{
    if (runCommand(Command::GetRGBLedEffect, {}) == Outcome::Busy)
        return;
    effect = rxReport[2];
    option1 = rxReport[3];
    option2 = rxReport[4];
}

void Hid_Thread::hid_90H_GetLED8StageColor(uchar type, uchar *src24)
{
    // dataBuf starts out as the caller's colours, so a failed read returns them.
    const int length = stageColorLength(type);
    if (runCommand(Command::GetLED8StageColor, {type}, src24, length) == Outcome::Busy)
        return;
    if (src24)
        std::memcpy(src24, dataBuf, length);
}
