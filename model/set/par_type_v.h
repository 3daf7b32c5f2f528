#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/set/par_base.h"

// Limits and defaults of one input or output type, values x10000 in the type's unit.
struct CTypeRange {
    int32_t low = 0;
    int32_t high = 0;
    int32_t minSpan = 0;
    int32_t default0 = 0;
    int32_t default100 = 0;
};

// The parameters every model shares, with their defaults, range rules and texts. On its own it is the
// set of the DC-current/voltage input model; every model class derives from it, handles its own codes
// in each operation and hands the others on.
class CParTypeV : public CParBase {
public:
    // Parameter codes shared by every model.
    enum Code : int32_t {
        kInputType = 0,
        kInput0 = 1,
        kInput100 = 2,
        kResponseSpeed = 50,
        kDamping = 51,
        kResistanceRange = 66,
        kOutputType = 100,
        kOutput0 = 101,
        kOutput100 = 102,
        kInputFineZero = 10000,
        kInputFineZero2 = 10001,
        kInputFineSpan = 10002,
        kOutputFineZero = 10003,
        kOutputFineSpan = 10004,
        kLinearization = 20000,
        kPointCount = 20001,
        kPointFirst = 20002,
        kPointLast = 20203,
        kInputLive = 60000,
        kOutputLive = 60001,
        kStatusText = 61000,
        kTag = 62000,
        kDate = 62001,
        kModel = 62002,
        kSerial = 62003,
        kHardware = 62004,
        kFirmware = 62005,
        kHeaderFirst = 65000,
        kHeaderInput = 65000,
        kHeaderOutput = 65001,
        kHeaderFineAdjust = 65002,
        kHeaderLinearizer = 65003,
        kHeaderCustomRtd = 65004,
        kHeaderCustomTc = 65005,
    };

    // Holding registers every model shares.
    enum Register : int32_t {
        kRegTag = 1024,
        kRegModel = 1042,
        kRegSerial = 1056,
        kRegHardware = 1064,
        kRegBasic = 1280,
        kRegOutput0 = 1284,
        kRegOutput100 = 1285,
        kRegDamping = 1286,
        kRegInput0 = 1288,
        kRegInput100 = 1290,
        kRegStage = 2055,
        kRegDampingCoefficient = 2060,
        kRegInputFineZero = 2064,
        kRegInputFineSpan = 2065,
        kRegOutputFineZero = 2066,
        kRegOutputFineSpan = 2067,
        kRegOutputHold = 2072,
        kRegDeviceStatus = 2073,
        kRegFirmware = 2078,
    };
    // Characters that travel of the tag, the model text and the serial number.
    static constexpr int32_t kTagLength = 16;
    static constexpr int32_t kModelLength = 10;
    static constexpr int32_t kSerialLength = 8;

    static constexpr int32_t kMaxPoints = 101;
    // Fine adjustment: a span is a factor in 1e-4 (10000 nominal) within 0.95 to 1.05; the output zero is
    // in 0.01 % of the output span within +-5 %.
    static constexpr int32_t kFineSpanScale = 10000;
    static constexpr int32_t kFineSpanLow = 9500;
    static constexpr int32_t kFineSpanHigh = 10500;
    static constexpr int32_t kOutputFineZeroScale = 100;
    static constexpr int32_t kOutputFineZeroLimit = 500;
    // More choices than any list holds.
    static constexpr int32_t kMaxChoices = 1000;
    // Resolution of the damping time constant, seconds x10000.
    static constexpr int32_t kDampingStep = 1000;
    // Over the ASCII line the device needs this long to store a whole table (linearizer or custom
    // sensor table) before item 01 may change again.
    static constexpr unsigned kTableStoreMs = 1000;
    static constexpr int32_t kLinearizerRows = 205;
    static constexpr int32_t kRegisterCount = 4096;
    // The characters a typed tag may hold.
    static constexpr std::string_view kTagCharacters =
        "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ!\"#$%&'()=-+*^~|\\@`[]{};:<>?_,./";

    CParTypeV();

    std::unique_ptr<CParBase> CreateInstance() const override;
    void CopyFrom(const CParBase& src) override;

    int32_t GetParamCount(int32_t group) const override;
    std::string GetParamName(int32_t code) const override;
    std::string GetValueText(int32_t code) const override;
    std::string FormatValue(int32_t code, int32_t value, bool withUnit) const override;
    std::string GetValueString(int32_t code) const override;
    int32_t GetValue(int32_t code) const override;
    void SetValueFromItem(int32_t code, const CParEditor& editor) override;
    void SetValue(int32_t code, int32_t value, bool check) override;
    void SetValueFromString(int32_t code, const std::string& text, bool check) override;
    int32_t GetParamId(int32_t group, int32_t index) const override;
    int32_t GetParamState(int32_t code) const override;
    void SetupEditor(int32_t code, CParEditor& editor) const override;
    std::string GetSensorUnit() const override;
    std::string GetInputUnit() const override;
    std::string GetOutputUnit() const override;

