#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "link/file_write_failure.h"
#include "link/private_exception.h"
#include "model/set/par_base.h"
#include "platform/atomic_file.h"
#include "platform/ini_file.h"
#include "platform/message_format.h"
#include "platform/resource_module.h"
#include "res/string_ids.h"

namespace {

constexpr const char* kSettingSection = "SETTING";
constexpr const char* kHeadSection = "HEAD";
constexpr const char* kModelKey = "MODEL";
// Sizes of the read buffers the files were always read with: longer values are cut.
constexpr std::size_t kModelBufferSize = 31;
constexpr std::size_t kValueBufferSize = 255;
// Far more than the largest parameter set writes; a larger file is something else and is not read.
constexpr std::size_t kMaxFileSize = std::size_t{1} << 20;

std::string ParamKey(int32_t code) { return "P" + std::to_string(code); }

// A refused write says why; any other failure says that the file was not saved, and where.
void CheckWritten(WriteFileResult result, const std::string& path) {
    if (result == WriteFileResult::kOk) return;
    if (const std::optional<std::string> refused = RefusedWriteMessage(result, path))
        throw CPrivateException(*refused);
    throw CPrivateException(LoadString(kStrParameterSaveFailed) + "\n" + path);
}

// A file that is missing, unreadable or a folder is reported as such, not read as an empty file whose
// missing model code would blame the model.
CIniFile ReadConfigFile(const std::string& path) {
    std::string text;
    switch (ReadWholeFile(path, text, kMaxFileSize)) {
        case ReadFileResult::kOk: return CIniFile(std::move(text));
        case ReadFileResult::kTooLarge:
            throw CPrivateException(
                FormatMessageId(kStrParameterFileTooLarge, {std::to_string(kMaxFileSize)}));
        case ReadFileResult::kMissing:
        case ReadFileResult::kFailed: break;
    }
    throw CPrivateException(kStrParameterOpenFailed);
}

// The model code is written last, so a file cut short has settings without it: that file is incomplete,
// not one of another model. A file with neither section matches no model.
std::string ModelCodeOf(const CIniFile& ini) {
    if (ini.HasSection(kSettingSection) && !ini.HasSection(kHeadSection))
        throw CPrivateException(FormatMessageId(kStrParameterFileNoSection, {kHeadSection}));
    if (ini.HasSection(kHeadSection) && !ini.Find(kHeadSection, kModelKey))
        throw CPrivateException(FormatMessageId(kStrParameterFileNoKey, {kModelKey, kHeadSection}));
    return ini.GetString(kHeadSection, kModelKey, "", kModelBufferSize);
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A reader of the file trims blanks around a value and takes one pair of matching quotes off it; a
// value that would change so goes inside a pair of quotes, which the reader takes off again.
std::string FileValue(const std::string& text) {
    const bool blankEdge = !text.empty() && (IsBlank(text.front()) || IsBlank(text.back()));
    const bool quoted = text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
                        text.back() == text.front();
    return blankEdge || quoted ? "\"" + text + "\"" : text;
}

void ApplyParam(CParBase& set, const CIniFile& ini, int32_t code) {
    if (set.KeepsValueWithoutKey(code) && !ini.Find(kSettingSection, ParamKey(code))) return;
    set.SetValueFromString(code, ini.GetString(kSettingSection, ParamKey(code), "", kValueBufferSize), false);
}

}  // namespace

void CParBase::SaveToFile(const std::string& path) const {
    // The file is built whole and replaces the old one in one step, so a failed save loses nothing.
    CIniFile ini;
    for (int32_t code : GetWalkCodes())
        ini.SetString(kSettingSection, ParamKey(code), FileValue(GetValueString(code)));
    ini.SetString(kHeadSection, kModelKey, GetModelCode());
    CheckWritten(WriteFileAtomic(path, ini.GetText()), path);
}

std::string CParBase::ReadFileModelCode(const std::string& path) { return ModelCodeOf(ReadConfigFile(path)); }

void CParBase::LoadFromFile(const std::string& path) {
    const CIniFile ini = ReadConfigFile(path);
    if (ModelCodeOf(ini) != GetModelCode()) throw CPrivateException(kStrFileModelMismatch);
    // Loaded into a copy and taken over whole, so that a load that fails on the way changes nothing.
    const std::unique_ptr<CParBase> loaded = Clone();
    loaded->SetOnline(IsOnline());
    for (int32_t code : GetLoadOrder()) ApplyParam(*loaded, ini, code);
    CopyFrom(*loaded);
}

std::vector<int32_t> CParBase::GetLoadOrder() const {
    // The type choices load default ranges, so they come before the ranges themselves.
    std::vector<int32_t> order{0, 100};
    for (int32_t code : GetWalkCodes()) {
        if (code != 0 && code != 100) order.push_back(code);
    }
    return order;
}

void CParBase::SaveParam(const std::string& path, int32_t code) const {
    CheckWritten(WriteIniString(path, kSettingSection, ParamKey(code), FileValue(GetValueString(code))),
                 path);
}

void CParBase::LoadParam(const std::string& path, int32_t code) {
    ApplyParam(*this, ReadConfigFile(path), code);
}
