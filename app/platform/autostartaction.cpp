#include "autostartaction.h"

#include "autostart.h"

#include <QCoreApplication>
#include <QDebug>
#include <QMenu>

AutostartAction::AutostartAction(const QString &text, QMenu *menu)
    : QAction(text, menu)
{
    setObjectName(QStringLiteral("autostartAction"));
    setCheckable(true);
    setChecked(Autostart::isEnabled());
    connect(menu, &QMenu::aboutToShow, this, [this] { setChecked(Autostart::isEnabled()); });
    connect(this, &QAction::triggered, this, &AutostartAction::switchTo);
}

void AutostartAction::switchTo(bool on)
{
    QString error;
    if (!Autostart::setEnabled(on, QCoreApplication::applicationFilePath(), &error))
        qDebug().noquote() << error;
    setChecked(Autostart::isEnabled());
}
