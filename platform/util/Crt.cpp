#include "platform/util/Crt.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <mutex>
#include <utility>

namespace crt {

int rename(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : -1;
}

int remove(const std::string& path) { return std::remove(path.c_str()) == 0 ? 0 : -1; }

int mkdir(const std::string& path) { return ::mkdir(path.c_str(), 0777) == 0 ? 0 : -1; }

int rmdir(const std::string& path) { return ::rmdir(path.c_str()) == 0 ? 0 : -1; }

namespace {

std::mutex& clockMutex() {
    static std::mutex m;
    return m;
}

// Empty: the system clock.
std::function<std::time_t()>& clockSlot() {
    static std::function<std::time_t()> clock;
    return clock;
}

std::mutex& randMutex() {
    static std::mutex m;
    return m;
}

std::uint32_t randState = 1;

}  // namespace

std::time_t now() {
    std::function<std::time_t()> clock;
    {
        std::lock_guard<std::mutex> lock(clockMutex());
        clock = clockSlot();
    }
    return clock ? clock() : std::time(nullptr);
}

void setClock(std::function<std::time_t()> clock) {
    std::lock_guard<std::mutex> lock(clockMutex());
    clockSlot() = std::move(clock);
}

void setClock(std::time_t fixedTime) {
    setClock(std::function<std::time_t()>([fixedTime] { return fixedTime; }));
}

void resetClock() { setClock(std::function<std::time_t()>()); }

bool gmtime(std::time_t t, std::tm& out) { return ::gmtime_r(&t, &out) != nullptr; }

int rand() {
    std::lock_guard<std::mutex> lock(randMutex());
    randState = randState * 214013u + 2531011u;
    return static_cast<int>((randState >> 16) & 0x7FFFu);
}

void srand(std::uint32_t seed) {
    std::lock_guard<std::mutex> lock(randMutex());
    randState = seed;
}

}  // namespace crt
