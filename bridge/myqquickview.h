#pragma once

#include "pageroot.h"
#include "pointersettings.h"
#include "profilestore.h"

#include <QQuickWidget>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <functional>
#include <memory>

class Hid_Thread;

// The object the pages call (context property "ui_View"): every slot turns
// page values into profile values and device commands. It owns the
// application settings and the ten profile files for the whole run.
class myQQuickView : public QQuickWidget
{
    Q_OBJECT
public:
    explicit myQQuickView(QWidget *parent = nullptr);
    ~myQQuickView() override;

    // Set by the tray agent right after the window controller's set-up.
    Hid_Thread *hid = nullptr;
    // apConfig.bin, p1.bin ... p10.bin and the current profile.
    ProfileStore store;
    int &curProfile = store.curProfile;

    // Asks the user for a profile exchange file to load; an empty name cancels.
    // Tests replace it.
    std::function<QString(QWidget *parent)> chooseProfileToLoad;
    // Asks the user where to export a profile; an empty name cancels. Tests replace it.
    std::function<QString(QWidget *parent)> chooseProfileToSave;

    // The operating system's pointer settings. Tests replace it.
    std::unique_ptr<PointerSettings> pointerSettings = createSystemPointerSettings();

    // The page's root functions, for native code.
    PageRoot page() const;

public slots:
    void initUI(int curDevice);
    void runUI();
    QVariant getLang();
    QVariant getProfile();
    void setProfile(QVariant profileNo);
    void clearHidBusy();
    bool loadProfile(int profile);
    bool loadProfileFile(int profile, const QString &file);
    bool loadProfileMacroData(int profile);
    void saveProfile(int profile, QStringList nameList);
    void resetProfile(int profile);
    void copyProfile(int destprofile, int srcprofile);
    QStringList getGlobalStrings(QVariant type, QString langCode);
    QVariant createMacroIni(QVariant name, QVariant macroIndex);
    QVariant updataNameList(QVariant type, QStringList nameList);
    QVariant modifyMacroName(QVariant oldname, QVariant newname);
    QStringList isMacroUse(QVariant macroName);
    QVariant deleteMacroIni(QVariant name);
    QVariantList getNameList(QVariant type);
    QVariant saveMacroIni(QVariant name, QStringList macros, QVariantList macroData, QVariant repeat);
    QVariant sendMacroData(QVariantList macroData, QVariant macroIndex);
    QStringList loadMacroIni(QVariant name);
    QVariant loadMacroType(QVariant name);
    QVariant loadMacroIndex(QVariant name);
    void setMacroIndex(QVariant name, QVariant macroIndex);
    QVariantList getKeydefine(QVariant matrixId);
    void changeMacroFileIndex(QVariant macroIndex);
    void saveGundata(QVariantList src6);
    void modifyGundata(QVariant modifyType, QVariantList src6);
    QVariantList getGunData(QVariant name);
    QVariant getXYSensitive(QVariant index);
    QVariant getselectGun(QVariant index);
    void setXYSensitive(QVariant index, QVariant xyData);
    void setSelectGun(QVariant index, QVariant xyData);
    void setMacroKey(int index, QVariant macroName);
    QVariant getMacroKey(int index);
    void ui_01H_SetReportRate(uchar rate);
    void mouseSetJMGD(uchar tmpJMGD);
    void ui_02H_SetCurrentProfile(int profile);
    void ui_03H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4);
    void ui_04H_SetGunData(uchar par0, uchar par1, uchar par2, uchar par3, uchar par4);
    void ui_0EH_SetXYSensitive(QVariant par0, QVariant par1);
    QVariant ui_81H_GetReportRate();
    QVariant getJMGD();
    QVariantList ui_83H_GetKeyboardoption();
    void setAcceleration(bool acceleration);
    void setCursorSpeed(uint cursorSpeed);
    void setVerticalScrollLines(uint lines);
    void setDoubleClickSpeed(uint speed);
    void ui_06H_SetRGBLedEffect(uchar effect, uchar tmpcolor, uchar tmpSpeedBrightness, QVariantList configs);
    void ui_10H_SetLED8StageColor(uchar type, QVariantList src24);
    void ui_LEDColor(QVariantList src24);
    void ui_11H_SetDPISet(uchar dpiStage, QVariantList src8, QVariantList valueForIndex, QVariantList dpiSelectArray);
    void ui_11H_SetDPISelect(QVariantList valueForIndex);
    void mouseSetKeyMatrix(QVariantList src);
    void ui_12H_SetGunKeyMatrix(QVariantList src64);
    bool getAcceleration();
    uint getCursorSpeed();
    uint getVerticalScrollLines();
    // False where the desktop keeps no wheel lines: the page then shows its panel disabled.
    bool canSetVerticalScrollLines();
    uint getDoubleClickSpeed();
    QVariant ui_8BH_GetCurrentDPIStage();
    QVariantList ui_8DH_GetRGBLedEffect();
    QVariantList ui_90H_GetLED8StageColor(uchar type);
    // False when no updater for the mouse is installed: the page tells the user.
    bool openUpdateExe();
    QVariantList ui_91H_GetDPISet();
    QVariantList ui_91H_GetDPISelect();
    QVariant getData(QVariant key);

protected:
    void focusInEvent(QFocusEvent *event) override;

private:
    void whenIdle(std::function<void(const PageRoot &page)> call);
    QString dpiKey() const;
    uint deviceIndex() const;
};
