// The reply handling of every query command: the simulated mouse answers the
// feature read and the data reads with the case's bytes and lengths, scrambled
// or not. Each command must return, and the next command still runs.
#include "fuzzsupport.h"

#include <array>
#include <functional>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSupport::init();
    auto mouse = std::make_shared<FuzzedMouse>(data, size);
    setHidBackend(mouse);
    {
        Hid_Thread hid;
        attach(hid);
        isEncode = (mouse->takeByte() & 1) != 0;
        std::array<uchar, 4> in;   // the in-out arguments, the same before every command
        const std::function<void()> commands[] = {
            [&] { hid.hid_00H_GetSecrecyCode(in[0], in[1], in[2], in[3]); },
            [&] { hid.hid_87H_GetCurrentDPI(); },
            [&] { hid.hid_83H_GetKeyboardoption(in[0], in[1], in[2], in[3]); },
            [&] { hid.hid_8BH_GetCurrentDPIStage(in[0]); },
            [&] { hid.hid_8DH_GetRGBLedEffect(in[0], in[1], in[2]); },
            [&] {
                // The pages hand a buffer of exactly the length of the type they ask for.
                const uchar type = uchar(mouse->takeByte());
                std::vector<uchar> colours(type == 2 ? 4 : 24, 0x5A);
                hid.hid_90H_GetLED8StageColor(type, colours.data());
            },
            [&] {
                hid.chkDeviceIsEnCode();   // the connect step and its 83H exchange
                hid.stopMonitor();
            }};
        while (!mouse->exhausted()) {
            if (!hid.hidFree)
                abort();   // a command left the channel taken
            in = {1, 2, 3, 4};
            commands[size_t(mouse->takeByte()) % std::size(commands)]();
        }
    }
    isEncode = false;
    setHidBackend(nullptr);
    return 0;
}
