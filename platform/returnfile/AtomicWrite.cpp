// Writing a return file so that it is either the old or the new file: the
// host's staged write (platform/util/IOMgmtStaging.h), which also puts the
// saved return of gahost run into the run's output batch.
#include "platform/returnfile/ReturnFile.h"
#include "platform/util/IOMgmtStaging.h"

namespace PersistanceMgmt {

void ReturnFile::writeAtomically(const std::string& path, const std::string& bytes) {
    IOMgmt::writeFileAtomically(path, bytes);
}

}  // namespace PersistanceMgmt
