// Linux replacements of the C-runtime services the module calls: file and
// directory operations, the clock and the random-number generator.
//
// The file operations return 0 on success and -1 on failure with errno set,
// as the C runtime does, so callers can check every result.
#pragma once

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>

namespace crt {

// Renames a file. An existing file of the new name is replaced (POSIX).
int rename(const std::string& from, const std::string& to);

// Deletes a file or an empty directory.
int remove(const std::string& path);

// Creates one directory level (the parent must exist). An existing
// directory fails with EEXIST; callers that only need the directory to be
// there may ignore the result.
int mkdir(const std::string& path);

// Removes an empty directory; never removes what it holds.
int rmdir(const std::string& path);

// --------------------------------------------------------------- the clock

// Current calendar time, seconds since 1970-01-01 00:00:00 UTC, from the
// host clock: the system clock unless a clock has been set.
std::time_t now();

// Replaces the host clock: by a function, or by a fixed time.
void setClock(std::function<std::time_t()> clock);
void setClock(std::time_t fixedTime);

// Back to the system clock.
void resetClock();

// Breaks a calendar time down in UTC; false when it cannot be represented.
bool gmtime(std::time_t t, std::tm& out);

// -------------------------------------------------------- random numbers

inline constexpr int kRandMax = 0x7FFF;

// 15-bit linear congruential generator: state = state * 214013 + 2531011
// (mod 2^32), result = (state >> 16) & 0x7FFF. The state starts at 1.
int rand();

// Restarts the sequence from the given seed (srand(1) gives the sequence of
// a fresh program).
void srand(std::uint32_t seed);

}  // namespace crt
