import QtQuick

// "LOADING ......" for a given time; `released` when it is over.
BusyIndicator {
    id: lock

    signal released()

    function hold(interval) {
        clock.stop()
        clock.lockMs = Math.max(0, interval)
        clock.endsAt = Date.now() + clock.lockMs
        // After the clock is read: the first showing makes the text, which takes a moment.
        setBusy(true)
        if (interval > 0)
            clock.start()
        else
            release()
    }

    function release() {
        setBusy(false)
        released()
    }

    // A Timer counts from the end of the script that started it, so the page's own start-up
    // work would lengthen the lock; it ends by the clock instead, looked at once a frame.
    Timer {
        id: clock

        property real endsAt: 0
        property real lockMs: 0

        interval: 16
        repeat: true
        onTriggered: {
            // More left than was asked for: the system clock went back; let go rather than trap the user.
            var left = endsAt - Date.now()
            if (left > 0 && left <= lockMs)
                return
            stop()
            lock.release()
        }
    }
}
