#include <QtQuickTest/quicktest.h>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QDebug>

// Publishes the stand-ins for the native objects before any test page loads,
// as the window controller does for the real ones.
class MockObjects : public QObject
{
    Q_OBJECT
public slots:
    void qmlEngineAvailable(QQmlEngine *engine)
    {
        const QList<QPair<QString, QString>> mocks = {
            {QStringLiteral("ui_View"), QStringLiteral("MockView.qml")},
            {QStringLiteral("hid"), QStringLiteral("MockHid.qml")},
            {QStringLiteral("ui_Ctl"), QStringLiteral("MockCtl.qml")},
        };
        for (const auto &[name, file] : mocks) {
            QQmlComponent component(engine, QUrl::fromLocalFile(QStringLiteral(QUICK_TEST_SOURCE_DIR "/") + file));
            QObject *object = component.create();
            if (!object)
                qDebug() << component.errorString();
            else
                object->setParent(engine);
            engine->rootContext()->setContextProperty(name, object);
        }
    }
};

QUICK_TEST_MAIN_WITH_SETUP(qml, MockObjects)

#include "tst_quick.moc"
