// demo_workshop_server --port N: serves the demo item pages and pictures on 127.0.0.1:N until
// it is killed. Item pages answer at http://127.0.0.1:N/sharedfiles/filedetails/?id=<id>.
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <unistd.h>

#include "DemoItems.h"
#include "WorkshopServer.h"

namespace {

volatile std::sig_atomic_t g_stop = 0;

void OnSignal(int) {
    g_stop = 1;
}

int Usage() {
    std::fprintf(stderr, "usage: demo_workshop_server --port N\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    int port = -1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--port") == 0 && i + 1 < argc) {
            char* end = nullptr;
            const long value = std::strtol(argv[++i], &end, 10);
            if (!end || *end != '\0' || value < 0 || value > 65535) return Usage();
            port = static_cast<int>(value);
        } else {
            return Usage();
        }
    }
    if (port < 0) return Usage();

    kestavel::workshop::WorkshopServer server(port);
    if (!server.listening()) {
        std::fprintf(stderr, "demo_workshop_server: cannot listen on 127.0.0.1:%d\n", port);
        return 1;
    }
    const std::size_t pictures = kestavel::workshop::ServeDemoItems(server);
    std::printf("listening on %d\n", server.port());
    std::printf("page prefix %s\n", server.pagePrefix().c_str());
    std::printf("%zu item pages, %zu pictures\n", kestavel::workshop::DemoItemIds().size(),
                pictures);
    std::fflush(stdout);

    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    while (!g_stop) ::pause();
    server.stop();
    return 0;
}
