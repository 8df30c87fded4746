// Put under the program by quit_bench (LD_PRELOAD): every name lookup waits
// QUILLOR_SLOW_LOOKUP_MS milliseconds before the resolver's own answer, as a
// lookup does while the resolver times out.

#include <dlfcn.h>
#include <netdb.h>

#include <chrono>
#include <cstdlib>
#include <thread>

extern "C" int getaddrinfo(const char* node, const char* service, const addrinfo* hints, addrinfo** result)
{
    using Lookup = int (*)(const char*, const char*, const addrinfo*, addrinfo**);
    static const auto resolve = reinterpret_cast<Lookup>(dlsym(RTLD_NEXT, "getaddrinfo"));
    const char* delay = std::getenv("QUILLOR_SLOW_LOOKUP_MS");
    std::this_thread::sleep_for(std::chrono::milliseconds(delay ? std::atoi(delay) : 0));
    return resolve(node, service, hints, result);
}
