#include "ui/app/vort_app.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cstdlib>
#include <string>

#include "model/set/par_type_v.h"
#include "platform/exception.h"
#include "platform/resource_module.h"
#include "support/temp_folder.h"

namespace {
constexpr unsigned kSaveFailedText = 30010;

// In a process prepared as the program prepares itself, saves a set into a file that may not grow past
// 1 KiB. Exits 0 when the save failed with its message and left nothing behind.
[[noreturn]] void SaveBeyondTheFileSizeLimit(const CTempFolder& dir) {
    CVORTApp::PrepareProcess();
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = 1024;
    setrlimit(RLIMIT_FSIZE, &limit);
    try {
        CParTypeV().SaveToFile(dir / "big.cfg");
    } catch (const CException& e) {
        const bool reported = std::string(e.what()).rfind(LoadString(kSaveFailedText), 0) == 0;
        std::_Exit(reported && dir.Names().empty() ? 0 : 2);
    }
    std::_Exit(1);
}
}  // namespace

TEST(VortAppDeathTest, ASavePastTheFileSizeLimitFailsLikeAFullDisk) {
    CTempFolder dir;
    EXPECT_EXIT(SaveBeyondTheFileSizeLimit(dir), testing::ExitedWithCode(0), "");
}
