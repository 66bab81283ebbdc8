#include "host/CheckReturn.h"

#include <filesystem>
#include <iostream>
#include <optional>

#include "host/EFileRun.h"
#include "host/FederalColumnSeeds.h"
#include "host/ReturnNotes.h"
#include "host/ReviewPrintout.h"
#include "platform/Exceptions.h"

namespace GAHost {

namespace {

// "no entry is changed by the calculation", "1 entry is changed ...": an
// entry replaced, emptied or held to a limit, each told in a note.
std::string changedCount(std::size_t n) {
    if (n == 0) return "no entry is changed by the calculation";
    return std::to_string(n) + (n == 1 ? " entry is" : " entries are") + " changed by the calculation (see " +
           (n == 1 ? "the note" : "the notes") + ")";
}

std::string returnName(const std::string& input) { return std::filesystem::path(input).stem().string(); }

}  // namespace

std::optional<Settling> calculateInMemory(const ModuleLoader* module, HostSession& session, const std::string& input) {
    if (module == nullptr || session.loaded().rootElement == "RETURN") return std::nullopt;
    const CurrentSession current(session);
    Settling settling;
    try {
        // As run calculates: the e-file's preparation changes the return
        // too, so it runs here with its file going nowhere.
        ModuleCalculation calculation(*module, session, returnName(input));
        settling = settlePreparedInMemory(calculation);
    } catch (const Exceptions::QuarloException& e) {
        if (e.getOperationName() == kCalculationStopped) throw;  // told as run tells it
        throw Exceptions::QuarloException("the Georgia module cannot calculate the return: " + e.getMessage(), "gahost",
                                          "check");
    }
    refuseSeedsMissingFromTheFederalColumn(session, input);
    return settling;
}

bool reportInMemory(const ModuleLoader* module, const std::string& modulePath, HostSession& session,
                    const std::optional<Settling>& settling, std::ostream& out) {
    if (module == nullptr) {
        out << "not calculated: no Georgia module loaded (" << modulePath
            << " not found), so entries in calculated fields are not compared with the calculation\n";
        return false;
    }
    if (!settling) {
        out << "not calculated: a file of one return is only validated\n";
        return false;
    }
    const CurrentSession current(session);
    // The notes go out before the line that counts them.
    const std::size_t changed = noteCalculatedReturn(*module, session, /*onPaper=*/true);
    out << "calculated the Georgia return in memory, writing nothing: " << changedCount(changed) << '\n';
    reportUnsettled(out, *settling);
    return true;
}

void checkEFileInMemory(const ModuleLoader& module, HostSession& session, const std::string& input, std::ostream& out) {
    const CurrentSession current(session);
    try {
        ModuleCalculation calculation(module, session, returnName(input));
        settlePreparedInMemory(calculation);
        const GeorgiaReview review =
            reviewGeorgiaReturn(module, session, calculation.engine(), calculation.printer(), true);
        printEFileVerdict(out, review);
    } catch (const Exceptions::QuarloException& e) {
        throw Exceptions::QuarloException("the e-file check of the return failed: " + e.getMessage(), "gahost",
                                          "check");
    }
}

}  // namespace GAHost
