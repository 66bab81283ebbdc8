// The host's data manager, its user-interface bridge and its e-file manager.
//
// DataMgmt::TaxDataMgr is one process-wide object; TaxDataMgrHandle is the
// name under which the review reaches the same object. It answers whether a
// user interface is attached (none by default: a command-line run has none)
// and gives the e-file manager, whose answers the host or a test sets, and
// the current data store with its register of PDF attachments.
//
// Defaults (reset() restores them):
//   getUserInterface        null (no user interface attached)
//   getCurFileReturnType    12, the Georgia return
//   getStateResEfileType    0 for every return type
#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include "platform/store/DataMgmt.h"
#include "platform/store/Descriptions.h"
#include "platform/util/IOMgmt.h"

namespace UIBridgeMgmt {

// The host's user-interface bridge, as the review asks it.
class UserInterface {
public:
    virtual ~UserInterface() = default;
    // Whether every finding is to be recorded with a fired or not-fired mark
    // (the answer set by setMarksFindings; false by default). Counts the
    // questions asked.
    virtual bool marksFindings();

    void setMarksFindings(bool marks) { marksFindings_ = marks; }
    int marksFindingsCalls() const { return marksFindingsCalls_; }

private:
    bool marksFindings_ = false;
    int marksFindingsCalls_ = 0;
};

}  // namespace UIBridgeMgmt

namespace EFileMgmt {

class EFileMgrHandle {
public:
    // The type of the return being e-filed now.
    int getCurFileReturnType() const { return curFileReturnType_; }
    // How the state of the given return type e-files returns by residency
    // (0 to 3, as the host numbers them).
    int getStateResEfileType(int returnType) const;

    void setCurFileReturnType(int type) { curFileReturnType_ = type; }
    void setStateResEfileType(int returnType, int kind) { stateResEfileTypes_[returnType] = kind; }
    void reset();

private:
    int curFileReturnType_ = DataMgmt::kGeorgiaReturnType;
    std::map<int, int> stateResEfileTypes_;
};

}  // namespace EFileMgmt

namespace DataMgmt {

class TaxDataStore;
class TaxDataStoreHandle;
class TaxReturnHandle;

// One recorded call of the data manager's interview services.
struct InterviewServiceCall {
    enum class Service : std::uint8_t {
        FinishInterview,  // finishInterview(first, second)
        UpdateState,      // updateState(store, return)
    };
    Service service = Service::FinishInterview;
    int first = 0;  // FinishInterview: the two arguments
    int second = 0;
    TaxDataStore* store = nullptr;                  // UpdateState: the store handle's store
    TaxReturnType returnType = kFederalReturnType;  // and the return handle's type
    bool returnPresent = false;                     // whether the return handle held a return
};

class TaxDataMgr {
public:
    static TaxDataMgr& getInstance();

    // The attached user interface, or null when there is none. Not owned.
    UIBridgeMgmt::UserInterface* getUserInterface() const { return userInterface_; }
    void setUserInterface(UIBridgeMgmt::UserInterface* ui) { userInterface_ = ui; }
    EFileMgmt::EFileMgrHandle& getEFileMgrHandle() { return eFileMgr_; }

    // The store the user is working on (not owned); null when none is open.
    // The command-line host sets it once the returns are in the store and
    // clears it before the store goes.
    void setCurrentStore(TaxDataStore* store) { store_ = store; }
    TaxDataStore* getCurrentStore() const { return store_; }
    // The PDF register of the current store. Throws
    // Exceptions::QuarloException when no store is current.
    PdfAttachMgr& getPdfAttachMgr() const;
    // The PDF of one copy of a form of an electronic return:
    // "<form number>_<copy>.pdf" in the configured e-file directory. The
    // first argument is the host's kind of file and does not change the name.
    IOMgmt::FileNamePtr getMefPDFFileSpec(int kind, const Primitives::QVImmutableFormIdentifier& form,
                                          std::uint16_t copy) const;

    // Back to the defaults above.
    void reset();

    // Services of the interview. The data manager of this host has no
    // interview of its own to drive: it records each call of the two services
    // (reset() forgets them) and gives the store handle.
    TaxDataStoreHandle getStoreHandle(TaxDataStore& store);
    // The user finished the state interview.
    void finishInterview(int first, int second);
    // The state module asks for its program updates.
    void updateState(TaxDataStoreHandle& store, TaxReturnHandle& taxReturn);
    const std::vector<InterviewServiceCall>& interviewServiceCalls() const { return interviewCalls_; }

    TaxDataMgr(const TaxDataMgr&) = delete;
    TaxDataMgr& operator=(const TaxDataMgr&) = delete;

private:
    TaxDataMgr() = default;

    std::vector<InterviewServiceCall> interviewCalls_;
    UIBridgeMgmt::UserInterface* userInterface_ = nullptr;
    EFileMgmt::EFileMgrHandle eFileMgr_;
    TaxDataStore* store_ = nullptr;
};

// The review's name for the data manager: the same object.
using TaxDataMgrHandle = TaxDataMgr;

}  // namespace DataMgmt
