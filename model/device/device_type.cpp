#include "model/device/device_type.h"

#include <array>
#include <string_view>

#include "model/potentiometer/par_type_pm.h"
#include "model/rtd/par_type_r.h"
#include "model/thermocouple/par_type_t.h"
#include "model/universal/par_type_u2.h"
#include "model/universal/par_type_u3.h"
#include "model/thermocouple/par_type_u4.h"
#include "model/thermocouple/par_type_u5.h"
#include "platform/resource_module.h"

namespace {
using Factory = std::unique_ptr<CParBase> (*)(int32_t typeId);

// Classes whose constructor takes the type id and sets the model code that goes with it.
template <class T>
std::unique_ptr<CParBase> MakeFor(int32_t typeId) {
    return std::make_unique<T>(typeId);
}

// Classes of a single type id; the registry stamps the id.
template <class T>
std::unique_ptr<CParBase> Make(int32_t typeId) {
    auto set = std::make_unique<T>();
    set->SetTypeId(typeId);
    return set;
}

struct ModelClass {
    Factory create;  // null: no class for the id
    unsigned nameId;
};

// Indexed by type id. Type id 0 is the DC-input base set, which no model code selects.
const std::array<ModelClass, 10> kClasses = {{
    {nullptr, 9000},
    {&MakeFor<CParTypeT>, 9001},
    {&MakeFor<CParTypeR>, 9002},
    {&Make<CParTypePM>, 9010},
    {&MakeFor<CParTypeT>, 9004},
    {&MakeFor<CParTypeR>, 9005},
    {&Make<CParTypeU2>, 9006},
    {&Make<CParTypeU3>, 9007},
    {&Make<CParTypeU4>, 9008},
    {&Make<CParTypeU5>, 9009},
}};

struct CodePrefix {
    std::string_view prefix;
    int32_t typeId;
};

// Tried in this order; the first prefix the code begins with decides.
constexpr std::array<CodePrefix, 9> kPrefixes = {{
    {"K9T", kTypeThermocouple},
    {"K9R", kTypeRtd},
    {"K9U0", kTypeUniversalTc},
    {"K9U1", kTypeUniversalRtd},
    {"K9U2", kTypeUniversalVoltage},
    {"K9U3", kTypeUniversalResistance},
    {"K9U4", kTypeTwoTcDifference},
    {"K9U5", kTypeTwoTcAverage},
    {"K9PM", kTypePotentiometer},
}};
}  // namespace

CDeviceType::CDeviceType() : m_held(kClasses[kDefaultTypeId].create(kDefaultTypeId)) {}

CDeviceType::~CDeviceType() = default;

int32_t CDeviceType::TypeIdOfModel(const std::string& modelCode) {
    for (const CodePrefix& entry : kPrefixes) {
        if (std::string_view(modelCode).starts_with(entry.prefix)) return entry.typeId;
    }
    return 0;
}

bool CDeviceType::IsKnownTypeId(int32_t typeId) {
    return typeId >= 1 && typeId < static_cast<int32_t>(kClasses.size()) &&
           kClasses[typeId].create != nullptr;
}

CParBase* CDeviceType::SetModel(const std::string& modelCode) {
    const int32_t typeId = TypeIdOfModel(modelCode);
    if (!IsKnownTypeId(typeId)) return nullptr;
    return Select(typeId);
}

CParBase* CDeviceType::SetTypeId(int32_t typeId) {
    if (!IsKnownTypeId(typeId)) return m_held.get();
    return Select(typeId);
}

CParBase* CDeviceType::Select(int32_t typeId) {
    if (m_held->GetTypeId() != typeId) m_held = kClasses[typeId].create(typeId);
    return m_held.get();
}

std::string CDeviceType::GetModelName(int32_t typeId) {
    if (typeId < 0 || typeId >= static_cast<int32_t>(kClasses.size())) return {};
    return LoadString(kClasses[typeId].nameId);
}
