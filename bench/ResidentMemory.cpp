#include "ResidentMemory.h"

#include <unistd.h>

#include <cstdio>

long long residentBytes() {
    std::FILE* file = std::fopen("/proc/self/statm", "r");
    if (file == nullptr) {
        return 0;
    }
    long long sizePages = 0;
    long long residentPages = 0;
    const int read = std::fscanf(file, "%lld %lld", &sizePages, &residentPages);
    std::fclose(file);
    return read == 2 ? residentPages * static_cast<long long>(sysconf(_SC_PAGESIZE)) : 0;
}
