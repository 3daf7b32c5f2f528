#include "model/hooks/table_dialog_service.h"

#include <atomic>

namespace {
std::atomic<CTableDialogService*> g_service{nullptr};
}

void InstallTableDialogService(CTableDialogService* service) { g_service.store(service); }
CTableDialogService* GetTableDialogService() { return g_service.load(); }
