#include "ui/framework/handler_guard.h"

#include "platform/resource_module.h"
#include "res/string_ids.h"
#include "ui/framework/message_box.h"

void ReportException(const std::exception& failure) { AfxMessageBox(failure.what(), MB_ICONWARNING); }

void CallGuarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& failure) {
        ReportException(failure);
    } catch (...) {
        AfxMessageBox(LoadString(kStrUnexpectedFailure), MB_ICONERROR);
    }
}
