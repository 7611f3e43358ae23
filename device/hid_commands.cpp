// Hid_Thread's command slots, each one a row of the command table and its arguments.

#include "hid_thread.h"

#include "commandtable.h"
#include "devicelog.h"
#include "pauses.h"
#include "scrambler.h"

#include <cstring>

namespace {

// The stage colour commands carry one colour (4 bytes) for type 2, else all eight.
int stageColorLength(uchar type)
{
    return type == 2 ? 4 : 24;
}

} // namespace

uchar Hid_Thread::hidCS(uchar *cmd)
{
    return blockCheckByte(cmd);
}

void Hid_Thread::USBDataEncryption(uchar FIFOBuf[], uchar SecrecyCode[])
{
    scrambleBlock(FIFOBuf, SecrecyCode);
}

void Hid_Thread::USBDataDecipher(uchar FIFOBuf[], uchar SecrecyCode[])
{
    unscrambleBlock(FIFOBuf, SecrecyCode);
}

Hid_Thread::Result Hid_Thread::runCommand(DeviceCommand command, std::initializer_list<uchar> args,
                                          uchar *payload, int payloadLength, const uchar *replyPreset)
{
    const CommandLayout &layout = commandLayout(command);
    const BusyScope busy(channelUse);
    if (!waitHidFree()) {
        qCDebug(lcDevice, "%s", layout.failText);
        return {};
    }

    txReport[0] = 0;
    buildBlock(layout, args, txReport + 1);
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

    Result result{Outcome::Failed, 0};
    if (layout.transfer == Transfer::Query) {
        const int replied = queryCommand(payloadLength);
        if (replied >= 0)
            result = {Outcome::Done, replied};
    } else if (sendCommand(payloadLength, layout.settle)) {
        result.outcome = Outcome::Done;
    }
    if (layout.pauseAfter > 0)
        hidSleep(layout.pauseAfter);
    return result;
}

int Hid_Thread::hid_00H_GetSecrecyCode(uchar &byte1, uchar &byte2, uchar &byte3, uchar &byte4)
{
    const Result result = runCommand(DeviceCommand::GetSecrecyCode, {byte1, byte2, byte3, byte4});
    if (result.outcome == Outcome::Busy)
        return 0;
    byte1 = rxReport[2];
    byte2 = rxReport[3];
    byte3 = rxReport[4];
    byte4 = rxReport[5];
    return result.replyLength;
}

void Hid_Thread::hid_01H_SetReportRate(uchar rate)
{
    runCommand(DeviceCommand::SetReportRate, {rate});
}

void Hid_Thread::hid_04H_SetJMGD(uchar tmpJMGD)
{
    runCommand(DeviceCommand::SetJMGD, {tmpJMGD});
}

void Hid_Thread::hid_13H_Recovery()
{
    runCommand(DeviceCommand::Recovery, {});
}

void Hid_Thread::hid_02H_SetCurrentProfile(uchar profile)
{
    runCommand(DeviceCommand::SetCurrentProfile, {profile});
}

void Hid_Thread::hid_03H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4)
{
    runCommand(DeviceCommand::SetKeyboardOption, {byte1, byte2, byte3, byte4});
}

void Hid_Thread::hid_04H_SetGunData(uchar par0, uchar par1, uchar par2, uchar par3, uchar par4)
{
    runCommand(DeviceCommand::SetGunData, {par0, par1, par2, par3, par4});
}

void Hid_Thread::hid_0EH_SetXYSensitive(uchar par0, uchar par1)
{
    runCommand(DeviceCommand::SetXYSensitive, {par0, par1});
}

QVariant Hid_Thread::hid_87H_GetCurrentDPI()
{
    if (runCommand(DeviceCommand::GetCurrentDPI, {}).outcome == Outcome::Busy)
        return QVariant(2);
    return QVariant(int(rxReport[2]));
}

int Hid_Thread::hid_83H_GetKeyboardoption(uchar &byte1, uchar &byte2, uchar &byte3, uchar &byte4)
{
    // The reply buffer starts out as the caller's values, so a failed query
    // hands them back unchanged.
    const uchar preset[9] = {0x00, 0x83, byte1, byte2, byte3, byte4, 0x00, 0x00, 0x00};
    const Result result = runCommand(DeviceCommand::GetKeyboardOption, {}, nullptr, 0, preset);
    // A short reply is no answer: the bytes it lacks would be the preset's, not the mouse's.
    if (result.outcome != Outcome::Done || result.replyLength < int(sizeof rxReport))
        return result.replyLength;
    byte1 = rxReport[2];
    byte2 = rxReport[3];
    byte3 = rxReport[4];
    byte4 = rxReport[5];
    return result.replyLength;
}

void Hid_Thread::hid_06H_SetRGBLedEffect(uchar effect, uchar colorV, uchar option1, uchar option2)
{
    runCommand(DeviceCommand::SetRGBLedEffect, {effect, colorV, option1, option2});
}

void Hid_Thread::hid_10H_SetLED8StageColor(uchar type, uchar *src24)
{
    runCommand(DeviceCommand::SetLED8StageColor, {}, src24, stageColorLength(type));
}

void Hid_Thread::hid_LEDColor(uchar *src24)
{
    runCommand(DeviceCommand::LEDColor, {}, src24);
}

void Hid_Thread::hid_07H_SetDPISet(uchar dpiStage, uchar dpiSegment, uchar dpi0, uchar dpi1,
                                  uchar dpi2, uchar dpi3)
{
    runCommand(DeviceCommand::SetDPISet07, {dpiStage, dpiSegment, dpi0, dpi1, dpi2, dpi3});
}

void Hid_Thread::hid_08H_SetDPISet(uchar dpi4, uchar dpi5, uchar dpi6, uchar dpi7, uchar mul2)
{
    runCommand(DeviceCommand::SetDPISet08, {dpi4, dpi5, dpi6, dpi7, mul2});
}

void Hid_Thread::hidARM_03H_SetKeyMatrix(uchar *src64)
{
    runCommand(DeviceCommand::SetKeyMatrix, {}, src64);
}

void Hid_Thread::hid_05H_SetMacroKey(uchar macroId, uchar *src128)
{
    runCommand(DeviceCommand::SetMacroKey, {macroId}, src128);
}

int Hid_Thread::hid_8BH_GetCurrentDPIStage(uchar &dpiStage)
{
    const Result result = runCommand(DeviceCommand::GetCurrentDPIStage, {});
    if (result.outcome == Outcome::Busy)
        return 0;
    dpiStage = rxReport[2];
    return result.replyLength;
}

int Hid_Thread::hid_8DH_GetRGBLedEffect(uchar &effect, uchar &option1, uchar &option2)
{
    const Result result = runCommand(DeviceCommand::GetRGBLedEffect, {});
    if (result.outcome == Outcome::Busy)
        return 0;
    effect = rxReport[2];
    option1 = rxReport[3];
    option2 = rxReport[4];
    return result.replyLength;
}

int Hid_Thread::hid_90H_GetLED8StageColor(uchar type, uchar *src24)
{
    // dataBuf starts out as the caller's colours, so a failed read returns them.
    const int length = stageColorLength(type);
    const Result result = runCommand(DeviceCommand::GetLED8StageColor, {type}, src24, length);
    if (result.outcome == Outcome::Busy)
        return 0;
    if (src24)
        std::memcpy(src24, dataBuf, length);
    return result.replyLength;
}
