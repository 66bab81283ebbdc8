#include "host/HostSession.h"

#include <utility>

#include "host/ReturnRequirements.h"
#include "platform/Exceptions.h"

namespace GAHost {

HostSession::HostSession(const std::string& formsDir)
    : HostSession(FormDefinitions::loadDirectoryOrDefault(formsDir)) {}

HostSession::HostSession(FormDefinitions::Library library)
    : library_(std::move(library)), pool_(new Utils::StringPool()) {}

HostSession::~HostSession() {
    // The store's handles go first, then the Georgia return (which holds the
    // federal return), then the federal return.
    store_.removeTaxReturn(DataMgmt::kGeorgiaReturnType);
    store_.removeTaxReturn(DataMgmt::kFederalReturnType);
    georgiaState_ = nullptr;
    georgia_ = DataMgmt::TaxReturnPtr();
    federal_ = DataMgmt::TaxReturnPtr();
}

void HostSession::openReturns(const ModuleLoader* module) {
    federal_ = DataMgmt::TaxReturnPtr(new DataMgmt::USTaxReturn(library_.federal, pool_));
    if (module != nullptr) {
        DataMgmt::TaxReturn* created = nullptr;
        const int status = module->createTaxReturnInstance()(federal_, library_.georgia, pool_, &created);
        if (status != 0 || created == nullptr) {
            delete created;
            throw Exceptions::QuarloException(
                "the Georgia module did not create a Georgia return (status " + std::to_string(status) + ")",
                "HostSession", "openReturns");
        }
        georgia_ = DataMgmt::TaxReturnPtr(created);
        georgiaState_ = dynamic_cast<StateDataMgmt::StateTaxReturn*>(created);
        if (georgiaState_ == nullptr) {
            throw Exceptions::QuarloException("the Georgia module created a return that is not a state return",
                                              "HostSession", "openReturns");
        }
    } else {
        auto* plain = new StateReturnWithoutModule(federal_, library_.georgia, pool_);
        georgia_ = DataMgmt::TaxReturnPtr(plain);
        georgiaState_ = plain;
    }
    store_.setTaxReturn(DataMgmt::kFederalReturnType, federal_);
    store_.setTaxReturn(DataMgmt::kGeorgiaReturnType, georgia_);
}

const PersistanceMgmt::ReturnFileContents& HostSession::load(const std::string& path, bool singleReturn) {
    if (federal_.isNull() || georgiaState_ == nullptr) {
        throw Exceptions::QuarloException("no returns are open", "HostSession", "load");
    }
    // Read and check the whole file before anything reaches the returns.
    PersistanceMgmt::ReturnFileContents contents = PersistanceMgmt::ReturnFile::read(
        path, {federal_->getTaxReturnDesc().get(), georgiaState_->getTaxReturnDesc().get()});
    const std::vector<std::string> missing =
        singleReturn && contents.rootElement == "RETURN" ? std::vector<std::string>() : missingParts(contents, path);
    if (!missing.empty()) {
        std::string message;
        for (const std::string& line : missing) message += (message.empty() ? "" : "\n") + line;
        throw Exceptions::QuarloException(message, "HostSession", "load");
    }
    PersistanceMgmt::ReturnFile::apply(contents, federal_.get(), georgiaState_);
    loaded_ = std::move(contents);
    return loaded_;
}

void HostSession::apply(PersistanceMgmt::ReturnFileContents contents) {
    if (federal_.isNull() || georgiaState_ == nullptr) {
        throw Exceptions::QuarloException("no returns are open", "HostSession", "apply");
    }
    PersistanceMgmt::ReturnFile::apply(contents, federal_.get(), georgiaState_);
    loaded_ = std::move(contents);
}

void HostSession::save(const std::string& path) const {
    PersistanceMgmt::ReturnFile::save(path, federal_.get(), georgiaState_, &loaded_);
}

}  // namespace GAHost
