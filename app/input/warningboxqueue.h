#pragma once

#include <QObject>
#include <QPointer>
#include <QQueue>
#include <QString>

class QMessageBox;

// Warning boxes asked for by other programs, one at a time: a box is shown
// without a nested event loop and the next one comes when it is closed. Texts
// too long for the screen are cut so that the box and its OK button stay on it.
class WarningBoxQueue : public QObject
{
    Q_OBJECT
public:
    explicit WarningBoxQueue(QObject *parent = nullptr);
    ~WarningBoxQueue() override;

    void post(const QString &caption, const QString &text);

    // Boxes waiting behind the one shown; more are dropped.
    static constexpr int maxWaiting = 32;

private:
    struct Box
    {
        QString caption;
        QString text;
    };

    void showNext();

    QQueue<Box> waiting;
    QPointer<QMessageBox> shown;
};
