#pragma once

#include <QSemaphore>
#include <QThread>

typedef struct _XDisplay Display;

// Records the X server's key and button events for the whole desktop (XRecord) on
// its own connection and thread; each arrives on the receiver's thread as a queued
// signal in the hooks' terms.
class XRecordListener : public QThread
{
    Q_OBJECT
public:
    explicit XRecordListener(QObject *parent = nullptr);
    ~XRecordListener() override;

    // Opens the connections and starts recording; false when the server (or its
    // RECORD extension) cannot be reached.
    bool startRecording();
    void stopRecording();

signals:
    void keyEvent(quint32 message, quint32 scanCode, quint32 flags);
    void buttonEvent(quint32 message, int x, int y);

public:
    // Released by the recording thread once the server has enabled the context.
    QSemaphore recording;

protected:
    void run() override;

private:
    Display *control = nullptr;
    Display *data = nullptr;
    unsigned long context = 0;
};
