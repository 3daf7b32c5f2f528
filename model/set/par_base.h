#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/set/device_type_id.h"

class CCommInterface;
class CModbusInterface;
class CParEditor;
class CTransferProgress;

// One row of a model's definition table. A table is a constant array of rows, grouped and in display
// order, closed by an all-zero row (name id 0).
struct ParDef {
    int32_t group;
    int32_t code;
    int32_t nameId;
    int32_t kind;
};

// Edit kinds of a row (also what GetParamState returns).
enum ParKind : int32_t {
    kParHeader = 0,
    kParReadOnly = 1,
    kParText = 2,
    kParChoice = 3,
    kParTextFileOnly = 4,
    kParChoiceFileOnly = 5,
};

// Groups of rows shown together.
enum ParGroup : int32_t {
    kGroupBasic = 0,
    kGroupFineAdjust = 1,
    kGroupTable = 2,
    kGroupIdentity = 3,
    kGroupDeviceInfo = 10,
};

// Transfer parts of the upload and download operations; model classes add their own numbers.
enum ParPart : int32_t {
    kPartAll = -1,
    kPartBasic = 0,
    kPartFineAdjust = 1,
    kPartTable = 2,
    kPartIdentity = 10,
    kPartLive = 11,
    kPartStatus = 12,
};

// Whether a transfer of `part` includes the part `wanted`.
constexpr bool Runs(int32_t part, int32_t wanted) { return part == wanted || part == kPartAll; }

// Status word bits.
enum ParStatus : uint32_t {
    kStatusBurnout = 0x200,
    kStatusLooptest = 0x1000,
    kStatusAdError = 0x2000,
    kStatusRomError = 0x4000,
};

// The parameter set of one device model. Every parameter, and every group header row, is addressed by an
// integer code; callers never test a set's class but let the virtual operations decide. A set has no
// lock: it belongs to one thread at a time, except the progress counters, which the user interface reads
// while a worker transfers.
class CParBase {
public:
    CParBase() = default;
    virtual ~CParBase() = default;
    CParBase(const CParBase&) = delete;
    CParBase& operator=(const CParBase&) = delete;

    // A new set of the same class with the class's defaults; copies nothing.
    virtual std::unique_ptr<CParBase> CreateInstance() const = 0;
    // Copies every setting of `src`. Here: model code, type id and definition table; each class adds its
    // own fields when `src` is of its class. Status word, online flag and register image are not copied.
    virtual void CopyFrom(const CParBase& src);
    // A new set of the same class holding every setting `CopyFrom` copies.
    std::unique_ptr<CParBase> Clone() const;

    // Rows of a group, generated rows included; 0 ends every walk over groups.
    virtual int32_t GetParamCount(int32_t group) const = 0;
    virtual std::string GetParamName(int32_t code) const = 0;
    virtual std::string GetValueText(int32_t code) const;
    virtual std::string FormatValue(int32_t code, int32_t value, bool withUnit) const;
    // The stored text form: what a configuration file holds and the comparison tests for equality.
    virtual std::string GetValueString(int32_t code) const = 0;
    virtual int32_t GetValue(int32_t code) const = 0;
    virtual void SetValueFromItem(int32_t code, const CParEditor& editor) = 0;
    // With `check` the range is tested first and a failure throws without storing.
    virtual void SetValue(int32_t code, int32_t value, bool check) = 0;
    virtual void SetValueFromString(int32_t code, const std::string& text, bool check) = 0;
    virtual int32_t GetParamId(int32_t group, int32_t index) const = 0;
    virtual int32_t GetParamState(int32_t code) const = 0;
    virtual void SetupEditor(int32_t code, CParEditor& editor) const = 0;
    virtual std::string GetSensorUnit() const = 0;
    virtual std::string GetInputUnit() const = 0;
    virtual std::string GetOutputUnit() const = 0;

    // Transfers of one parameter, or of a transfer part (kPartAll: every part in the model's order). The
    // caller holds the protocol's lock. A link failure throws and ends the operation where it stands:
    // what was sent stays sent, what was read stays in the set.
    virtual void WriteParamAscii(CCommInterface& comm, int32_t code) = 0;
    virtual void WriteParamModbus(CModbusInterface& modbus, int32_t code) = 0;
    virtual void ReadParamAscii(CCommInterface& comm, int32_t code) = 0;
    virtual void ReadParamModbus(CModbusInterface& modbus, int32_t code) = 0;
    virtual void DownloadAscii(CCommInterface& comm, int32_t part) = 0;
    virtual void DownloadModbus(CModbusInterface& modbus, int32_t part) = 0;
    virtual void UploadAscii(CCommInterface& comm, int32_t part) = 0;
    virtual void UploadModbus(CModbusInterface& modbus, int32_t part) = 0;

