#pragma once

#include <array>
#include <cstdint>

#include "model/set/output_stage.h"

class CCommInterface;
class CModbusInterface;

// Points a custom sensor table holds at the most.
inline constexpr int32_t kCustomTableCapacity = 300;

// What the temperature models with a custom sensor table share: a start temperature (1e-4 degC), a step
// (whole degC), a point count and up to 300 values, point i standing for start + i x step; their
// registers, their Modbus and ASCII transfer and their editing through the table viewer. The point
// count is stored as a file or device delivered it; every walk over the values uses it clamped to
// 0 to 300, so that no count reaches past the table or into the registers after it.
class CParCustomTable : public CParOutputStage {
public:
    enum CustomCode : int32_t {
        kCustomStart = 21005,
        kCustomStep = 21006,
        kCustomPoints = 21007,
        kCustomValueFirst = 21008,
        kCustomValueLast = kCustomValueFirst + kCustomTableCapacity - 1,
    };

    enum CustomRegister : int32_t {
        kRegCustomHead = 1344,
        kRegCustomTable = 1360,
        kRegCustomTableEnd = 1960,  // one past the last value
    };

    static bool IsCustomValueCode(int32_t code) {
        return code >= kCustomValueFirst && code <= kCustomValueLast;
    }

    int32_t GetValue(int32_t code) const override;
    void ParamToRegisters(int32_t code) override;
    void RegistersToParam(int32_t code) override;

protected:
    using CParOutputStage::CParOutputStage;

    void CopyCustomTable(const CParCustomTable& src);

    // The point count every walk over the values uses.
    int32_t WalkCustomPoints() const;
    // The last temperature of the table, start + step x (points - 1), at least one step, saturated.
    int32_t CustomTableEnd() const;
    // The first point at which the table stops running strictly one way (1 when the first two points
    // are equal), or 0 when it runs one way through all its points.
    int32_t CustomTableBreak() const;

    // Opens the table viewer on the table, shown in `displayUnit`; true when a table was accepted and
    // stored, without range tests, snapped so that a table accepted unchanged comes back unchanged.
    bool EditCustomSensorTable(int32_t displayUnit);

    // The head and the blocks of eight values that hold the points, whatever count a file delivered.
    void DownloadCustomTableModbus(CModbusInterface& modbus);
    // The head, then the blocks of the count it gives; the values after them become 0. The step total
    // counts the points read instead of all 300.
    void UploadCustomTableModbus(CModbusInterface& modbus);

    // The ASCII commands of the table after the item is selected: start, step, count and every value
    // the device holds; one progress step each.
    void DownloadCustomTableAscii(CCommInterface& comm);
    void UploadCustomTableAscii(CCommInterface& comm);

    // The constructor's total of progress steps, with all 300 points; transfers adjust and restore it.
    void KeepProgressTotal(int32_t total);
    int32_t KeptProgressTotal() const { return m_keptProgressTotal; }
    // The kept total with the points of the table in place of all 300.
    int32_t TransferProgressTotal() const;

    int32_t m_customStart = 0;
    int32_t m_customStep = 1;
    int32_t m_customPoints = 2;
    std::array<int32_t, kCustomTableCapacity> m_customValues{0, 1};

private:
    int32_t m_keptProgressTotal = 0;
};
