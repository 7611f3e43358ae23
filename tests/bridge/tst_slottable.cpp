#include "myqquickview.h"

#include <QMetaMethod>
#include <QTest>

// The pages call the bridge by slot name with positional arguments; names,
// parameter names, result types and the order of the slots are its interface.
class tst_SlotTable : public QObject
{
    Q_OBJECT

private slots:
    void slotsInOrder();
};

struct SlotRow { const char *signature; const char *parameters; const char *result; };

static constexpr SlotRow slotTable[] = {
    {"initUI(int)", "curDevice", "void"},
    {"runUI()", "", "void"},
    {"getLang()", "", "QVariant"},
    {"getProfile()", "", "QVariant"},
    {"setProfile(QVariant)", "profileNo", "void"},
    {"clearHidBusy()", "", "void"},
    {"loadProfile(int)", "profile", "bool"},
    {"loadProfileMacroData(int)", "profile", "bool"},
    {"saveProfile(int,QStringList)", "profile,nameList", "void"},
    {"resetProfile(int)", "profile", "void"},
    {"copyProfile(int,int)", "destprofile,srcprofile", "void"},
    {"getGlobalStrings(QVariant,QString)", "type,langCode", "QStringList"},
    {"createMacroIni(QVariant,QVariant)", "name,macroIndex", "QVariant"},
    {"updataNameList(QVariant,QStringList)", "type,nameList", "QVariant"},
    {"modifyMacroName(QVariant,QVariant)", "oldname,newname", "QVariant"},
    {"isMacroUse(QVariant)", "macroName", "QStringList"},
    {"deleteMacroIni(QVariant)", "name", "QVariant"},
    {"getNameList(QVariant)", "type", "QVariantList"},
    {"saveMacroIni(QVariant,QStringList,QVariantList,QVariant)", "name,macros,macroData,repeat", "QVariant"},
    {"sendMacroData(QVariantList,QVariant)", "macroData,macroIndex", "QVariant"},
    {"loadMacroIni(QVariant)", "name", "QStringList"},
    {"loadMacroType(QVariant)", "name", "QVariant"},
    {"loadMacroIndex(QVariant)", "name", "QVariant"},
    {"setMacroIndex(QVariant,QVariant)", "name,macroIndex", "void"},
    {"getKeydefine(QVariant)", "matrixId", "QVariantList"},
    {"changeMacroFileIndex(QVariant)", "macroIndex", "void"},
    {"saveGundata(QVariantList)", "src6", "void"},
    {"modifyGundata(QVariant,QVariantList)", "modifyType,src6", "void"},
    {"getGunData(QVariant)", "name", "QVariantList"},
    {"getXYSensitive(QVariant)", "index", "QVariant"},
    {"getselectGun(QVariant)", "index", "QVariant"},
    {"setXYSensitive(QVariant,QVariant)", "index,xyData", "void"},
    {"setSelectGun(QVariant,QVariant)", "index,xyData", "void"},
    {"setMacroKey(int,QVariant)", "index,macroName", "void"},
    {"getMacroKey(int)", "index", "QVariant"},
    {"ui_01H_SetReportRate(uchar)", "rate", "void"},
    {"mouseSetJMGD(uchar)", "tmpJMGD", "void"},
    {"ui_02H_SetCurrentProfile(int)", "profile", "void"},
    {"ui_03H_SetKeyboardoption(uchar,uchar,uchar,uchar)", "byte1,byte2,byte3,byte4", "void"},
    {"ui_04H_SetGunData(uchar,uchar,uchar,uchar,uchar)", "par0,par1,par2,par3,par4", "void"},
    {"ui_0EH_SetXYSensitive(QVariant,QVariant)", "par0,par1", "void"},
    {"ui_81H_GetReportRate()", "", "QVariant"},
    {"ui_83H_GetKeyboardoption()", "", "QVariantList"},
    {"setAcceleration(bool)", "acceleration", "void"},
    {"setCursorSpeed(uint)", "cursorSpeed", "void"},
    {"setVerticalScrollLines(uint)", "lines", "void"},
    {"setDoubleClickSpeed(uint)", "speed", "void"},
    {"ui_06H_SetRGBLedEffect(uchar,uchar,uchar,QVariantList)", "effect,tmpcolor,tmpSpeedBrightness,configs", "void"},
    {"ui_10H_SetLED8StageColor(uchar,QVariantList)", "type,src24", "void"},
    {"ui_LEDColor(QVariantList)", "src24", "void"},
    {"ui_11H_SetDPISet(uchar,QVariantList,QVariantList,QVariantList)", "dpiStage,src8,valueForIndex,dpiSelectArray", "void"},
    {"ui_11H_SetDPISelect(QVariantList)", "valueForIndex", "void"},
    {"mouseSetKeyMatrix(QVariantList)", "src", "void"},
    {"ui_12H_SetGunKeyMatrix(QVariantList)", "src64", "void"},
    {"getAcceleration()", "", "bool"},
    {"getCursorSpeed()", "", "uint"},
    {"getVerticalScrollLines()", "", "uint"},
    {"getDoubleClickSpeed()", "", "uint"},
    {"ui_8BH_GetCurrentDPIStage()", "", "QVariant"},
    {"ui_8DH_GetRGBLedEffect()", "", "QVariantList"},
    {"ui_90H_GetLED8StageColor(uchar)", "type", "QVariantList"},
    {"openUpdateExe()", "", "void"},
    {"ui_91H_GetDPISet()", "", "QVariantList"},
    {"ui_91H_GetDPISelect()", "", "QVariantList"},
    {"getData(QVariant)", "key", "QVariant"},
};

void tst_SlotTable::slotsInOrder()
{
    const QMetaObject &meta = myQQuickView::staticMetaObject;
    QStringList own;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i)
        own.append(QString::fromLatin1(meta.method(i).methodSignature()));
    QCOMPARE(int(std::size(slotTable)), 65);
    QCOMPARE(own.size(), 65);   // no signals, no extra slots, no default-argument clones

    for (int i = 0; i < 65; ++i) {
        const SlotRow &row = slotTable[i];
        const QMetaMethod method = meta.method(meta.methodOffset() + i);
        QCOMPARE(method.methodSignature(), QByteArray(row.signature));
        QCOMPARE(method.methodType(), QMetaMethod::Slot);
        QCOMPARE(method.access(), QMetaMethod::Public);
        QCOMPARE(method.parameterNames().join(','), QByteArray(row.parameters));
        QCOMPARE(QByteArray(method.typeName()), QByteArray(row.result));
    }
    // The busy lock calls the inherited widget slot.
    QVERIFY(meta.indexOfSlot("setEnabled(bool)") >= 0);
}

QTEST_GUILESS_MAIN(tst_SlotTable)
#include "tst_slottable.moc"
