#include "platform/shell/Shell.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>

extern char** environ;

namespace vcl {

bool OpenWebAddress(const std::string& address) {
    // A short-lived sh starts the opener in the background and exits, so the opener is re-parented
    // to init and never becomes a zombie of ours; only sh's start-up is waited for.
    const char* script = "xdg-open \"$1\" >/dev/null 2>&1 </dev/null &";
    char* argv[] = {const_cast<char*>("sh"), const_cast<char*>("-c"), const_cast<char*>(script),
                    const_cast<char*>("sh"), const_cast<char*>(address.c_str()), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, argv, environ) != 0) return false;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    return true;
}

}  // namespace vcl
