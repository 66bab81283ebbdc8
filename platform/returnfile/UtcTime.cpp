// The UTC times of the return file's CLOCK element.
#include <ctime>

#include "platform/returnfile/ReturnFileInternal.h"

namespace PersistanceMgmt {

bool ReturnFile::parseUtcTime(const std::string& text, std::time_t& out) {
    const std::string t = detail::trim(text);
    // YYYY-MM-DD, optionally followed by Thh:mm:ss and an optional Z.
    auto digits = [&](std::size_t at, std::size_t n, int& v) {
        if (at + n > t.size()) return false;
        v = 0;
        for (std::size_t i = at; i < at + n; ++i) {
            if (t[i] < '0' || t[i] > '9') return false;
            v = v * 10 + (t[i] - '0');
        }
        return true;
    };
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    if (!digits(0, 4, y) || t.size() < 10 || t[4] != '-' || !digits(5, 2, mo) || t[7] != '-' || !digits(8, 2, d)) {
        return false;
    }
    std::size_t at = 10;
    if (at < t.size()) {
        if (t.size() < 19 || t[10] != 'T' || !digits(11, 2, h) || t[13] != ':' || !digits(14, 2, mi) || t[16] != ':' ||
            !digits(17, 2, s)) {
            return false;
        }
        at = 19;
        if (at < t.size() && t[at] == 'Z') ++at;
        if (at != t.size()) return false;
    }
    if (y < 1970 || mo < 1 || mo > 12 || d < 1 || h > 23 || mi > 59 || s > 59) return false;
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    if (d > kDays[mo - 1] + (mo == 2 && leap ? 1 : 0)) return false;
    std::tm tm{};
    tm.tm_year = y - 1900;
    tm.tm_mon = mo - 1;
    tm.tm_mday = d;
    tm.tm_hour = h;
    tm.tm_min = mi;
    tm.tm_sec = s;
    out = ::timegm(&tm);
    return true;
}

std::string ReturnFile::formatUtcTime(std::time_t t) {
    std::tm tm{};
    if (::gmtime_r(&t, &tm) == nullptr) return {};
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%dT%H:%M:%SZ", &tm);
    return buf;
}

}  // namespace PersistanceMgmt