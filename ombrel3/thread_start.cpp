#include "thread_start.h"

#include <cstdlib>
#include <cerrno>
#include <climits>

namespace ombrel {

bool workerStartRefused(std::size_t index) {
    const char* env = std::getenv("OMBREL_WORKER_STARTS");
    if (!env || !*env) return false;
    char* end = nullptr;
    errno = 0;
    const unsigned long long allowed = std::strtoull(env, &end, 10);
    if (*end != '\0' || errno == ERANGE) return false;
    return index >= allowed;
}

}  // namespace ombrel
