#include "catalogue.h"
#include "hid_thread.h"
#include "myqquickview.h"
#include "pauses.h"
#include "profilekeys.h"
#include "recordingpointersettings.h"
#include "reporttrace.h"
#include "simulatedg7.h"
#include "tempdatafolder.h"
#include "tracereader.h"
#include "tracingbackend.h"

#include <QQmlContext>
#include <QQuickItem>
#include <QtTest>
#include <QtQuickTest/quicktest.h>

// The window controller as far as the page calls it.
class WindowStub : public QObject
{
    Q_OBJECT
public slots:
    void onMinimize() {}
    void onClose() {}
    void onXChanged(int) {}
    void onYChanged(int) {}
};

// The real page on the real bridge, on a simulated mouse whose reports are traced; profile 1 holds the defaults.
class tst_KeyPages : public QObject
{
    Q_OBJECT

    const QString shotDir = qEnvironmentVariable("G7_QML_SHOT_DIR", QDir::currentPath());
    QScopedPointer<TempDataFolder> data;
    std::shared_ptr<SimulatedG7> sim;
    QScopedPointer<Hid_Thread> hid;
    QScopedPointer<myQQuickView> view;
    WindowStub windowStub;

    QQuickItem *item(const QString &name, QQuickItem *from = nullptr)
    {
        from = from ? from : view->rootObject();
        for (QQuickItem *child : from->childItems()) {
            if (child->objectName() == name)
                return child;
            if (QQuickItem *found = item(name, child))
                return found;
        }
        return nullptr;
    }
    // Where an item is once laid out: a click that just opened a menu leaves its Column
    // to be positioned in the next polish pass, which on a busy machine comes late.
    QPoint centre(const QString &name)
    {
        if (!QQuickTest::qWaitForPolish(view->quickWindow()))
            return QPoint(-1, -1);
        QQuickItem *it = item(name);
        return it ? it->mapToScene(QPointF(it->width() / 2, it->height() / 2)).toPoint() : QPoint(-1, -1);
    }
    bool shown(const QString &name) { QQuickItem *it = item(name); return it && it->isVisible(); }
    QString text(const QString &name) { QQuickItem *it = item(name); return it ? it->property("text").toString() : "?"; }
    void click(const QString &name) { QTest::mouseClick(view.data(), Qt::LeftButton, {}, centre(name)); }
    void hover(const QString &name) { QTest::mouseMove(view.data(), centre(name)); }
    void shot(const QString &name)
    {
        QTest::qWait(50);
        const QImage image = view->grabFramebuffer();
        image.save(QString("%1/%2-%3.png").arg(shotDir, name, QTest::currentDataTag()));
    }
    // The key matrices the mouse received: data reports following a 03H block.
    QList<QByteArray> matrices()
    {
        QList<QByteArray> found;
        bool keyMatrixBlock = false;
        for (const TraceLine &line : TraceReader(data->filePath("trace.txt")).lines()) {
            if (line.op == "feature-out")
                keyMatrixBlock = line.fields.value(1) == "03";
            else if (line.op == "data-out" && keyMatrixBlock)
                found.append(line.bytes().mid(1, 64));   // without the report ID
        }
        return found;
    }
    QByteArray lastMatrix() { return matrices().value(matrices().size() - 1); }
    int matrixCount() { return matrices().size(); }
    QString profileLine(int entry)
    {
        qApp->processEvents();
        const QString file = QString::fromUtf8(data->readFile("modules/setting/p1.bin"));
        const int at = file.indexOf(QString("\n%1=").arg(entry), file.indexOf("[keydefine_J2]"));
        return at < 0 ? QString() : file.mid(at + 1).section('\n', 0, 0);
    }

private slots:
    void init()
    {
        data.reset(new TempDataFolder);
        QVERIFY(data->copyFromSource("modules/setting/apConfig.bin") && data->copyFromSource("modules/setting/pD.bin")
                && data->copyFromSource("modules/i18n/lang_025044.ini"));
        QVERIFY(data->writeFile("modules/setting/p1.bin", data->readFile("modules/setting/pD.bin")));
        ReportTrace::open(data->filePath("trace.txt"));
        sim = std::make_shared<SimulatedG7>(1);
        setHidBackend(std::make_shared<TracingBackend>(sim));
        setSleeper(std::make_shared<RecordingSleeper>());
        hid.reset(new Hid_Thread);
        bool encode = false;
        hid->findDevices(readCatalogue(":/DevInfo.ini", {}, &encode));
        view.reset(new myQQuickView);
        recordPointerSettings(*view);
        view->hid = hid.data();
        QFETCH(QString, language);
        view->store.setAppValue(QLatin1String(ProfileKey::language), language);
        view->store.setAppValue(QLatin1String(ProfileKey::profileNo), 0);
        QQmlContext *context = view->rootContext();
        context->setContextProperty("ui_View", view.data());
        context->setContextProperty("hid", hid.data());
        context->setContextProperty("ui_Ctl", &windowStub);
        view->setSource(QUrl("qrc:/modules/qml/main.qml"));
        QVERIFY2(view->rootObject(), qPrintable(QDebug::toString(view->errors())));
        view->show();
        QVERIFY(QTest::qWaitForWindowExposed(view.data()));
        view->initUI(1);
        QTRY_VERIFY_WITH_TIMEOUT(shown("envItem") && view->isEnabled(), 3000);
        QTest::mouseMove(view.data(), QPoint(400, 60));
    }
    void cleanup()
    {
        view.reset();
        hid.reset();
        setSleeper(nullptr);
        setHidBackend(nullptr);
        ReportTrace::close();
        data.reset();
    }

