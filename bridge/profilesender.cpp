#include "profilesender.h"

#include "colourtable.h"
#include "dpiencoding.h"
#include "hid_thread.h"
#include "keymatrix.h"
#include "ledoptions.h"
#include "ledpalette.h"
#include "macrocodecobject.h"
#include "macrofiles.h"
#include "macrosender.h"
#include "profilekeys.h"
#include "profilevalues.h"
#include "profilestore.h"
#include "xysensitivity.h"

#include <QRegularExpression>

#include <map>

namespace {

// The lighting panel's values while it shows a profile (its start values until one was read).
struct LightingState
{
    int effect = 0;
    int tempEffect = 0;
    int tempSpeedBrightness = 12;
    int colorR = 255;
    int colorG = 255;
    int colorB = 255;
};

QString indexed(const char *prefix, int index)
{
    return QLatin1String(prefix) + QString::number(index);
}

class Sender
{
public:
    Sender(ProfileStore &store, Hid_Thread &hid) : store(store), hid(hid) { readLighting(); }

    void keyMatrix()
    {
        // Other models keep no key entries: the page's matrix has no numbers and is refused.
        if (hid.did > 3)
            return;
        QVariantList read;
        for (int i = 0; i < KeyMatrix::entryCount; ++i)
            read += ProfileValues::keyRow(store, i);
        for (int k = 0; k < KeyMatrix::entryCount; ++k)
            store.setValue(indexed(ProfileKey::keyDefinePrefix, k), KeyMatrix::entry(read, k));
        KeyMatrix::Bytes bytes = KeyMatrix::wireBytes(read);
        hid.hidARM_03H_SetKeyMatrix(bytes.data());
    }

    void axes()
    {
        const auto wire = [this](int axis) {
            const QString stored = store.value(indexed(ProfileKey::xySensitivePrefix, axis), 4).toString();
            return uchar(XySensitivity::wireValue(XySensitivity::storedLevel(stored)));
        };
        hid.hid_0EH_SetXYSensitive(wire(0), wire(1));
    }

    void dpi()
    {
        const QString dpiKey = QLatin1String(dpiVariant(hid.did).profileKey);
        const QVariantList stageValues = ProfileValues::dpiStages(store, hid.did);
        const QVariantList stageSelects = ProfileValues::dpiFlags(store);
        const QVariantList colours = ProfileValues::colourTable(store, 1);
        for (int i = 0; i < 8; ++i)
            dpiStageValues[i] = stageValues.at(i).toUInt();
        const uchar currentStage = uchar(hid.hid_87H_GetCurrentDPI().toInt());
        store.setValue(dpiKey, stageValues);
        store.setValue(QLatin1String(ProfileKey::dpiSelect), stageSelects);
        const DpiStageBytes bytes = encodeDpiStages(hid.did, stageValues, stageSelects);
        hid.hid_08H_SetDPISet(bytes.stage[4], bytes.stage[5], bytes.stage[6], bytes.stage[7], bytes.mul2);
        hid.hid_07H_SetDPISet(currentStage, bytes.dpiSegment, bytes.stage[0], bytes.stage[1], bytes.stage[2],
                              bytes.stage[3]);
        refreshLighting();
        stageColours(colours);
    }

    void lighting()
    {
        const QVariantList record = readLighting();
        const int preset = record.at(1).toInt();
        // The effect goes out with colour 0, then the panel's red start colour.
        light.tempEffect = light.effect;
        ledEffect(light.effect, 0, light.tempSpeedBrightness, preset);
        sendColour(255, 0, 0);
    }

    void reportRate()
    {
        const uchar rate = uchar(ProfileValues::reportRate(store));
        store.setValue(QLatin1String(ProfileKey::reportRate), int(rate));
        hid.hid_01H_SetReportRate(rate);
    }

    void liftOff()
    {
        const int height = ProfileValues::liftOff(store);
        store.setValue(QLatin1String(ProfileKey::liftOff), height);
        hid.hid_04H_SetJMGD(uchar(height));
    }

    void refreshLighting() { sendColour(light.colorR, light.colorG, light.colorB); }

