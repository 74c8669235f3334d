#pragma once

// This process's resident set, in bytes, from /proc/self/statm; 0 when unreadable.
long long residentBytes();
