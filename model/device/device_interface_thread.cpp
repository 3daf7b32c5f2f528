#include "model/device/device_interface_thread.h"

#include <stdexcept>

#include "link/modbus_interface.h"

CDeviceInterfaceThread::CDeviceInterfaceThread() {
    m_thread = std::thread([this] { Run(); });
}

CDeviceInterfaceThread::~CDeviceInterfaceThread() { Stop(); }

void CDeviceInterfaceThread::Post(Request request) {
    {
        std::lock_guard guard(m_queueMutex);
        m_queue.push_back(std::move(request));
    }
    m_queued.notify_one();
}

void CDeviceInterfaceThread::PostPoll(int32_t tab) {
    Request request;
    request.command = kPoll;
    request.tab = tab;
    Post(std::move(request));
}

void CDeviceInterfaceThread::RequestWriteAdjust(const CAdjustInfo& info) {
    {
        std::lock_guard guard(m_adjustMutex);
        m_adjustRequest = info;
        ++m_requestSequence;
    }
    PostCommand(kWriteAdjust);
}

void CDeviceInterfaceThread::PostUpload() { PostCommand(kUpload); }

void CDeviceInterfaceThread::PostDownload(const CParBase& source) {
    Request request;
    request.command = kDownload;
    request.source = source.Clone();
    Post(std::move(request));
}

void CDeviceInterfaceThread::PostCommand(int32_t command) {
    Request request;
    request.command = command;
    Post(std::move(request));
}

CDeviceInterfaceThread::Request CDeviceInterfaceThread::Take() {
    std::unique_lock lock(m_queueMutex);
    m_queued.wait(lock, [this] { return !m_queue.empty(); });
    Request request = std::move(m_queue.front());
    m_queue.pop_front();
    return request;
}

void CDeviceInterfaceThread::Run() {
    for (;;) {
        Request request = Take();
        if (request.command == kEnd) {
            m_lastCommand.store(kEnd);
            return;
        }
        // Busy is raised before stopping is looked at, and Stop does the reverse, so that either this
        // command is skipped or Stop sees it running and cancels its exchange.
        m_busy.store(true);
        if (!m_stopping.load()) {
            m_lastCommand.store(request.command);
            Handle(request);
        }
        m_busy.store(false);
    }
}

void CDeviceInterfaceThread::Handle(Request& request) {
    switch (request.command) {
        case kPoll: {
            try {
                m_device.Poll(request.tab);
            } catch (...) {
                // The device interface has reset its state; the next poll identifies again.
            }
            Notify();
            break;
        }
        case kWriteAdjust: WriteNewestAdjust(); break;
        case kUpload:
        case kDownload:
            try {
                if (request.command == kUpload) {
                    m_device.Upload();
                } else {
                    // A bare command 4 carries no set: a failure, not a write of nothing.
                    if (!request.source) throw std::invalid_argument("download posted without a set");
                    m_device.Download(*request.source);
                }
                Keep(nullptr);
            } catch (...) {
                Keep(std::current_exception());
            }
            Notify();
            break;
        default: break;
    }
}

// Skipped when a write has started since the newest request was made: that write carried it.
void CDeviceInterfaceThread::WriteNewestAdjust() {
    CAdjustInfo info;
    {
        std::lock_guard guard(m_adjustMutex);
        if (m_writtenSequence >= m_requestSequence) return;
        m_writtenSequence = m_requestSequence;
        info = m_adjustRequest;
    }
    try {
        m_device.WriteAdjust(info);
    } catch (...) {
        // A failed adjustment write is dropped; the page shows what the next poll reads back.
    }
}

void CDeviceInterfaceThread::Keep(std::exception_ptr failure) {
    std::lock_guard guard(m_keptMutex);
    m_kept = std::move(failure);
}

std::exception_ptr CDeviceInterfaceThread::GetKeptException() const {
    std::lock_guard guard(m_keptMutex);
    return m_kept;
}

void CDeviceInterfaceThread::Stop() {
    if (!m_thread.joinable()) return;
    m_stopping.store(true);
    CModbusInterface* modbus = m_device.GetModbus();
    const bool cancel = modbus != nullptr && m_busy.load();
    if (cancel) modbus->GetSerial().Abort();
    m_device.InterruptPauses();
    {
        std::lock_guard guard(m_queueMutex);
        m_queue.clear();
    }
    PostCommand(kEnd);
    m_thread.join();
    // The port stays usable for whoever else talks over it.
    if (cancel) modbus->GetSerial().ResetAbort();
}
