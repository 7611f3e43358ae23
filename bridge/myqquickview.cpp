#include "myqquickview.h"

#include "colourtable.h"
#include "dpiencoding.h"
#include "gundata.h"
#include "hid_thread.h"
#include "inivalues.h"
#include "keymatrix.h"
#include "keynames.h"
#include "languagestrings.h"
#include "ledoptions.h"
#include "macrocodecobject.h"
#include "macrofiles.h"
#include "macrosender.h"
#include "namelists.h"
#include "pagerules.h"
#include "profileexchange.h"
#include "profilekeys.h"
#include "profilevalues.h"
#include "systempointer.h"
#include "updatelauncher.h"

#include <QDebug>
#include <QFileDialog>
#include <QFocusEvent>
#include <QFont>
#include <QPointer>
#include <QQmlContext>
#include <QQuickItem>
#include <QStandardPaths>

static QString indexedKey(const char *prefix, const QVariant &index)
{
    return QLatin1String(prefix) + index.toString();
}

static uchar lowByte(const QVariant &value)
{
    return uchar(value.toInt());
}

myQQuickView::myQQuickView(QWidget *parent)
    : QQuickWidget(parent)
{
    // Without the page's font (off Windows) Latin stays in DejaVu Sans; Chinese gets simplified, not Japanese, forms.
    QFont::insertSubstitutions(QStringLiteral("微软雅黑"),
                               {QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK SC")});
    rootContext()->setContextProperty(QStringLiteral("macroCodec"), new MacroCodecObject(this));
    rootContext()->setContextProperty(QStringLiteral("pageRules"), new PageRules(this));
    // The tray program puts its application links here; until then the pages see none.
    rootContext()->setContextProperty(QStringLiteral("ui_Links"), QVariant::fromValue<QObject *>(nullptr));
    keyNameTable();
    chooseProfileToLoad = [](QWidget *dialogParent) {
        return QFileDialog::getOpenFileName(dialogParent, tr("Open File"),
                                            QStandardPaths::writableLocation(QStandardPaths::DesktopLocation),
                                            tr("Profile(*.pf)"));
    };
    chooseProfileToSave = [](QWidget *dialogParent) {
        return QFileDialog::getSaveFileName(dialogParent, tr("Save File"),
                                            QStandardPaths::writableLocation(QStandardPaths::DesktopLocation),
                                            tr("Profile(*.pf)"));
    };
}

myQQuickView::~myQQuickView() = default;

void myQQuickView::focusInEvent(QFocusEvent *event)
{
    // Coming back from another program: repaint the whole page at once.
    repaint();
    // The base hands the keyboard focus back to the page; without it the page stays deaf.
    QQuickWidget::focusInEvent(event);
    event->accept();
}

PageRoot myQQuickView::page() const
{
    return PageRoot(rootObject());
}

void myQQuickView::whenIdle(std::function<void(const PageRoot &page)> call)
{
    // From the event loop, and with a device object only once no command or connect step runs:
    // page functions send commands of their own.
    const QPointer<myQQuickView> view(this);
    auto later = [view, call = std::move(call)] {
        if (view)
            call(view->page());
    };
    if (hid)
        hid->runWhenIdle(std::move(later));
    else
        QMetaObject::invokeMethod(this, std::move(later), Qt::QueuedConnection);
}

uint myQQuickView::deviceIndex() const
{
    return hid ? hid->did : 1;
}

QString myQQuickView::dpiKey() const
{
    return QLatin1String(dpiVariant(deviceIndex()).profileKey);
}

// --- page control -----------------------------------------------------------

void myQQuickView::initUI(int curDevice)
{
    whenIdle([curDevice](const PageRoot &page) { page.initUI(curDevice); });
}

void myQQuickView::runUI()
{
    whenIdle([](const PageRoot &page) { page.run(); });
}

QVariant myQQuickView::getLang()
{
    return store.appValue(QLatin1String(ProfileKey::language));
}

QVariant myQQuickView::getProfile()
{
    return store.savedProfile();
}

void myQQuickView::setProfile(QVariant profileNo)
{
    store.setAppValue(QLatin1String(ProfileKey::profileNo), profileNo.toUInt());
}

void myQQuickView::clearHidBusy()
{
    if (hid)
        hid->hidFree = true;
}

QVariant myQQuickView::getData(QVariant key)
{
    return store.value(key.toString());
}

// --- whole profiles -----------------------------------------------------------

bool myQQuickView::loadProfile(int profile)
{
    if (profile < 0 || profile >= ProfileStore::profileCount) {
        qDebug() << "No profile" << profile;
        return false;
    }
    return loadProfileFile(profile, chooseProfileToLoad ? chooseProfileToLoad(window()) : QString());
}

bool myQQuickView::loadProfileFile(int profile, const QString &file)
{
    if (file.isEmpty())
        return false;
    // The macros it carries and the device follow through the profile page.
    return ProfileExchange::importProfile(store, profile, file);
}

void myQQuickView::resetProfile(int profile)
{
    store.resetProfile(profile);
}

void myQQuickView::copyProfile(int destprofile, int srcprofile)
{
    store.copyProfile(destprofile, srcprofile);
}

bool myQQuickView::loadProfileMacroData(int profile)
{
    return ProfileExchange::importMacros(store.profileSettings(profile));
}

void myQQuickView::saveProfile(int profile, QStringList nameList)
{
    const QString file = chooseProfileToSave ? chooseProfileToSave(window()) : QString();
    if (!file.isEmpty())
        ProfileExchange::exportProfile(store.profileSettings(profile), file, nameList);
}

// --- language strings ---------------------------------------------------------

QStringList myQQuickView::getGlobalStrings(QVariant type, QString langCode)
{
    static constexpr int dpiNoticeType = 6;
    const int group = type.toInt();
    const QStringList texts = LanguageStrings::read(LanguageStrings::fileForCode(langCode), group);
    if (group == dpiNoticeType) {
        for (int i = 0; i < 8 && i < texts.size(); ++i)
            dpiSwitchText[i] = texts.at(i);
    }
    return texts;
}

// --- macro files and name lists ------------------------------------------------

QVariant myQQuickView::createMacroIni(QVariant name, QVariant macroIndex)
{
    return MacroFiles::create(name.toString(), macroIndex.toUInt());
}

QVariant myQQuickView::updataNameList(QVariant type, QStringList nameList)
{
    return NameLists::write(type.toInt(), nameList);
}

QVariant myQQuickView::modifyMacroName(QVariant oldname, QVariant newname)
{
    return MacroFiles::rename(store, oldname.toString(), newname.toString());
}

QStringList myQQuickView::isMacroUse(QVariant macroName)
{
    return MacroFiles::uses(store, macroName.toString());
}

QVariant myQQuickView::deleteMacroIni(QVariant name)
{
    return MacroFiles::remove(name.toString());
}

QVariantList myQQuickView::getNameList(QVariant type)
{
    return NameLists::read(type.toInt());
}

QVariant myQQuickView::saveMacroIni(QVariant name, QStringList macros, QVariantList, QVariant repeat)
{
    return MacroFiles::save(name.toString(), macros, repeat);
}

QVariant myQQuickView::sendMacroData(QVariantList macroData, QVariant macroIndex)
{
    return sendMacro(hid, macroData, macroIndex);
}

QStringList myQQuickView::loadMacroIni(QVariant name)
{
    return MacroFiles::load(name.toString());
}

QVariant myQQuickView::loadMacroType(QVariant name)
{
    return MacroFiles::loadType(name.toString());
}

QVariant myQQuickView::loadMacroIndex(QVariant name)
{
    return MacroFiles::loadIndex(name.toString());
}

void myQQuickView::setMacroIndex(QVariant name, QVariant macroIndex)
{
    MacroFiles::setIndex(name.toString(), macroIndex);
}

void myQQuickView::changeMacroFileIndex(QVariant macroIndex)
{
    MacroFiles::renumberAfterDelete(store, macroIndex.toUInt());
}

// --- recoil file ------------------------------------------------------------------

void myQQuickView::saveGundata(QVariantList src6)
{
    GunData::save(src6);
}

void myQQuickView::modifyGundata(QVariant modifyType, QVariantList src6)
{
    GunData::modify(modifyType.toInt(), src6);
}

QVariantList myQQuickView::getGunData(QVariant name)
{
    return GunData::get(name.toString());
}

// --- profile values -------------------------------------------------------------

QVariant myQQuickView::getXYSensitive(QVariant index)
{
    return store.value(indexedKey(ProfileKey::xySensitivePrefix, index), 4);
}

QVariant myQQuickView::getselectGun(QVariant index)
{
    return store.value(indexedKey(ProfileKey::selectGunPrefix, index), QString());
}

void myQQuickView::setXYSensitive(QVariant index, QVariant xyData)
{
    store.setValue(indexedKey(ProfileKey::xySensitivePrefix, index), xyData);
}

void myQQuickView::setSelectGun(QVariant index, QVariant xyData)
{
    store.setValue(indexedKey(ProfileKey::selectGunPrefix, index), xyData);
}

void myQQuickView::setMacroKey(int index, QVariant macroName)
{
    store.setValue(indexedKey(ProfileKey::macroPrefix, index), macroName);
}

QVariant myQQuickView::getMacroKey(int index)
{
    return store.value(indexedKey(ProfileKey::macroPrefix, index), 0);
}

// --- device settings: store first, then send -----------------------------------

void myQQuickView::ui_01H_SetReportRate(uchar rate)
{
    store.setValue(QLatin1String(ProfileKey::reportRate), int(rate));
    if (hid)
        hid->hid_01H_SetReportRate(rate);
}

void myQQuickView::mouseSetJMGD(uchar tmpJMGD)
{
    store.setValue(QLatin1String(ProfileKey::liftOff), int(tmpJMGD));
    if (hid)
        hid->hid_04H_SetJMGD(tmpJMGD);
}

void myQQuickView::ui_02H_SetCurrentProfile(int profile)
{
    store.setCurrentProfile(profile);
}

void myQQuickView::ui_03H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4)
{
    if (hid)
        hid->hid_03H_SetKeyboardoption(byte1, byte2, byte3, byte4);
}

void myQQuickView::ui_04H_SetGunData(uchar par0, uchar par1, uchar par2, uchar par3, uchar par4)
{
    if (hid)
        hid->hid_04H_SetGunData(par0, par1, par2, par3, par4);
}

void myQQuickView::ui_0EH_SetXYSensitive(QVariant par0, QVariant par1)
{
    if (hid)
        hid->hid_0EH_SetXYSensitive(lowByte(par0), lowByte(par1));
}

QVariant myQQuickView::ui_81H_GetReportRate()
{
    return ProfileValues::reportRate(store);
}

QVariant myQQuickView::getJMGD()
{
    return ProfileValues::liftOff(store);
}

QVariantList myQQuickView::ui_83H_GetKeyboardoption()
{
    // A failed query leaves the bytes as given: zeros.
    uchar bytes[4] = {};
    if (hid)
        hid->hid_83H_GetKeyboardoption(bytes[0], bytes[1], bytes[2], bytes[3]);
    return {int(bytes[0]), int(bytes[1]), int(bytes[2]), int(bytes[3])};
}

void myQQuickView::ui_06H_SetRGBLedEffect(uchar effect, uchar tmpcolor, uchar tmpSpeedBrightness,
                                          QVariantList configs)
{
    if (!ProfileValues::validLedEffect(configs)) {
        qDebug() << "Lighting refused: not an effect, colour index, level and three colours 0 to 255";
        return;
    }
    store.setValue(QLatin1String(ProfileKey::ledEffect), configs);
    const LedOptions options = ledOptions(effect, tmpSpeedBrightness);
    if (hid)
        hid->hid_06H_SetRGBLedEffect(effect, tmpcolor, options.option1, options.option2);
}

void myQQuickView::ui_10H_SetLED8StageColor(uchar type, QVariantList src24)
{
    if (!validColourTable(src24)) {
        qDebug() << "Stage colours refused: not up to 24 values 0 to 255";
        return;
    }
    store.setValue(QLatin1String(ProfileKey::colourTablePrefix) + QString::number(type), src24);
    // Every type goes out in the 24-byte form; type 2's packed bytes lead it.
    ColourTable bytes = stageColourBytes(type, src24);
    if (hid)
        hid->hid_10H_SetLED8StageColor(1, bytes.data());
}

void myQQuickView::ui_LEDColor(QVariantList src24)
{
    if (!validColourTable(src24)) {
        qDebug() << "Lighting colours refused: not up to 24 values 0 to 255";
        return;
    }
    store.setValue(QLatin1String(ProfileKey::colourTablePrefix) + QLatin1Char('0'), src24);
    ColourTable bytes = colourTableBytes(src24);
    if (hid)
        hid->hid_LEDColor(bytes.data());
}

void myQQuickView::ui_11H_SetDPISet(uchar dpiStage, QVariantList, QVariantList valueForIndex,
                                    QVariantList dpiSelectArray)
{
    if (!validDpiStages(deviceIndex(), valueForIndex, dpiSelectArray)) {
        qDebug().noquote() << QStringLiteral("DPI stages refused: not eight values %1 to %2 with eight flags 0 or 1")
                                  .arg(smallestDpi).arg(dpiVariant(deviceIndex()).largest);
        return;
    }
    store.setValue(dpiKey(), valueForIndex);
    store.setValue(QLatin1String(ProfileKey::dpiSelect), dpiSelectArray);
    const DpiStageBytes dpi = encodeDpiStages(deviceIndex(), valueForIndex, dpiSelectArray);
    if (!hid)
        return;
    hid->hid_08H_SetDPISet(dpi.stage[4], dpi.stage[5], dpi.stage[6], dpi.stage[7], dpi.mul2);
    hid->hid_07H_SetDPISet(dpiStage, dpi.dpiSegment, dpi.stage[0], dpi.stage[1], dpi.stage[2], dpi.stage[3]);
}

void myQQuickView::ui_11H_SetDPISelect(QVariantList valueForIndex)
{
    if (!validDpiFlags(valueForIndex)) {
        qDebug() << "DPI flags refused: not eight flags 0 or 1";
        return;
    }
    store.setValue(QLatin1String(ProfileKey::dpiSelect), valueForIndex);
}

QVariant myQQuickView::ui_8BH_GetCurrentDPIStage()
{
    if (!hid || !window()->isVisible())
        return 0;
    uchar stage = 0;
    hid->hid_8BH_GetCurrentDPIStage(stage);
    return int(stage);
}

QVariantList myQQuickView::ui_8DH_GetRGBLedEffect()
{
    return ProfileValues::ledEffect(store);
}

QVariantList myQQuickView::ui_90H_GetLED8StageColor(uchar type)
{
    return ProfileValues::colourTable(store, type);
}

QVariantList myQQuickView::ui_91H_GetDPISet()
{
    const QVariantList values = ProfileValues::dpiStages(store, deviceIndex());
    for (int i = 0; i < 8; ++i)
        dpiStageValues[i] = values.at(i).toUInt();
    return values;
}

QVariantList myQQuickView::ui_91H_GetDPISelect()
{
    return ProfileValues::dpiFlags(store);
}

// --- system pointer settings: store first, then apply ---------------------------

bool myQQuickView::getAcceleration()
{
    return SystemPointer::acceleration(*pointerSettings);
}

void myQQuickView::setAcceleration(bool acceleration)
{
    SystemPointer::setAcceleration(*pointerSettings, acceleration);
}

uint myQQuickView::getCursorSpeed()
{
    return store.value(QLatin1String(ProfileKey::cursorSpeed), 0).toUInt();
}

void myQQuickView::setCursorSpeed(uint cursorSpeed)
{
    store.setValue(QLatin1String(ProfileKey::cursorSpeed), cursorSpeed);
    SystemPointer::setCursorSpeed(*pointerSettings, cursorSpeed);
}

uint myQQuickView::getVerticalScrollLines()
{
    return store.value(QLatin1String(ProfileKey::scrollLines), 0).toUInt();
}

bool myQQuickView::canSetVerticalScrollLines()
{
    return pointerSettings->hasWheelScrollLines();
}

void myQQuickView::setVerticalScrollLines(uint lines)
{
    store.setValue(QLatin1String(ProfileKey::scrollLines), lines);
    SystemPointer::setVerticalScrollLines(*pointerSettings, lines);
}

uint myQQuickView::getDoubleClickSpeed()
{
    return store.value(QLatin1String(ProfileKey::doubleClickSpeed), 0).toUInt();
}

void myQQuickView::setDoubleClickSpeed(uint speed)
{
    store.setValue(QLatin1String(ProfileKey::doubleClickSpeed), speed);
    SystemPointer::setDoubleClickSpeed(*pointerSettings, speed);
}

// --- updater --------------------------------------------------------------------

bool myQQuickView::openUpdateExe()
{
    return UpdateLauncher::launch(this, hid);
}

// --- key matrix -----------------------------------------------------------------

QVariantList myQQuickView::getKeydefine(QVariant matrixId)
{
    if (deviceIndex() > 3)
        return {};
    return ProfileValues::keyRow(store, matrixId.toInt());
}

void myQQuickView::mouseSetKeyMatrix(QVariantList src)
{
    const int refused = KeyMatrix::invalidEntry(src);
    if (refused >= 0) {
        qDebug().noquote() << QStringLiteral("Key matrix refused: button %1 is not four numbers 0 to 255").arg(refused + 1);
        return;
    }
    for (int k = 0; k < KeyMatrix::entryCount; ++k)
        store.setValue(indexedKey(ProfileKey::keyDefinePrefix, k), KeyMatrix::entry(src, k));
    KeyMatrix::Bytes bytes = KeyMatrix::wireBytes(src);
    if (hid)
        hid->hidARM_03H_SetKeyMatrix(bytes.data());
}

void myQQuickView::ui_12H_SetGunKeyMatrix(QVariantList src64)
{
    KeyMatrix::Bytes bytes = KeyMatrix::plainBytes(src64);
    if (hid)
        hid->hidARM_03H_SetKeyMatrix(bytes.data());
}
