#include "colourtable.h"
#include "dpiencoding.h"
#include "ledoptions.h"
#include "myqquickview.h"

#include <QMetaMethod>
#include <QTest>

// The pages call the bridge by slot name with positional arguments: result types, names, parameter names
// and order are its interface.
static const QStringList slotTable = {
    "void initUI(int curDevice)", "void runUI()", "QVariant getLang()", "QVariant getProfile()",
    "void setProfile(QVariant profileNo)", "void clearHidBusy()", "bool loadProfile(int profile)",
    "bool loadProfileMacroData(int profile)", "void saveProfile(int profile, QStringList nameList)",
    "void resetProfile(int profile)", "void copyProfile(int destprofile, int srcprofile)",
    "QStringList getGlobalStrings(QVariant type, QString langCode)",
    "QVariant createMacroIni(QVariant name, QVariant macroIndex)",
    "QVariant updataNameList(QVariant type, QStringList nameList)",
    "QVariant modifyMacroName(QVariant oldname, QVariant newname)", "QStringList isMacroUse(QVariant macroName)",
    "QVariant deleteMacroIni(QVariant name)", "QVariantList getNameList(QVariant type)",
    "QVariant saveMacroIni(QVariant name, QStringList macros, QVariantList macroData, QVariant repeat)",
    "QVariant sendMacroData(QVariantList macroData, QVariant macroIndex)", "QStringList loadMacroIni(QVariant name)",
    "QVariant loadMacroType(QVariant name)", "QVariant loadMacroIndex(QVariant name)",
    "void setMacroIndex(QVariant name, QVariant macroIndex)", "QVariantList getKeydefine(QVariant matrixId)",
    "void changeMacroFileIndex(QVariant macroIndex)", "void saveGundata(QVariantList src6)",
    "void modifyGundata(QVariant modifyType, QVariantList src6)", "QVariantList getGunData(QVariant name)",
    "QVariant getXYSensitive(QVariant index)", "QVariant getselectGun(QVariant index)",
    "void setXYSensitive(QVariant index, QVariant xyData)", "void setSelectGun(QVariant index, QVariant xyData)",
    "void setMacroKey(int index, QVariant macroName)", "QVariant getMacroKey(int index)",
    "void ui_01H_SetReportRate(uchar rate)", "void mouseSetJMGD(uchar tmpJMGD)",
    "void ui_02H_SetCurrentProfile(int profile)",
    "void ui_03H_SetKeyboardoption(uchar byte1, uchar byte2, uchar byte3, uchar byte4)",
    "void ui_04H_SetGunData(uchar par0, uchar par1, uchar par2, uchar par3, uchar par4)",
    "void ui_0EH_SetXYSensitive(QVariant par0, QVariant par1)", "QVariant ui_81H_GetReportRate()",
    "QVariantList ui_83H_GetKeyboardoption()", "void setAcceleration(bool acceleration)",
    "void setCursorSpeed(uint cursorSpeed)", "void setVerticalScrollLines(uint lines)",
    "void setDoubleClickSpeed(uint speed)",
    "void ui_06H_SetRGBLedEffect(uchar effect, uchar tmpcolor, uchar tmpSpeedBrightness, QVariantList configs)",
    "void ui_10H_SetLED8StageColor(uchar type, QVariantList src24)", "void ui_LEDColor(QVariantList src24)",
    "void ui_11H_SetDPISet(uchar dpiStage, QVariantList src8, QVariantList valueForIndex, QVariantList dpiSelectArray)",
    "void ui_11H_SetDPISelect(QVariantList valueForIndex)", "void mouseSetKeyMatrix(QVariantList src)",
    "void ui_12H_SetGunKeyMatrix(QVariantList src64)", "bool getAcceleration()", "uint getCursorSpeed()",
    "uint getVerticalScrollLines()", "uint getDoubleClickSpeed()", "QVariant ui_8BH_GetCurrentDPIStage()",
    "QVariantList ui_8DH_GetRGBLedEffect()", "QVariantList ui_90H_GetLED8StageColor(uchar type)",
    "void openUpdateExe()", "QVariantList ui_91H_GetDPISet()", "QVariantList ui_91H_GetDPISelect()",
    "QVariant getData(QVariant key)",
};

static QByteArray hex(const uchar *bytes, int n) { return QByteArray(reinterpret_cast<const char *>(bytes), n).toHex(' '); }

