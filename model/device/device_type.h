#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "model/set/par_base.h"

// Which parameter-set class stands for which device model. Holds one set and makes sure it is of the
// class a model code or type id asks for; a set already of that type id is kept with all its values.
// Callers copy what they need from the returned set; the registry keeps it.
class CDeviceType {
public:
    static constexpr int32_t kDefaultTypeId = kTypeRtd;

    // The held set starts as the RTD model.
    CDeviceType();
    virtual ~CDeviceType();
    CDeviceType(const CDeviceType&) = delete;
    CDeviceType& operator=(const CDeviceType&) = delete;

    // The held set for a model code as a device reports it or a file names it; null, with the held set
    // unchanged, when no class takes the code.
    CParBase* SetModel(const std::string& modelCode);
    // The held set for type id 1 to 9; any other id leaves it as it is.
    CParBase* SetTypeId(int32_t typeId);
    CParBase* GetParBase() const { return m_held.get(); }

    // Type id of a model code; 0 when no class takes it (0 is never selected by a code).
    static int32_t TypeIdOfModel(const std::string& modelCode);
    // Display name of type id 0 to 9; empty for any other id or a name missing from the strings.
    static std::string GetModelName(int32_t typeId);
    // True when a class is built for the type id.
    static bool IsKnownTypeId(int32_t typeId);

private:
    CParBase* Select(int32_t typeId);

    std::unique_ptr<CParBase> m_held;
};
