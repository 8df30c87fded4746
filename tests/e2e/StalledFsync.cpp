// Loaded into the program with LD_PRELOAD: the fsync of one of the program's
// temporary files in the folder QUILLOR_E2E_STALLED_FOLDER never returns, as
// on a network or FUSE mount that stopped answering. Every other fsync is the
// real one.

#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

extern "C" int fsync(int fd)
{
    if (const char* folder = std::getenv("QUILLOR_E2E_STALLED_FOLDER")) {
        char target[4096];
        const std::string link = "/proc/self/fd/" + std::to_string(fd);
        const ssize_t length = ::readlink(link.c_str(), target, sizeof target - 1);
        if (length > 0 && std::string(target, size_t(length)).rfind(std::string(folder) + "/.quillor-", 0) == 0) {
            for (;;)
                ::pause();
        }
    }
    using Fsync = int (*)(int);
    static const auto real = reinterpret_cast<Fsync>(::dlsym(RTLD_NEXT, "fsync"));
    return real(fd);
}
