#include "commandtable.h"

#include <iterator>

namespace {

// Argument n of the slot, in a row's body.
constexpr short A1 = -1, A2 = -2, A3 = -3, A4 = -4, A5 = -5, A6 = -6;

constexpr Transfer Send = Transfer::Send;
constexpr Transfer Query = Transfer::Query;

// In the order of DeviceCommand.
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
static_assert(std::size(commandTable) == size_t(DeviceCommand::Count));

} // namespace

const CommandLayout &commandLayout(DeviceCommand command)
{
    return commandTable[int(command)];
}

unsigned char blockCheckByte(const unsigned char block[8])
{
    unsigned sum = 0;
    for (int i = 0; i < 7; ++i)
        sum += block[i];
    return static_cast<unsigned char>(~sum);
}

void buildBlock(const CommandLayout &layout, std::initializer_list<unsigned char> args,
                unsigned char block[8])
{
    block[0] = layout.code;
    for (int i = 0; i < 6; ++i) {
        const short byte = layout.body[size_t(i)];
        const size_t arg = size_t(-byte - 1);
        block[i + 1] = byte >= 0 ? static_cast<unsigned char>(byte) : (arg < args.size() ? args.begin()[arg] : 0);
    }
    block[7] = layout.checkByte ? blockCheckByte(block) : 0;
}
