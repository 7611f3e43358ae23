#include <pagerules.h>

#include <QQmlContext>
#include <QQmlEngine>
#include <QtQuickTest/quicktest.h>

// The pages take the send plan and the name rules from the native side, as in the program.
class Setup : public QObject
{
    Q_OBJECT
public slots:
    void qmlEngineAvailable(QQmlEngine *engine)
    {
        engine->rootContext()->setContextProperty(QStringLiteral("pageRules"), new PageRules(engine));
    }
};

QUICK_TEST_MAIN_WITH_SETUP(qml, Setup)
#include "tst_quick.moc"
