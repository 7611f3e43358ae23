#pragma once

#include <array>
#include <initializer_list>

// The mouse's command set as data: one row per command slot of Hid_Thread,
// saying how its 8-byte block is built and how it is carried.
enum class DeviceCommand {
    GetSecrecyCode, SetReportRate, SetCurrentProfile, SetKeyboardOption, SetKeyMatrix,
    SetJMGD, SetGunData, SetMacroKey, SetRGBLedEffect, SetDPISet07, SetDPISet08,
    SetLED8StageColor, SetXYSensitive, LEDColor, Recovery,
    GetKeyboardOption, GetCurrentDPI, GetCurrentDPIStage, GetRGBLedEffect, GetLED8StageColor,
    Count
};

enum class Transfer { Send, Query };

struct CommandLayout {
    unsigned char code;                 // B[0]
    std::array<short, 6> body;          // B[1]..B[6]: a constant 0..255, or -n for argument n
    bool checkByte;                     // B[7]: check byte, or 00
    Transfer transfer;
    bool settle;
    int payloadLength;                  // bytes of data reports after the block
    int pauseAfter;                     // ms, 0 for none
    const char *failText;               // logged when the channel cannot be taken
};

const CommandLayout &commandLayout(DeviceCommand command);

// The complement of the sum of B[0]..B[6].
unsigned char blockCheckByte(const unsigned char block[8]);

// B[0]..B[7] of `command` with the slot's arguments; missing arguments count as 0.
void buildBlock(const CommandLayout &layout, std::initializer_list<unsigned char> args,
                unsigned char block[8]);
