#include "model/set/par_base.h"

#include <algorithm>

#include "model/set/transfer_progress.h"
#include "platform/c_number.h"
#include "platform/resource_module.h"

namespace {

bool IsTerminator(const ParDef& row) { return row.nameId == 0; }

}  // namespace

void CParBase::CopyFrom(const CParBase& src) {
    if (&src == this) return;
    m_modelCode = src.m_modelCode;
    m_typeId = src.m_typeId;
    m_defTable = src.m_defTable;
}

std::unique_ptr<CParBase> CParBase::Clone() const {
    std::unique_ptr<CParBase> copy = CreateInstance();
    copy->CopyFrom(*this);
    return copy;
}

std::string CParBase::GetValueText(int32_t) const { return std::string(); }

std::string CParBase::FormatValue(int32_t, int32_t, bool) const { return std::string(); }

void CParBase::SetProgressSink(CTransferProgress* sink) {
    m_progressSink = sink;
    if (sink != nullptr) sink->Set(m_progressSteps.load(), m_progressTotal.load());
}

void CParBase::AddProgress(int32_t steps) {
    m_progressSteps.fetch_add(steps);
    if (m_progressSink != nullptr) m_progressSink->Add(steps);
}

void CParBase::SetProgressTotal(int32_t total) {
    m_progressTotal.store(total);
    if (m_progressSink != nullptr) m_progressSink->SetTotal(total);
}

void CParBase::SetProgressSteps(int32_t steps) {
    m_progressSteps.store(steps);
    if (m_progressSink != nullptr) m_progressSink->SetSteps(steps);
}

int32_t CParBase::GetProgress() const {
    // The total of model classes comes from point counts that files and devices supply unchecked.
    const int64_t total = m_progressTotal.load();
    if (total <= 0) return 0;
    const int64_t permille = int64_t{m_progressSteps.load()} * 1000 / total;
    return static_cast<int32_t>(std::clamp<int64_t>(permille, 0, 1000));
}

std::vector<int32_t> CParBase::GetWalkCodes() const {
    std::vector<int32_t> codes;
    for (int32_t group = 0;; ++group) {
        const int32_t count = GetParamCount(group);
        if (count <= 0) break;
        for (int32_t i = 0; i < count; ++i) codes.push_back(GetParamId(group, i));
    }
    return codes;
}

int32_t CParBase::CountWalkRows() const {
    int64_t total = 0;
    for (int32_t group = 0;; ++group) {
        const int32_t count = GetParamCount(group);
        if (count <= 0) break;
        total += count;
    }
    return SaturateInt32(total);
}

int32_t CParBase::GetTableParamId(int32_t group, int32_t index) const {
    if (!m_defTable || index < 0) return -1;
    const ParDef* row = m_defTable;
    while (!IsTerminator(*row) && row->group != group) ++row;
    for (int32_t i = 0; i <= index; ++i, ++row) {
        if (IsTerminator(*row) || row->group != group) return -1;
        if (i == index) return row->code;
    }
    return -1;
}

const ParDef* CParBase::FindTableRow(int32_t code) const {
    if (!m_defTable) return nullptr;
    for (const ParDef* row = m_defTable; !IsTerminator(*row); ++row)
        if (row->code == code) return row;
    return nullptr;
}

std::string CParBase::GetTableParamName(int32_t code) const {
    const ParDef* row = FindTableRow(code);
    return row ? LoadString(static_cast<unsigned>(row->nameId)) : std::string();
}

int32_t CParBase::GetTableGroupCount(int32_t group) const {
    if (!m_defTable) return 0;
    const ParDef* row = m_defTable;
    while (!IsTerminator(*row) && row->group != group) ++row;
    int32_t count = 0;
    for (; !IsTerminator(*row) && row->group == group; ++row) ++count;
    return count;
}
