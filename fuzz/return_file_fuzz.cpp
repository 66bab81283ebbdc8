// libFuzzer target of the return-file reader: any bytes are either refused
// with a QuarloException or read into contents that write back and read back
// identically. Anything else (a crash, a sanitizer report, another exception,
// a difference) stops the fuzzer with the input that caused it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/Exceptions.h"
#include "platform/definitions/FormDefinitions.h"
#include "platform/returnfile/ReturnFile.h"

namespace {

const FormDefinitions::Library& library() {
    static const FormDefinitions::Library lib = FormDefinitions::loadDirectory(GA_FUZZ_FORMS_DIR);
    return lib;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const PersistanceMgmt::ReturnDescriptions descriptions{library().federal.get(), library().georgia.get()};
    const std::string document(reinterpret_cast<const char*>(data), size);
    std::string written;
    try {
        written = PersistanceMgmt::ReturnFile::serialize(
            PersistanceMgmt::ReturnFile::parse(document, "fuzz.xml", descriptions));
    } catch (const Exceptions::QuarloException&) {
        return 0;  // refused
    }
    const std::string again = PersistanceMgmt::ReturnFile::serialize(
        PersistanceMgmt::ReturnFile::parse(written, "written.xml", descriptions));
    if (again != written) std::abort();
    return 0;
}
