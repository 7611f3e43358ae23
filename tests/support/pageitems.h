#pragma once

#include <QQuickItem>

// Finds an item by object name through the visual tree (list rows and repeater delegates have no
// object parent); a visible item before a hidden one, as list views keep released delegates a while.
inline QQuickItem *findItem(QQuickItem *from, const QString &name, QQuickItem **hidden)
{
    for (QQuickItem *child : from->childItems()) {
        if (child->objectName() == name) {
            if (child->isVisible())
                return child;
            *hidden = *hidden ? *hidden : child;
        }
        if (QQuickItem *found = findItem(child, name, hidden))
            return found;
    }
    return nullptr;
}
inline QQuickItem *findItem(QQuickItem *root, const QString &name)
{
    QQuickItem *hidden = nullptr;
    QQuickItem *found = root ? findItem(root, name, &hidden) : nullptr;
    return found ? found : hidden;
}
// A point of the item in scene coordinates; its centre unless `at` is given.
inline QPoint scenePoint(QQuickItem *it, QPointF at = {-1, -1})
{
    if (!it)
        return {-1, -1};
    return it->mapToScene(at.x() < 0 ? QPointF(it->width() / 2, it->height() / 2) : at).toPoint();
}