    std::string GetTableTitle(int32_t group, int32_t variant) const override;
    void EditTable(int32_t group, int32_t variant) override;
    void EditTable2(int32_t group, int32_t variant) override;

    void CheckValues() const override;

    void GetInputAdjustLimits(double& low, double& high) const override;
    int32_t GetInputAdjustScale() const override;
    void GetOutputAdjustLimits(double& low, double& high) const override;
    std::string FormatRawValue(int32_t code, int32_t value) const override;

    void WriteParamAscii(CCommInterface& comm, int32_t code) override;
    void WriteParamModbus(CModbusInterface& modbus, int32_t code) override;
    void ReadParamAscii(CCommInterface& comm, int32_t code) override;
    void ReadParamModbus(CModbusInterface& modbus, int32_t code) override;
    void DownloadAscii(CCommInterface& comm, int32_t part) override;
    void DownloadModbus(CModbusInterface& modbus, int32_t part) override;
    void UploadAscii(CCommInterface& comm, int32_t part) override;
    void UploadModbus(CModbusInterface& modbus, int32_t part) override;

    // Encodes the current value of a code into the register image; codes it does not know leave the
    // image as it is.
    virtual void ParamToRegisters(int32_t code);
    // Decodes a code's value from the register image into the set.
    virtual void RegistersToParam(int32_t code);

    // Reads item 01 of the selected group, writes `value` to it and returns the old value.
    static int32_t SetItem01(CCommInterface& comm, int32_t value);
    // Damping coefficient register of a damping time constant (seconds x10000).
    static uint16_t DampingCoefficient(uint32_t damping);

    // "Normal", or the texts of the set status bits joined by ", ".
    static std::string FormatStatus(uint32_t bits);

    static bool IsPointCode(int32_t code) { return code >= kPointFirst && code <= kPointLast; }

    // The 16-bit register image, register r at index r. Throws std::logic_error for a range beyond it.
    std::span<uint16_t> Registers(int32_t start, int32_t count);
    std::span<const uint16_t> Registers(int32_t start, int32_t count) const;

protected:
    // Limits of an output type from the tables shared by all sets; an unknown type gives zeros.
    static const CTypeRange& OutputTypeRange(int32_t outputType);
    // Limits of an input type from this set's tables; an unknown type gives zeros.
    CTypeRange InputTypeRange(int32_t inputType) const;
    // Model classes replace the input types with their own.
    void ClearInputTypeRanges();
    void SetInputTypeRange(int32_t inputType, const CTypeRange& range);

    // Throws the range message of `code` unless min <= value <= max.
    void CheckRange(int32_t code, int64_t value, int64_t min, int64_t max) const;
    // Range tests of the two ends of a 0 %/100 % pair, the ends `span` apart within [low, high]: the
    // other end bounds the edited one. A file or a device may hold the other end where no value of the
    // edited one could lie `span` away from it (a reversed range); then only [low, high] bounds it, so
    // that the message always names a range the edited value can take.
    void CheckLowEnd(int32_t code, int64_t value, int64_t low, int64_t high, int64_t span,
                     int64_t upper) const;
    void CheckHighEnd(int32_t code, int64_t value, int64_t low, int64_t high, int64_t span,
                      int64_t lower) const;
    // Throws the range message of a choice code unless its value is one of its choices: those with a
    // text, from 0 up to the first without one.
    void CheckChoice(int32_t code, int32_t value) const;
    // Throws the range message of the input type unless the range tables hold the type.
    void CheckInputType(int32_t value) const;

    // The number of a text as sscanf reads it (ParseDoubleOrZero): 0 when there is none or it is nan.
    static double ParseNumber(std::string_view text);
    // (d + 0.00001) x factor for d >= 0, (d - 0.00001) x factor below, truncated toward zero; a result
    // beyond int32 gives the limit on its side, which a range test then refuses.
    static int32_t ScaleNumber(double d, double factor);
    static int32_t ParseScaled(std::string_view text, double factor = 10000.0);

    // Choice text `baseId` + index for 0 <= index < count, else empty.
    static std::string ChoiceText(int32_t baseId, int32_t count, int32_t index);
    // " (unit)" appended to a display text.
    static std::string WithUnit(const std::string& text, const std::string& unit);

