// The view keeps the page's keyboard focus when the window loses and regains it.

#include <myqquickview.h>
#include <recordingpointersettings.h>

#include <QLineEdit>
#include <QQuickItem>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;

class TestViewFocus : public QObject
{
    Q_OBJECT
private slots:
    void typingGoesOnAfterFocusComesBack();
};

void TestViewFocus::typingGoesOnAfterFocusComesBack()
{
    QTemporaryDir dir;
    const QString page = dir.filePath(u"page.qml"_s);
    QFile file(page);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("import QtQuick 2.0\n"
               "Rectangle { width: 300; height: 80\n"
               "  TextInput { objectName: \"field\"; width: 280; height: 30 } }\n");
    file.close();

    QWidget window; // the tray agent's window, the view inside it as in the program
    myQQuickView *view = new myQQuickView(&window);
    recordPointerSettings(*view);
    view->setSource(QUrl::fromLocalFile(page));
    QQuickItem *field = view->rootObject()->findChild<QQuickItem *>(u"field"_s);
    QVERIFY(field);
    window.resize(300, 80);
    view->setFocus();
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(20, 15)); // into the field
    QTRY_VERIFY(field->hasActiveFocus());
    QTest::keyClicks(view, u"first"_s);

    // Working in another program for a while, then back.
    QLineEdit other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QTRY_VERIFY(!view->hasFocus());
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QTRY_VERIFY(view->hasFocus());

    QTest::keyClicks(view, u" second"_s);
    QCOMPARE(field->property("text").toString(), u"first second"_s);
    QVERIFY(other.text().isEmpty());
}

QTEST_MAIN(TestViewFocus)
#include "tst_viewfocus.moc"