class tst_PageInterface : public QObject
{
    Q_OBJECT

private slots:
    void slotsInOrder()
    {
        const QMetaObject &meta = myQQuickView::staticMetaObject;
        QStringList own;   // no signals, no extra slots, no default-argument clones
        for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
            const QMetaMethod method = meta.method(i);
            QStringList parameters;
            for (int p = 0; p < method.parameterCount(); ++p)
                parameters.append(QString("%1 %2").arg(method.parameterTypeName(p), method.parameterNames().at(p)));
            own.append(QString("%1 %2(%3)").arg(method.typeName(), method.name(), parameters.join(", ")));
            QVERIFY(method.methodType() == QMetaMethod::Slot && method.access() == QMetaMethod::Public);
        }
        QCOMPARE(slotTable.size(), 65);
        QCOMPARE(own, slotTable);
        QVERIFY(meta.indexOfSlot("setEnabled(bool)") >= 0);   // the busy lock calls the inherited slot
    }

    // Worked examples "<inputs> = <output>": "dpi <did> <value> = <byte>[ d]" with d for the doubled step,
    // "led <effect> <level> = <option1> <option2>".
    void encoders_data()
    {
        QTest::addColumn<int>("unused");
        for (const char *row : {"dpi 0 200 = 4", "dpi 0 7200 = 144", "dpi 0 7300 = 72 d", "dpi 0 12000 = 119 d",
                 "dpi 1 100 = 2", "dpi 1 12700 = 254", "dpi 1 12800 = 0 d", "dpi 1 12900 = 2 d", "dpi 1 16000 = 64 d",
                 "dpi 2 12700 = 254", "dpi 2 12800 = 0 d", "dpi 2 16000 = 64 d", "dpi 3 12700 = 254",
                 "dpi 3 12800 = 127 d", "dpi 3 12900 = 128 d", "dpi 3 18000 = 179 d", "dpi 7 12900 = 2 d",
                 "dpi 7 12700 = 254", "led 0 0 = 0 6", "led 0 1 = 12 6", "led 0 2 = 25 6", "led 0 3 = 37 6",
                 "led 0 4 = 50 6", "led 0 7 = 87 6", "led 13 0 = 0 6", "led 13 1 = 20 6", "led 13 2 = 30 6",
                 "led 13 3 = 40 6", "led 13 4 = 50 6", "led 13 7 = 50 6", "led 1 0 = 50 10", "led 1 1 = 50 8",
                 "led 1 2 = 50 6", "led 1 3 = 50 4", "led 1 4 = 50 1", "led 12 0 = 50 10", "led 12 4 = 50 1",
                 "led 4 5 = 50 255", "led 4 7 = 50 251"})
            QTest::newRow(row) << 0;
    }
    void encoders()
    {
        const QString row = QTest::currentDataTag();
        const QStringList in = row.section(" = ", 0, 0).split(' ');
        QString out;
        if (in[0] == "dpi") {
            bool doubled = !row.endsWith(" d");
            out = QString::number(encodeDpiValue(in[1].toUInt(), in[2].toUInt(), &doubled));
            out += doubled ? " d" : "";
        } else {
            const LedOptions options = ledOptions(uchar(in[1].toInt()), uchar(in[2].toInt()));
            out = QString("%1 %2").arg(options.option1).arg(options.option2);
        }
        QCOMPARE(in.join(' ') + " = " + out, row);
    }
    // Values and flags as texts read from a file; short lists count as zero.
    void dpiStages()
    {
        const DpiStageBytes dpi = encodeDpiStages(1, {"12700", "12800", "16000", "400", "800", "1600", "3200"},
                                                  {"1", "0", "1", "0", "0", "0", "0"});
        QCOMPARE(hex(dpi.stage.data(), 8) + ' ' + hex(&dpi.mul2, 1) + ' ' + hex(&dpi.dpiSegment, 1),
                 QByteArray("fe 00 40 08 10 20 40 00 06 05"));
    }

    void colourTables_data()
    {
        QTest::addColumn<int>("type");   // -1: the lighting palette
        QTest::addColumn<QVariantList>("values");
        QTest::addColumn<QByteArray>("bytes");   // the first ones, the rest are 0

        QVariantList palette;
        QByteArray first24;
        for (int i = 0; i < 30; ++i)
            palette.append(i * 9);
        for (int i = 0; i < 24; ++i)
            first24.append(char(i * 9));
        QTest::newRow("palette cut at 24") << -1 << palette << first24;
        QTest::newRow("low 8 bits") << -1 << QVariantList{256, -1, 511, "17", 2.0} << QByteArray::fromHex("00FFFF1102");
        QTest::newRow("type 2 packs nibbles") << 2 << QVariantList{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}
                                              << QByteArray::fromHex("2143658705060708090A");
        // Bytes 0..3 are packed even from missing values.
        QTest::newRow("type 2, high value shifted") << 2 << QVariantList{0x1F, 0x0F} << QByteArray::fromHex("FF");
        QTest::newRow("type 1 plain") << 1 << QVariantList{0x1F, 0x0F} << QByteArray::fromHex("1F0F");
    }
    void colourTables()
    {
        QFETCH(int, type);
        QFETCH(QVariantList, values);
        QFETCH(QByteArray, bytes);
        const ColourTable table = type < 0 ? colourTableBytes(values) : stageColourBytes(uchar(type), values);
        QCOMPARE(hex(table.data(), 24), (bytes + QByteArray(24 - bytes.size(), '\0')).toHex(' '));
    }
};

QTEST_GUILESS_MAIN(tst_PageInterface)
#include "tst_pageinterface.moc"
