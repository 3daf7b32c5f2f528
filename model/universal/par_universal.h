#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include "model/set/output_stage.h"

// What the universal model's millivolt and resistance kinds share: the output stage (burnout, output
// value at burnout, output limits), a read-only range that follows the input type, register 2058, the
// selection of the kind through register 2077, the held output during a download and the monitor read.
// Both kinds transfer by Modbus only and have no table.
class CParUniversal : public CParOutputStage {
public:
    enum Code : int32_t {
        kSensorWires = 63,
        kRange = 66,
    };

    enum Register : int32_t {
        kRegKindFlags = kRegStageBits,
        kRegMonitor = 2069,
    };

    std::string GetValueString(int32_t code) const override;
    int32_t GetValue(int32_t code) const override;
    void SetValue(int32_t code, int32_t value, bool check) override;
    void SetValueFromString(int32_t code, const std::string& text, bool check) override;

    void WriteParamAscii(CCommInterface& comm, int32_t code) override;
    void ReadParamAscii(CCommInterface& comm, int32_t code) override;
    void DownloadAscii(CCommInterface& comm, int32_t part) override;
    void UploadAscii(CCommInterface& comm, int32_t part) override;
    void WriteParamModbus(CModbusInterface& modbus, int32_t code) override;
    void ReadParamModbus(CModbusInterface& modbus, int32_t code) override;
    void DownloadModbus(CModbusInterface& modbus, int32_t part) override;
    void UploadModbus(CModbusInterface& modbus, int32_t part) override;

    std::string GetTableTitle(int32_t group, int32_t variant) const override;
    void EditTable(int32_t group, int32_t variant) override;
    void EditTable2(int32_t group, int32_t variant) override;
    std::string FormatRawValue(int32_t code, int32_t value) const override;

    void ParamToRegisters(int32_t code) override;
    void RegistersToParam(int32_t code) override;

protected:
    // `kind` is the character written to register 2077; `burnoutKeep` and `burnoutSet` the bits of
    // register 2058 that encoding burnout keeps and sets; `stageCodes` the codes of register 2058 to 2062
    // in their encoding order; `fineZeroDivisor` the input fine zero's counts per register count.
    CParUniversal(char kind, uint16_t burnoutKeep, uint16_t burnoutSet,
                  std::initializer_list<int32_t> stageCodes, int32_t fineZeroDivisor);

    // Copies the output stage and the range when `src` is a universal kind of the same class.
    void CopyUniversalStage(const CParUniversal& src);

    int32_t m_range = 0;

private:
    // The input type travels in register 1280 offset by 30 (millivolt kind) or 40 (resistance kind).
    int32_t TypeOffset() const { return m_kind == '2' ? 30 : 40; }

    char m_kind;
    int32_t m_stageCodes[6]{};
    int32_t m_stageCodeCount = 0;
    int32_t m_fineZeroDivisor;
};