    // The point count every walk over the point arrays uses; the stored value stays as loaded.
    int32_t WalkPointCount() const;
    // Hands the linearizer table to the table viewer and stores what the user accepts: at most
    // kMaxPoints points, each coordinate in 1e-4 units as `toX` and `toY` make it, the rest cleared. An
    // accepted table of fewer than 2 points is stored as it is: the table viewer allows it.
    void EditLinearizer(int32_t (*toX)(double), int32_t (*toY)(double));
    // Index of a point code and whether it is an X (even offset) or Y value.
    static int32_t PointIndex(int32_t code) { return (code - kPointFirst) / 2; }
    static bool IsPointX(int32_t code) { return (code - kPointFirst) % 2 == 0; }

    // One register of the image; throws std::logic_error beyond it.
    uint16_t GetRegister(int32_t reg) const { return Registers(reg, 1)[0]; }
    void SetRegister(int32_t reg, uint16_t value) { Registers(reg, 1)[0] = value; }
    // A register read as a signed 16-bit value.
    int32_t GetRegisterSigned(int32_t reg) const;
    // The low 16 bits of a value.
    void SetRegisterLow(int32_t reg, int32_t value);
    // A signed 32-bit value over two registers, high word first.
    int32_t GetRegisterPair(int32_t high) const;
    void SetRegisterPair(int32_t high, int32_t value);
    // Text with one character per register in the low byte, 0 past the text; decoded up to the first
    // 0 byte or the block's end.
    void SetRegisterText(int32_t start, int32_t count, std::string_view text);
    std::string GetRegisterText(int32_t start, int32_t count) const;
    // Reads or writes a block of the image through the master, then counts `steps` of progress.
    void ReadBlock(CModbusInterface& modbus, int32_t start, int32_t count, int32_t steps = 0);
    void WriteBlock(CModbusInterface& modbus, int32_t start, int32_t count, int32_t steps = 0);
    // Registers 2064 to 2067 from the set's fine-adjustment values.
    void EncodeFineAdjust();

    // Sends one command line and returns the reply line.
    static std::string Exchange(CCommInterface& comm, const std::string& command);
    // `reply` after its first `skip` characters; empty when the reply is not longer than that.
    static std::string_view ReplyTail(std::string_view reply, size_t skip);
    // Up to `count` numbers, read from `text` one after the other as sscanf("%lf %lf ...") reads them;
    // fewer when the text ends or holds something else first.
    static std::vector<double> ScanNumbers(std::string_view text, size_t count);
    // A number from the device x10000, truncated toward zero.
    static int32_t DeviceScaled(double number);
    // Stores `text` through SetValueFromString when it holds a number; otherwise the value stays.
    void StoreNumberText(int32_t code, std::string_view text);

    // A text for the tag, model text or serial number. Typed (`check`), it is refused with a message
    // when it holds more characters than the device stores, a character CheckDeviceText refuses or, for
    // the tag, a character outside the tag set; from a file, a longer text is cut to what the device
    // stores, with a warning. Lengths count characters, not the bytes of their UTF-8 form.
    std::string AcceptedText(int32_t code, const std::string& text, bool check) const;
    // Refuses a text that the device's 8-bit character registers cannot hold as the user sees it: a
    // control character, or one beyond printable ASCII (Japanese, accented letters).
    void CheckDeviceText(int32_t code, std::string_view text) const;
    // Characters the device's registers hold of the tag, model text or serial number.
    static size_t TextLength(int32_t code);

    // The model text as it leaves the set: the universal model's input kinds always report "K9U".
    std::string GetModelText() const;

    int32_t m_inputType = 0;
    int32_t m_responseSpeed = 0;
    uint32_t m_damping = 0;
    int32_t m_inputFineZero = 0;
    int32_t m_inputFineZero2 = 0;
    int32_t m_inputFineSpan = 10000;
    int32_t m_input0 = 0;
    int32_t m_input100 = 1000000;
    int32_t m_linearization = 0;
    int32_t m_output0 = 40000;
    int32_t m_output100 = 200000;
    int32_t m_outputType = 0;
    int32_t m_outputFineZero = 0;
    int32_t m_outputFineSpan = 10000;
    int32_t m_pointCount = 3;
    std::array<int32_t, kMaxPoints> m_pointX{};
    std::array<int32_t, kMaxPoints> m_pointY{};
    int32_t m_inputValue = 0;
    int32_t m_inputPercent = 0;
    int32_t m_outputValue = 0;
    int32_t m_outputPercent = 0;
    std::string m_model;
    int32_t m_hardware = 0;
    int32_t m_firmware = 0;
    std::string m_serial = "Default";
    std::string m_tag = "Default";
    int32_t m_date = 0;

    std::map<int32_t, int32_t> m_inputLow;
    std::map<int32_t, int32_t> m_inputHigh;
    std::map<int32_t, int32_t> m_inputMinSpan;
    std::map<int32_t, int32_t> m_inputDefault0;
    std::map<int32_t, int32_t> m_inputDefault100;

    std::array<uint16_t, kRegisterCount> m_registers{};
};
