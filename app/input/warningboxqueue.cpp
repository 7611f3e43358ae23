#include "warningboxqueue.h"

#include <QDebug>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>

namespace {

const QString ellipsis = QStringLiteral("\u2026");

// The height a box with `text` takes, measured on a box that is laid out but never drawn.
int boxHeight(const QString &caption, const QString &text)
{
    QMessageBox probe(QMessageBox::Warning, caption, text, QMessageBox::Ok);
    probe.setAttribute(Qt::WA_DontShowOnScreen);
    probe.setWindowModality(Qt::NonModal);
    probe.show();
    const int height = probe.frameGeometry().height();
    probe.hide();
    return height;
}

// The text, cut with an ellipsis where a box with all of it would be taller than the screen.
QString fittingText(const QString &caption, const QString &text)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return text;
    // Room for a window manager's title bar above the box.
    const int limit = screen->availableGeometry().height() - 48;
    if (boxHeight(caption, text) <= limit)
        return text;
    qsizetype fits = 0, tooLong = text.size();
    while (tooLong - fits > 1) {
        const qsizetype middle = fits + (tooLong - fits) / 2;
        if (boxHeight(caption, text.left(middle) + ellipsis) <= limit)
            fits = middle;
        else
            tooLong = middle;
    }
    if (fits > 0 && text.at(fits - 1).isHighSurrogate())
        --fits;
    return text.left(fits) + ellipsis;
}

} // namespace

WarningBoxQueue::WarningBoxQueue(QObject *parent)
    : QObject(parent)
{
}

WarningBoxQueue::~WarningBoxQueue()
{
    delete shown;
}

void WarningBoxQueue::post(const QString &caption, const QString &text)
{
    if (waiting.size() >= maxWaiting) {
        qDebug() << "warning box dropped:" << maxWaiting << "boxes are already waiting";
        return;
    }
    waiting.enqueue({caption, text});
    if (!shown)
        showNext();
}

void WarningBoxQueue::showNext()
{
    if (waiting.isEmpty())
        return;
    const Box next = waiting.dequeue();
    auto *box = new QMessageBox(QMessageBox::Warning, next.caption, fittingText(next.caption, next.text),
                                QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    // Modal as before, but shown from the event loop instead of running one of its own.
    box->setWindowModality(Qt::ApplicationModal);
    connect(box, &QMessageBox::finished, this, [this] {
        shown.clear();
        // After the closed box has left the screen's modal stack.
        QMetaObject::invokeMethod(this, &WarningBoxQueue::showNext, Qt::QueuedConnection);
    });
    shown = box;
    box->show();
}
