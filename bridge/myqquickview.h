#pragma once

#include "profilestore.h"

#include <QQuickWidget>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <functional>

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

public slots:
    void initUI(int curDevice);
    void runUI();
    QVariant getLang();
    QVariant getProfile();
    void setProfile(QVariant profileNo);
    void clearHidBusy();
    bool loadProfile(int profile);
    bool loadProfileMacroData(int profile);
    void saveProfile(int profile, QStringList nameList);
    void resetProfile(int profile);
    void copyProfile(int destprofile, int srcprofile);
    QStringList getGlobalStrings(QVariant type, QString langCode);
    QVariant createMacroIni(QVariant name, QVariant macroIndex); // macro files: built later
    QVariant updataNameList(QVariant type, QStringList nameList); // name lists: built later
    QVariant modifyMacroName(QVariant oldname, QVariant newname); // macro files: built later
    QStringList isMacroUse(QVariant macroName);                  // macro files: built later
    QVariant deleteMacroIni(QVariant name);                      // macro files: built later
    QVariantList getNameList(QVariant type);                     // name lists: built later
    QVariant saveMacroIni(QVariant name, QStringList macros, QVariantList macroData, QVariant repeat); // built later
    QVariant sendMacroData(QVariantList macroData, QVariant macroIndex); // macro sending: built later
    QStringList loadMacroIni(QVariant name);                     // macro files: built later
    QVariant loadMacroType(QVariant name);                       // macro files: built later
    QVariant loadMacroIndex(QVariant name);                      // macro files: built later
    void setMacroIndex(QVariant name, QVariant macroIndex);      // macro files: built later
    QVariantList getKeydefine(QVariant matrixId);                // key matrix: built later
    void changeMacroFileIndex(QVariant macroIndex);              // macro renumbering: built later
    void saveGundata(QVariantList src6);                         // recoil file: built later
    void modifyGundata(QVariant modifyType, QVariantList src6);  // recoil file: built later
    QVariantList getGunData(QVariant name);                      // recoil file: built later
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
    QVariantList ui_83H_GetKeyboardoption();
    void setAcceleration(bool acceleration);                     // pointer settings: built later
    void setCursorSpeed(uint cursorSpeed);                       // pointer settings: built later
    void setVerticalScrollLines(uint lines);                     // pointer settings: built later
    void setDoubleClickSpeed(uint speed);                        // pointer settings: built later
    void ui_06H_SetRGBLedEffect(uchar effect, uchar tmpcolor, uchar tmpSpeedBrightness, QVariantList configs);
    void ui_10H_SetLED8StageColor(uchar type, QVariantList src24);
    void ui_LEDColor(QVariantList src24);
    void ui_11H_SetDPISet(uchar dpiStage, QVariantList src8, QVariantList valueForIndex, QVariantList dpiSelectArray);
    void ui_11H_SetDPISelect(QVariantList valueForIndex);
    void mouseSetKeyMatrix(QVariantList src);                    // key matrix: built later
    void ui_12H_SetGunKeyMatrix(QVariantList src64);             // key matrix: built later
    bool getAcceleration();                                      // pointer settings: built later
    uint getCursorSpeed();                                       // pointer settings: built later
    uint getVerticalScrollLines();                               // pointer settings: built later
    uint getDoubleClickSpeed();                                  // pointer settings: built later
    QVariant ui_8BH_GetCurrentDPIStage();
    QVariantList ui_8DH_GetRGBLedEffect();
    QVariantList ui_90H_GetLED8StageColor(uchar type);
    void openUpdateExe();                                        // update launcher: built later
    QVariantList ui_91H_GetDPISet();
    QVariantList ui_91H_GetDPISelect();
    QVariant getData(QVariant key);

protected:
    void focusInEvent(QFocusEvent *event) override;

private:
    void invokeRoot(const char *function, const QVariant &argument = QVariant());
    QString dpiKey() const;
    uint deviceIndex() const;
};
