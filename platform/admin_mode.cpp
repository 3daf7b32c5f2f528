#include "platform/admin_mode.h"

#include <atomic>

namespace {
std::atomic<bool> g_adminMode{false};
}

bool IsAdminMode() { return g_adminMode.load(); }
void SetAdminMode(bool on) { g_adminMode.store(on); }
