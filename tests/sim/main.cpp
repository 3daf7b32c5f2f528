// zenta-sim: serves a simulated Zenta device on a pseudo-terminal until interrupted.
//   zenta-sim [--model CODE] [--quiet]
// Prints the pty path on the first line, then one line per request unless --quiet.

#include <signal.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

#include "sim/sim_device.h"
#include "support/request_list.h"

namespace {

// One line per request in the notation the tests use: "#3 R2074x4", "#4 W2064x4: 0 10000 29 10000",
// "#5 ascii I01", "#6 ?7" for bytes not understood.
void PrintRequest(const SimRequest& request) {
    const bool modbus = request.kind == ESimRequestKind::Read || request.kind == ESimRequestKind::Write;
    std::printf("#%zu %s%s%s", request.index, request.kind == ESimRequestKind::Ascii ? "ascii " : "",
                RequestNotation(request).c_str(), modbus && !request.crcOk ? " (bad CRC)" : "");
    if (request.kind == ESimRequestKind::Write) {
        std::printf(":");
        for (uint16_t value : request.values) std::printf(" %u", value);
    }
    std::printf("\n");
    std::fflush(stdout);
}

int Usage() {
    std::fprintf(stderr, "usage: zenta-sim [--model CODE] [--quiet]\nmodels:");
    for (const std::string& code : CSimModel::KnownCodes()) std::fprintf(stderr, " %s", code.c_str());
    std::fprintf(stderr, "\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string model = "K9TS";
    bool quiet = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--model") == 0 && i + 1 < argc) {
            model = argv[++i];
        } else if (std::strcmp(argv[i], "--quiet") == 0) {
            quiet = true;
        } else {
            return Usage();
        }
    }
    if (!CSimModel::Create(model)) return Usage();

    // Block the stop signals before the serving thread starts so that only sigwait sees them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    try {
        CSimDevice device(model);
        if (!quiet) device.SetRequestHook(PrintRequest);
        std::printf("%s\n", device.GetSlavePath().c_str());
        std::fflush(stdout);
        int signal = 0;
        sigwait(&stopSignals, &signal);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "zenta-sim: %s\n", e.what());
        return 1;
    }
    return 0;
}
