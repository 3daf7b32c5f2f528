#pragma once

class CModbusInterface;
class COutputHold;

// How the program leaves the device it is connected to, on every way out. A user's way (close,
// Disconnect, another port) asks about an output that is held, the program's own (the loop test's, or
// a failed download's, named as such) or the device's own that the window shows: Yes releases it on the
// device it was set on, No leaves it to the user, Cancel stays. A signal asks nobody and releases only
// the program's own hold; what goes wrong is told on standard error. A download is never cut short: the
// way out waits for its end. While one runs, a second signal that ends the process at once says that
// the device's settings may be incomplete.
class CDeviceLeave {
public:
    enum class EWay { kClose, kDisconnect, kOtherPort, kSignal };
    enum class EStep { kStay, kWaitForDownload, kLeave };

    CDeviceLeave(COutputHold& hold, CModbusInterface& modbus) : m_hold(hold), m_modbus(modbus) {}
    ~CDeviceLeave();
    CDeviceLeave(const CDeviceLeave&) = delete;
    CDeviceLeave& operator=(const CDeviceLeave&) = delete;

    // The lines a second signal leaves, in the language shown.
    static void PrepareSignalNotices();
    // The rest of the program's messages go to standard error from now on: nobody answers them.
    static void Signalled();

    void DownloadRunning(bool running);

    // Whether the device may be left by `way` now; `shownHeld`: the device shown holds its output. kStay:
    // the user cancelled, or the release failed (told), and the device is not to be left.
    EStep Leave(EWay way, bool shownHeld);

private:
    bool Release();

    COutputHold& m_hold;
    CModbusInterface& m_modbus;
    bool m_downloading = false;
};
