#include "model/set/transfer_progress.h"

#include <algorithm>

int32_t CTransferProgress::GetProgress() const {
    const int64_t total = m_total.load();
    if (total <= 0) return 0;
    const int64_t permille = int64_t{m_steps.load()} * 1000 / total;
    return static_cast<int32_t>(std::clamp<int64_t>(permille, 0, 1000));
}
