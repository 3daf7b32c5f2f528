#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "model/set/output_stage.h"

// The parameter set of the potentiometer-input model (type id 3, "K9PM"). The input range is a wiper
// position in percent of the travel; the linearization maps positions (X, whole percents) to outputs
// (Y, percent of the output span) and travels to the device as a computed 131-point output table, one
// point per percent from -15 % to 115 %. It has no ASCII transfer.
class CParTypePM : public CParOutputStage {
public:
    enum Code : int32_t {
        kOutputTableFirst = 22000,
        kOutputTableLast = 22130,
        kPresentPosition = 62006,
    };

    static constexpr int32_t kOutputTablePoints = 131;
    static constexpr int32_t kPartOutputTable = 4;

    // Registers of this model beyond the common ones.
    enum PotRegister : int32_t {
        kRegLinearizerHead = 1344,
        kRegLinearizerPoints = 1360,
        kRegLinearization = 2063,
        kRegPosition = 2069,
    };
    // Positions of the output table start at -15 %.
    static constexpr int32_t kOutputTableFirstPercent = -15;
    static constexpr int32_t kPointRows = 2 * kMaxPoints;
    static constexpr int32_t kTableRows = 2 + kPointRows;
    static constexpr int32_t kPositionLow = -150000;
    static constexpr int32_t kPositionHigh = 1150000;

    CParTypePM();

    std::unique_ptr<CParBase> CreateInstance() const override;
    void CopyFrom(const CParBase& src) override;

    int32_t GetParamCount(int32_t group) const override;
    std::string FormatValue(int32_t code, int32_t value, bool withUnit) const override;
    std::string GetValueString(int32_t code) const override;
    int32_t GetValue(int32_t code) const override;
    void SetValue(int32_t code, int32_t value, bool check) override;
    int32_t GetParamId(int32_t group, int32_t index) const override;
    std::string GetSensorUnit() const override;
    std::string GetInputUnit() const override;

    std::string GetTableTitle(int32_t group, int32_t variant) const override;
    void EditTable(int32_t group, int32_t variant) override;
    void EditTable2(int32_t group, int32_t variant) override;

    void GetInputAdjustLimits(double& low, double& high) const override;
    int32_t GetInputAdjustScale() const override;
    std::string FormatRawValue(int32_t code, int32_t value) const override;

    // No ASCII transfer: the device does not offer one.
    void WriteParamAscii(CCommInterface& comm, int32_t code) override;
    void ReadParamAscii(CCommInterface& comm, int32_t code) override;
    void DownloadAscii(CCommInterface& comm, int32_t part) override;
    void UploadAscii(CCommInterface& comm, int32_t part) override;
    void WriteParamModbus(CModbusInterface& modbus, int32_t code) override;
    void ReadParamModbus(CModbusInterface& modbus, int32_t code) override;
    void DownloadModbus(CModbusInterface& modbus, int32_t part) override;
    void UploadModbus(CModbusInterface& modbus, int32_t part) override;
    void ParamToRegisters(int32_t code) override;
    void RegistersToParam(int32_t code) override;

    // Output register value (10000 at 0 %, 50000 at 100 % of the output span) for a wiper position in
    // 1e-4 %, through the linearization points.
    int32_t PositionToOutputRegister(int32_t position) const;

    static bool IsOutputTableCode(int32_t code) {
        return code >= kOutputTableFirst && code <= kOutputTableLast;
    }

protected:
    // The live values of a poll, from the registers just read.
    void DecodeLiveValues();
    // The step total of a full transfer: the point rows that travel instead of all 202.
    int32_t TransferProgressTotal() const;

    int32_t KeptProgressTotal() const { return m_keptProgressTotal; }

    std::array<int32_t, kOutputTablePoints> m_outputTable{};

private:
    // The blocks of a download part; a full download runs them with the output held.
    void DownloadParts(CModbusInterface& modbus, int32_t part);
    int32_t m_keptProgressTotal = 0;
};
