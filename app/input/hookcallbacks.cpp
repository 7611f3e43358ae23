#include "hookcallbacks.h"

#include "inputhook.h"
#include "uicontroler.h"
#include "warningboxqueue.h"
#include "widget.h"

#include <myqquickview.h>

#include <QCoreApplication>
#include <QQuickItem>

#include <cstring>

namespace {

constexpr uchar leftShift = 0xE1, rightShift = 0xE5, leftAlt = 0xE2, rightAlt = 0xE6, f12 = 0x45;

QObject *pageRoot(Widget *widget)
{
    if (!widget->controller || !widget->controller->view)
        return nullptr;
    return widget->controller->view->rootObject();
}

} // namespace

void HookCallbacks::registerWith(InputHook &hook, Widget *widget)
{
    hook.setKeyboardCallback(onKeyboardEvent, widget);
    hook.setMouseCallback(onMouseEvent, widget);
    hook.setCopyDataCallback(onCopyData, QCoreApplication::instance(), widget);
}

void HookCallbacks::onKeyboardEvent(uchar usage, uchar keyDown, void *context)
{
    auto *widget = static_cast<Widget *>(context);
    if (!widget)
        return;
    // Queued: the hook returns at once and the page handles the key afterwards.
    if (QObject *root = pageRoot(widget))
        PageRoot(root).detectKeyboard(bool(keyDown), int(usage));
    if (showWindowChord(usage, keyDown, widget->shiftDown, widget->altDown))
        widget->showWindow();
}

void HookCallbacks::onMouseEvent(uchar buttonCode, uchar buttonDown, int x, int y, void *context)
{
    auto *widget = static_cast<Widget *>(context);
    if (!widget)
        return;
    if (QObject *root = pageRoot(widget))
        PageRoot(root).detectMouse(bool(buttonDown), uint(buttonCode), uint(x), uint(y));
}

void HookCallbacks::onCopyData(const CopyDataRecord *record, void *context)
{
    auto *widget = static_cast<Widget *>(context);
    if (!widget || !record)
        return;
    const QString text = warningText(*record);
    if (text.isNull())
        return;
    // The record's bytes are the sender's; the text is copied out and the box shown from the event loop.
    auto *boxes = widget->findChild<WarningBoxQueue *>(QString(), Qt::FindDirectChildrenOnly);
    if (!boxes)
        boxes = new WarningBoxQueue(widget);
    boxes->post(widget->windowTitle(), text);
}

bool HookCallbacks::showWindowChord(uchar usage, bool keyDown, bool &shiftDown, bool &altDown)
{
    if (usage == leftShift || usage == rightShift) {
        shiftDown = keyDown;
    } else if (usage == leftAlt || usage == rightAlt) {
        altDown = keyDown;
    } else if (keyDown) {
        return usage == f12 && shiftDown && altDown;
    }
    return false;
}

QString HookCallbacks::warningText(const CopyDataRecord &record)
{
    if (record.identifier != warningIdentifier || !record.data)
        return QString();
    // The text ends at its terminator, or at the end of the bytes sent.
    const char *bytes = static_cast<const char *>(record.data);
    const QString text = QString::fromUtf8(bytes, qsizetype(strnlen(bytes, record.byteCount)));
    if (quint32(text.toUtf8().size()) != record.byteCount)
        return QString();
    return text.isNull() ? QString(QLatin1String("")) : text;
}
