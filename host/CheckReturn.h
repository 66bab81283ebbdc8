// gahost check's calculations, in memory and writing nothing: the return
// settled as gahost run settles it, with the notes of what the calculation
// changed, and the e-file's verdict with every reason gahost run --efile
// gives.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "host/HostSession.h"
#include "host/ModuleLoader.h"
#include "host/SettleReturn.h"

namespace GAHost {

// The loaded return calculated through the module, in memory, as run
// calculates it, and refused as run refuses it (a seed that the part-year
// schedule's federal column leaves out): throws Exceptions::QuarloException,
// before anything about the return is printed. None without a module, or
// for a file of one return (which holds no federal return to calculate
// from). `input` is the return file (its stem names the return).
std::optional<Settling> calculateInMemory(const ModuleLoader* module, HostSession& session, const std::string& input);

// What calculateInMemory found: the notes (of the preparer's gaps and of
// each entry the calculation changes), then a line that counts the changed
// entries and, when the return did not settle, a line that says so. Without
// a calculation it says why none was made: false.
bool reportInMemory(const ModuleLoader* module, const std::string& modulePath, HostSession& session,
                    const std::optional<Settling>& settling, std::ostream& out);

// The e-file's verdict of a session loaded as e-filed: calculated as run
// --efile calculates it, then the e-file check, printed as check prints it.
void checkEFileInMemory(const ModuleLoader& module, HostSession& session, const std::string& input, std::ostream& out);

}  // namespace GAHost