    void macroButtons()
    {
        // Other models keep no key entries, so no macro buttons.
        if (hid.did > 3)
            return;
        for (int button = 0; button < KeyMatrix::entryCount; ++button) {
            const QVariantList row = ProfileValues::keyRow(store, button);
            if (row.size() < 4 || row.at(0).toInt() != KeyMatrix::macroType)
                continue;
            const QString name = store.value(indexed(ProfileKey::macroPrefix, row.at(3).toInt()), 0).toString();
            QStringList entries = MacroFiles::load(name);
            // The file's last value is its loop count; without one the editor's default of 1.
            int loops = 1;
            if (!entries.isEmpty()) {
                bool ok = false;
                static const QRegularExpression leading(QStringLiteral("^\\s*([+-]?\\d+)"));
                const int n = leading.match(entries.takeLast()).captured(1).toInt(&ok);
                loops = ok ? qBound(0, n, 65535) : 1;
            }
            sendMacro(&hid, encodedMacroList(entries, uint(loops)), button);
        }
    }

    // One step of the plan. One sender throughout: a refresh uses the colours read last.
    void run(ProfileSendPlan::Step step)
    {
        using namespace ProfileSendPlan;
        if (step.action == Refresh) {
            refreshLighting();
            return;
        }
        // Only the lighting is kept between steps; the pointer settings are the desktop's, which the page sets.
        if (step.action == Read) {
            if (step.panel == Lighting)
                readLighting();
            return;
        }
        static const std::map<Panel, void (Sender::*)()> sends{{MacroButtons, &Sender::macroButtons},
            {Keys, &Sender::keyMatrix}, {Axes, &Sender::axes}, {Dpi, &Sender::dpi}, {Lighting, &Sender::lighting},
            {ReportRate, &Sender::reportRate}, {LiftOff, &Sender::liftOff}};
        const auto found = sends.find(step.panel);
        if (found != sends.end())
            (this->*found->second)();
    }

private:
    QVariantList readLighting()
    {
        const QVariantList record = ProfileValues::ledEffect(store);
        takeLighting(record);
        return record;
    }

    void takeLighting(const QVariantList &record)
    {
        const auto at = [&record](int i, int fallback) { return i < record.size() ? record.at(i).toInt() : fallback; };
        light.effect = at(0, light.effect);
        light.tempSpeedBrightness = at(2, light.tempSpeedBrightness);
        light.colorR = at(3, light.colorR);
        light.colorG = at(4, light.colorG);
        light.colorB = at(5, light.colorB);
        light.tempEffect = light.effect;
    }

    void ledEffect(int effect, int colour, int level, int preset)
    {
        store.setValue(QLatin1String(ProfileKey::ledEffect),
                       QVariantList{effect, preset, level, light.colorR, light.colorG, light.colorB});
        const LedOptions options = ledOptions(uchar(effect), uchar(level));
        hid.hid_06H_SetRGBLedEffect(uchar(effect), uchar(colour), options.option1, options.option2);
    }

    // The palette with (r, g, b) first (red for black) and its colour index, then the effect again.
    void sendColour(int r, int g, int b)
    {
        const QVariantList palette = LedPalette::palette(r, g, b);
        store.setValue(QLatin1String(ProfileKey::colourTablePrefix) + QLatin1Char('0'), palette);
        ColourTable bytes = colourTableBytes(palette);
        hid.hid_LEDColor(bytes.data());
        const int index = LedPalette::colourIndex(r, g, b);
        ledEffect(light.tempEffect, index, light.tempSpeedBrightness, index);
    }

    void stageColours(const QVariantList &colours)
    {
        store.setValue(QLatin1String(ProfileKey::colourTablePrefix) + QLatin1Char('1'), colours);
        ColourTable bytes = stageColourBytes(1, colours);
        hid.hid_10H_SetLED8StageColor(1, bytes.data());
    }

    ProfileStore &store;
    Hid_Thread &hid;
    LightingState light;
};

} // namespace

namespace ProfileSender {

void send(ProfileSendPlan::Flow flow, ProfileStore &store, Hid_Thread &hid)
{
    Sender sender(store, hid);
    for (const ProfileSendPlan::Step &step : ProfileSendPlan::steps(flow, int(hid.did)))
        sender.run(step);
}

} // namespace ProfileSender
