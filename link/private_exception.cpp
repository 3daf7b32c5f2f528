#include "link/private_exception.h"

#include "platform/resource_module.h"

CPrivateException::CPrivateException(unsigned stringId) : CException(LoadString(stringId)) {}