    // Progress of the running transfer in thousandths.
    int32_t GetProgress() const;
    void ResetProgress() { SetProgressSteps(0); }
    // While a sink is attached, the counters are mirrored into it (attaching copies them over first).
    // The sink must outlive the attachment; null detaches.
    void SetProgressSink(CTransferProgress* sink);

    // Caption of a table button of a group (`variant` 0 first, 1 second); empty when there is none.
    virtual std::string GetTableTitle(int32_t group, int32_t variant) const = 0;
    // Runs a table action of a group and stores what the user accepted.
    virtual void EditTable(int32_t group, int32_t variant) = 0;
    virtual void EditTable2(int32_t group, int32_t variant) = 0;

    virtual uint32_t GetStatus() const { return m_status; }
    virtual void GetInputAdjustLimits(double& low, double& high) const = 0;
    virtual int32_t GetInputAdjustScale() const = 0;
    virtual void GetOutputAdjustLimits(double& low, double& high) const = 0;
    virtual std::string FormatRawValue(int32_t code, int32_t value) const = 0;

    // The codes of every row of groups 0, 1, 2, ... up to the first group without rows, in order.
    std::vector<int32_t> GetWalkCodes() const;

    // Files and devices give values unchecked; before a download sends them, the value of every row the
    // user edits must pass the test a typed value passes. Throws the message of the first that fails.
    virtual void CheckValues() const {}

    // The configuration file: section "SETTING" holds a "P<code>" key for every row of the group walk,
    // section "HEAD" the model code. A save that fails throws and leaves the old file as it was.
    virtual void SaveToFile(const std::string& path) const;
    // Throws before anything changes when the file cannot be opened or its model code is not this
    // set's. Keys are applied unchecked to a copy, which the set takes over only when every key has loaded.
    virtual void LoadFromFile(const std::string& path);
    // Whether a file without the key of `code` leaves the value as it is instead of applying an empty
    // text to it, for a row that files written by earlier versions lacked. Here: no row.
    virtual bool KeepsValueWithoutKey(int32_t /*code*/) const { return false; }
    // The model code in section "HEAD" of a configuration file (empty when it has none); throws when the
    // file cannot be opened (missing, unreadable, a folder).
    static std::string ReadFileModelCode(const std::string& path);
    void SaveParam(const std::string& path, int32_t code) const;
    void LoadParam(const std::string& path, int32_t code);

    int32_t GetTypeId() const { return m_typeId; }
    void SetTypeId(int32_t typeId) { m_typeId = typeId; }
    bool IsOnline() const { return m_online; }
    void SetOnline(bool online) { m_online = online; }
    const std::string& GetModelCode() const { return m_modelCode; }
    const ParDef* GetDefTable() const { return m_defTable; }

protected:
    // Code of the `index`-th row of a group in the definition table; -1 when that row or one before it
    // (from the group's first row on) is the terminator or belongs to another group.
    int32_t GetTableParamId(int32_t group, int32_t index) const;
    // Display name of the first row holding `code`; empty when no row holds it.
    std::string GetTableParamName(int32_t code) const;
    // First row holding `code`, or null.
    const ParDef* FindTableRow(int32_t code) const;
    // Consecutive table rows of a group; 0 for a group without rows.
    int32_t GetTableGroupCount(int32_t group) const;

    void SetDefTable(const ParDef* table) { m_defTable = table; }
    void SetModelCode(std::string code) { m_modelCode = std::move(code); }
    void SetStatus(uint32_t status) { m_status = status; }

    // The codes a configuration file load applies, in order: every code of the group walk once.
    virtual std::vector<int32_t> GetLoadOrder() const;

    // Rows of the group walk (GetWalkCodes); the constructors take it as the step total.
    int32_t CountWalkRows() const;

    // Transfers count their steps here; the total is fixed by the constructors.
    void AddProgress(int32_t steps);
    void SetProgressTotal(int32_t total);
    int32_t GetProgressSteps() const { return m_progressSteps.load(); }
    int32_t GetProgressTotal() const { return m_progressTotal.load(); }
    void SetProgressSteps(int32_t steps);

private:
    int32_t m_typeId = 0;
    uint32_t m_status = 0;
    const ParDef* m_defTable = nullptr;
    bool m_online = false;
    std::string m_modelCode;
    std::atomic<int32_t> m_progressSteps{0};
    std::atomic<int32_t> m_progressTotal{0};
    CTransferProgress* m_progressSink = nullptr;
};
