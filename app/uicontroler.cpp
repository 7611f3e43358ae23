#include "uicontroler.h"

#include "widget.h"

#include <myqquickview.h>
#include <profilekeys.h>
#include <profilestore.h>

#include <QQmlContext>
#include <QQuickItem>
#include <QUrl>
#include <QVariant>

namespace {

// Chinese sessions take the title from name0, all others from name1.
QString windowTitleFromConfig(const ProfileStore &store)
{
    const QString language = store.appValue(QLatin1String(ProfileKey::language), QString()).toString();
    const char *key = language == QLatin1String(ProfileKey::chineseLanguage) ? ProfileKey::titleChinese
                                                                              : ProfileKey::titleEnglish;
    return store.appValue(QLatin1String(key), QString()).toString();
}

} // namespace

Ui_Controler::Ui_Controler() = default;

void Ui_Controler::setupUi(Widget *widget)
{
    if (widget->objectName().isEmpty())
        widget->setObjectName(QStringLiteral("Widget"));
    this->widget = widget;

    widget->setWindowFlags(Qt::Window | Qt::FramelessWindowHint | Qt::CustomizeWindowHint);
    widget->setWindowOpacity(1.0);
    widget->setAttribute(Qt::WA_TranslucentBackground);
    widget->setStyleSheet(QStringLiteral("background:transparent;"));

    view = new myQQuickView(widget);
    // Where the page draws nothing the desktop shows through.
    view->setClearColor(Qt::transparent);
    view->setObjectName(QStringLiteral("ui_View"));
    view->setSource(QUrl(QStringLiteral("qrc:/modules/qml/main.qml")));

    QQmlContext *context = view->rootContext();
    context->setContextProperty(QStringLiteral("ui_View"), view);
    context->setContextProperty(QStringLiteral("hid"), &widget->hid);
    context->setContextProperty(QStringLiteral("ui_Ctl"), this);

    widget->resize(view->geometry().width(), view->geometry().height());
    widget->setWindowTitle(windowTitleFromConfig(view->store));
}

void Ui_Controler::onMinimize()
{
    if (widget)
        widget->showMinimized();
}

void Ui_Controler::onClose()
{
    if (widget)
        widget->closeWindow();
}

void Ui_Controler::onXChanged(int x)
{
    if (widget)
        widget->move(widget->x() + x, widget->y());
}

void Ui_Controler::onYChanged(int y)
{
    if (widget)
        widget->move(widget->x(), widget->y() + y);
}

void Ui_Controler::setBusy(int busyTime)
{
    if (!view || !view->rootObject())
        return;
    view->page().setProtectUI(busyTime);
}

void Ui_Controler::setBusy()
{
    setBusy(0);
}
