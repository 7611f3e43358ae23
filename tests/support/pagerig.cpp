#include "pagerig.h"

#include "catalogue.h"
#include "hid_thread.h"
#include "myqquickview.h"
#include "reporttrace.h"
#include "storefile.h"
#include "tracingbackend.h"

#include <QCoreApplication>
#include <QQmlContext>
#include <QQuickWindow>
#include <QRegularExpression>
#include <QtQuickTest/quicktest.h>
#include <QTest>

PageRig::PageRig(int model, const QString &language, bool installed)
    : sim(std::make_shared<SimulatedG7>(model))
{
    // Any warning while the page starts or is driven (a QML error above all) fails the test.
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".?")));
    data.copyFromSource(QStringLiteral("modules/setting/apConfig.bin"));
    if (!installed)
        return;
    for (const char *file : {"modules/setting/pD.bin", "modules/i18n/lang_025044.ini"})
        data.copyFromSource(QLatin1String(file));
    data.writeFile(QStringLiteral("modules/setting/p1.bin"), data.readFile(QStringLiteral("modules/setting/pD.bin")));
    QByteArray config = data.readFile(QStringLiteral("modules/setting/apConfig.bin"));
    config.replace("language=English", "language=" + language.toUtf8());
    data.writeFile(QStringLiteral("modules/setting/apConfig.bin"), config);
}

PageRig::~PageRig()
{
    view.reset();
    hid.reset();
    setSleeper(nullptr);
    setHidBackend(nullptr);
    ReportTrace::close();
}

void PageRig::connect()
{
    ReportTrace::open(traceFile());
    setHidBackend(std::make_shared<TracingBackend>(sim));
    setSleeper(sleeper);
    hid = std::make_unique<Hid_Thread>();
    bool encode = false;
    const auto ap = StoreFile::open(data.filePath(QStringLiteral("modules/setting/apConfig.bin")));
    hid->findDevices(readCatalogue(QStringLiteral(":/DevInfo.ini"), StoreFile::format(), ap->value(QStringLiteral("common/product_name")).toStringList(), &encode));
    view = std::make_unique<myQQuickView>();
    system = recordPointerSettings(*view);
    view->hid = hid.get();
}

bool PageRig::start()
{
    // Once a process: asked again after the first scene, Qt warns that the choice is made.
    [[maybe_unused]] static const bool software = (QQuickWindow::setGraphicsApi(QSGRendererInterface::Software), true);
    connect();
    QQmlContext *context = view->rootContext();
    context->setContextProperty(QStringLiteral("ui_View"), view.get());
    context->setContextProperty(QStringLiteral("hid"), hid.get());
    context->setContextProperty(QStringLiteral("ui_Ctl"), &controller);
    view->setSource(QUrl(QStringLiteral("qrc:/modules/qml/main.qml")));
    if (!view->rootObject())   // the view has printed why
        return false;
    view->resize(1000, 640);
    view->show();
    view->activateWindow();
    view->setFocus();
    if (!QTest::qWaitForWindowExposed(view.get()))
        return false;
    view->initUI(int(hid->did));
    const bool started = QTest::qWaitFor([this] { return shown(QStringLiteral("envItem")) && view->isEnabled(); }, 5000);
    moveTo({400, 60});   // away from every panel
    return started;
}

QQuickItem *PageRig::item(const QString &name) const
{
    QQuickItem *found = findItem(view->rootObject(), name);
    if (!found)
        qWarning("no item %s", qPrintable(name));
    return found;
}

bool PageRig::shown(const QString &name) const
{
    QQuickItem *it = findItem(view->rootObject(), name);
    return it && it->isVisible();
}

QString PageRig::text(const QString &name) const
{
    QQuickItem *it = item(name);
    return it ? it->property("text").toString() : QStringLiteral("?");
}

QPoint PageRig::centre(const QString &name, QPointF at) const
{
    if (!QQuickTest::qWaitForPolish(view->quickWindow()))
        return {-1, -1};
    return scenePoint(item(name), at);
}

void PageRig::click(const QString &name, Qt::MouseButton button, QPointF at)
{
    // A row or menu made by the last action appears once the scene has caught up.
    QTRY_VERIFY2(shown(name), qPrintable(QStringLiteral("nothing to click: ") + name));
    const QPoint point = centre(name, at);
    moveTo(point);
    QTest::mouseClick(view.get(), button, {}, point);
    QCoreApplication::processEvents();   // what the click posted (a queued call, a deferred delete)
}

// Through the window, delivered at once: the widget overload only posts a cursor move, which a busy pass of the event
// loop may leave for later.
void PageRig::moveTo(QPoint point) const
{
    QTest::mouseMove(view->window()->windowHandle(), view->mapTo(view->window(), point));
}

QString PageRig::cutOff(const QString &name) const
{
    QQuickItem *it = item(name);
    if (!it || !QQuickTest::qWaitForPolish(view->quickWindow()))
        return QStringLiteral("not there");
    const QRectF box = it->mapRectToScene(it->boundingRect());
    if (!QRectF(0, 0, view->width(), view->height()).contains(box))
        return QStringLiteral("the window");
    for (QQuickItem *up = it->parentItem(); up; up = up->parentItem()) {
        if (up->clip() && !up->mapRectToScene(up->boundingRect()).contains(box))
            return up->objectName().isEmpty() ? QString::fromLatin1(up->metaObject()->className()) : up->objectName();
    }
    return QString();
}

QStringList PageRig::reports(int from) const
{
    QStringList out = TraceReader(traceFile()).texts({"feature-out", "feature-in", "data-out", "data-in"}).mid(from);
    for (QString &line : out)
        line = line.section(QLatin1Char(' '), 1);   // without the interface
    return out;
}

QString PageRig::stored(const QString &key) const
{
    const QVariant value = view->store.value(key);
    const bool list = value.typeId() == QMetaType::QStringList || value.typeId() == QMetaType::QVariantList;
    return list ? value.toStringList().join(QStringLiteral(", ")) : value.toString();
}

QString PageRig::fileValue(const QString &file, const QString &section, const QString &key) const
{
    QCoreApplication::processEvents();
    const QString head = QLatin1Char('[') + section + QLatin1String("]\n");
    const QString part = QString::fromUtf8(data.readFile(file)).section(head, 1).section(QLatin1String("\n["), 0, 0);
    for (const QString &line : part.split(QLatin1Char('\n')))
        if (line.startsWith(key + QLatin1Char('=')))
            return line.mid(key.size() + 1).trimmed();
    return QString();
}
