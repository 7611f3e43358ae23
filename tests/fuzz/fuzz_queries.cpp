// The reply handling of every query command: the simulated mouse answers the
// feature read and the data reads with the case's bytes and lengths, scrambled
// or not. Each command must return, and the next command still runs.
#include "fuzzedmouse.h"
#include "fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzSupport::init();
    setSleeper(std::make_shared<RecordingSleeper>());   // no waiting: a pause's length changes no reply
    auto mouse = std::make_shared<FuzzedMouse>(data, size);
    setHidBackend(mouse);
    {
        Hid_Thread hid;
        attach(hid);
        isEncode = (mouse->takeByte() & 1) != 0;
        while (!mouse->exhausted()) {
            if (!hid.hidFree)
                abort();   // a command left the channel taken
            switch (mouse->takeByte() % 7) {
            case 0: {
                uchar b1 = 0, b2 = 0, b3 = 0, b4 = 0;
                hid.hid_00H_GetSecrecyCode(b1, b2, b3, b4);
                break;
            }
            case 1:
                hid.hid_87H_GetCurrentDPI();
                break;
            case 2: {
                uchar b1 = 1, b2 = 2, b3 = 3, b4 = 4;
                hid.hid_83H_GetKeyboardoption(b1, b2, b3, b4);
                break;
            }
            case 3: {
                uchar stage = 0;
                hid.hid_8BH_GetCurrentDPIStage(stage);
                break;
            }
            case 4: {
                uchar effect = 0, option1 = 0, option2 = 0;
                hid.hid_8DH_GetRGBLedEffect(effect, option1, option2);
                break;
            }
            case 5: {
                // The pages hand a buffer of exactly the length of the type they ask for.
                const uchar type = uchar(mouse->takeByte());
                std::vector<uchar> colours(type == 2 ? 4 : 24, 0x5A);
                hid.hid_90H_GetLED8StageColor(type, colours.data());
                break;
            }
            default:
                hid.chkDeviceIsEnCode();   // the connect step and its 83H exchange
                hid.stopMonitor();
                break;
            }
        }
    }
    isEncode = false;
    setHidBackend(nullptr);
    return 0;
}
