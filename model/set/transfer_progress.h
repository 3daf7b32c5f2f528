#pragma once

#include <atomic>
#include <cstdint>

// Steps done of a transfer's total, readable from any thread. The device interface keeps one outside its
// parameter set, so that the user interface can follow a transfer without touching a set that the
// transfer may replace.
class CTransferProgress {
public:
    void Set(int32_t steps, int32_t total) {
        m_total.store(total);
        m_steps.store(steps);
    }
    void Add(int32_t steps) { m_steps.fetch_add(steps); }
    void SetSteps(int32_t steps) { m_steps.store(steps); }
    void SetTotal(int32_t total) { m_total.store(total); }

    // Thousandths, 0 to 1000; 0 while the total is not positive.
    int32_t GetProgress() const;

private:
    std::atomic<int32_t> m_steps{0};
    std::atomic<int32_t> m_total{0};
};
