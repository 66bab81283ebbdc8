// One session of the command-line host: the form definitions, the shared
// string pool, the federal return and the Georgia return, and the return file
// they were loaded from.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "host/ModuleLoader.h"
#include "platform/definitions/FormDefinitions.h"
#include "platform/returnfile/ReturnFile.h"
#include "platform/store/DataMgmt.h"
#include "platform/store/StateDataMgmt.h"
#include "platform/store/StringPool.h"

namespace GAHost {

// The Georgia return as the host holds it while no Georgia module is loaded:
// it keeps the Georgia forms and the seeded answers so that a return file can
// be checked and written back. Every calculation needs the module.
using StateReturnWithoutModule = StateDataMgmt::PlainStateTaxReturn;

class HostSession {
public:
    // Loads the form definitions of both returns from the directory (an
    // empty name: the process's default definitions, see
    // FormDefinitions::loadDefault).
    explicit HostSession(const std::string& formsDir);
    // On definitions loaded already (another session's).
    explicit HostSession(FormDefinitions::Library library);
    ~HostSession();
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    const FormDefinitions::Library& library() const { return library_; }

    // Makes the federal return and the Georgia return: the module's Georgia
    // return when a module is given, else a StateReturnWithoutModule. The
    // module must stay loaded as long as the session lives.
    void openReturns(const ModuleLoader* module);

    // Loads a return file into the open returns (nothing changes when the
    // file is refused). A file that lacks a part gahost needs (see
    // missingParts) is refused too, except, with singleReturn, a file of one
    // return (root <RETURN>, as the module's whole-return dump writes it),
    // which is only validated. Throws Exceptions::QuarloException.
    const PersistanceMgmt::ReturnFileContents& load(const std::string& path, bool singleReturn = false);

    // Puts contents read before (another session's, or a changed copy of
    // them) into the open returns, as load does after reading a file.
    void apply(PersistanceMgmt::ReturnFileContents contents);

    // Writes the returns back in the return-file layout (temporary file,
    // renamed into place).
    void save(const std::string& path) const;

    DataMgmt::TaxReturnPtr& federal() { return federal_; }
    DataMgmt::TaxReturnPtr& georgia() { return georgia_; }
    StateDataMgmt::StateTaxReturn* georgiaState() const { return georgiaState_; }
    DataMgmt::TaxDataStore& store() { return store_; }
    const PersistanceMgmt::ReturnFileContents& loaded() const { return loaded_; }

private:
    FormDefinitions::Library library_;
    Utils::StringPoolPtr pool_;
    DataMgmt::TaxReturnPtr federal_;
    DataMgmt::TaxReturnPtr georgia_;
    StateDataMgmt::StateTaxReturn* georgiaState_ = nullptr;
    DataMgmt::TaxDataStore store_;
    PersistanceMgmt::ReturnFileContents loaded_;
};

}  // namespace GAHost
