#include "module/frame/SourceDocumentLink.h"

#include <charconv>
#include <system_error>

#include "platform/util/Utils.h"

namespace GADataMgmt {

bool parseSourceDocumentLink(const std::string& text, int& form, int& copy, int& entry) {
    const std::string link = Utils::strip(text);
    int* parts[3] = {&form, &copy, &entry};
    const char* p = link.data();
    const char* const end = link.data() + link.size();
    for (int i = 0; i < 3; ++i) {
        if (i > 0) {
            if (p == end || *p != '/') {
                return false;
            }
            ++p;
        }
        const auto [next, error] = std::from_chars(p, end, *parts[i]);
        if (error != std::errc() || next == p) {
            return false;
        }
        p = next;
    }
    return p == end;
}

}  // namespace GADataMgmt