    void assignFromMenu_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QStringList>("labels");   // button 4 before, then after
        QTest::newRow("English") << "English" << QStringList{"Forward", "Volume Up"};
        QTest::newRow("Chinese") << "ChineseSimplified" << QStringList{"前进", "音量+"};
    }
    void assignFromMenu()
    {
        QFETCH(QStringList, labels);
        QCOMPARE(text("keyText3"), labels[0]);
        click("keyRow3");
        QVERIFY(shown("keyMenuMain"));
        QCOMPARE(item("keyMenuMain")->position(), QPointF(249, 194));
        QCOMPARE(view->rootObject()->findChild<QObject *>("mouseMain")->property("selectKey").toInt(), 3);
        // Each parent entry opens its own sub-menu and closes the others; "Back" closes them all.
        const QStringList parents{"5", "6", "7", "8"};
        for (const QString &parent : parents) {
            hover("menuEntry" + parent);
            for (const QString &other : parents)
                QCOMPARE(shown("subMenu" + other), other == parent);
            shot("keymenu-sub" + parent);
        }
        hover("menuEntry4");
        QVERIFY(!shown("subMenu8"));

        const int before = matrixCount();
        hover("menuEntry6");
        click("menuEntry23");   // Multimedia, "Volume Up"
        QVERIFY(!shown("keyMenuMain"));
        QCOMPARE(text("keyText3"), labels[1]);
        QCOMPARE(matrixCount(), before + 1);
        const QByteArray sent = lastMatrix();
        QCOMPARE(sent.mid(12, 4).toHex(' '), QByteArray("00 e9 00 04"));
        QCOMPARE(sent.mid(0, 4).toHex(' '), QByteArray("00 f0 00 02"));   // button 1 keeps the left click
        QCOMPARE(sent.mid(28, 12).toHex(' '), QByteArray("00 00 03 0c 00 00 01 0b 00 00 05 0c"));
        QCOMPARE(profileLine(3), QString("3=4, 0, 233, 0"));

        // Button 1 is the only left button: choosing another function for it is refused and sends nothing.
        click("keyRow0");
        click("menuEntry1");
        QVERIFY(!shown("keyMenuMain"));
        QCOMPARE(matrixCount(), before + 1);
        QCOMPARE(profileLine(0), QString("0=2, 0, 240, 0"));
    }

    void recordKey_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("label");
        QTest::newRow("English") << "English" << "Button AssignmentF1";
        QTest::newRow("Chinese") << "ChineseSimplified" << "按键设置F1";
    }
    void recordKey()
    {
        QFETCH(QString, label);
        click("keyRow1");
        click("menuEntry10");   // "Assign Keyboard Key"
        QVERIFY(shown("singleKeyMain") && shown("mainMask") && !shown("keyMenuMain"));
        QQuickItem *dialog = item("singleKeyMain");
        QCOMPARE(dialog->position(), QPointF((1000 - dialog->width()) / 2, (640 - dialog->height()) / 2));
        // As the keyboard hook delivers them: press of F1, then its release, then a usage without a name.
        QObject *root = view->rootObject();
        QMetaObject::invokeMethod(root, "detectKeyboard", Q_ARG(QVariant, true), Q_ARG(QVariant, 0x3A));
        QCOMPARE(text("singleKeyName"), QString("F1"));
        QMetaObject::invokeMethod(root, "detectKeyboard", Q_ARG(QVariant, false), Q_ARG(QVariant, 0x3A));
        QCOMPARE(text("singleKeyName"), QString("F1"));
        shot("keydialog");
        const int before = matrixCount();
        click("singleKeyOk");
        QVERIFY(!shown("singleKeyMain") && !shown("mainMask"));
        QCOMPARE(root->findChild<QObject *>("mouseMain")->property("selectKey").toInt(), -1);
        QCOMPARE(text("keyText1"), label);
        QCOMPARE(matrixCount(), before + 1);
        QCOMPARE(lastMatrix().mid(4, 4).toHex(' '), QByteArray("00 3a 00 01"));
        QCOMPARE(profileLine(1), QString("1=1, 0, 58, 0"));

        // Opened again: an unnamed usage leaves the text empty and OK changes nothing.
        click("keyRow2");
        click("menuEntry10");
        QMetaObject::invokeMethod(root, "detectKeyboard", Q_ARG(QVariant, true), Q_ARG(QVariant, 0x80));
        QCOMPARE(text("singleKeyName"), QString());
        click("singleKeyOk");
        QVERIFY(!shown("singleKeyMain"));
        QCOMPARE(matrixCount(), before + 1);
        QCOMPARE(profileLine(2), QString("2=2, 0, 242, 0"));
    }
};

QTEST_MAIN(tst_KeyPages)
#include "tst_keypages.moc"
