// The host's register of the PDF attachments of electronic returns
// (DataMgmt::PdfAttachMgr) and its records and iterators (PdfAttachMgmt).
//
// The printer registers attachments through the write side; the e-file
// writer lists them through the read side. Every write call is kept
// verbatim in a call log and projected into the read model, which is kept by
// the first return type of the call (the return the attachments belong to):
//   - addPdfIntAttachEntire(T, L, ...) adds a form of the entire return to
//     locality L of T (element identifier, PDF name, description);
//   - addPdfIntAttachFile(T, L, ...) adds an attached file to locality L of
//     T (identifier, PDF name, document name as its description);
//   - setAttachIntEntireReturn(T, L, true) attaches the whole return of
//     locality L to T: the locality's forms of the entire return then end
//     with one form made of the settings setPdfIntNameToUseForEntire,
//     setPdfIntDescriptionToUseForEntire and setHashTablePdfIdToUseForEntire
//     (its element identifier is the hash-table identifier);
//   - setPdfIntFormIdToUseForEntire and setIntSinglePdfEntireReturn are kept
//     as settings of the locality and add no item;
//   - addPdfExtFileDescription(T, ...) adds an external attachment of T.
// Localities and items are walked in the order of their first registration,
// the same order on every walk. Repeated registrations are all kept.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Primitives.h"
#include "platform/store/Descriptions.h"

namespace PdfAttachMgmt {

// One PDF of an internal attachment: a form of the entire return or an
// attached file.
class MefPdfForm {
public:
    MefPdfForm(std::string elementID, std::string pdfName, std::string description)
        : elementID_(std::move(elementID)), pdfName_(std::move(pdfName)), description_(std::move(description)) {}
    const std::string& getElementID() const { return elementID_; }
    const std::string& getPdfName() const { return pdfName_; }
    const std::string& getDescription() const { return description_; }

private:
    std::string elementID_;
    std::string pdfName_;
    std::string description_;
};

// An attachment described for the e-file but not sent with it.
class MefPdfExtAttachment {
public:
    MefPdfExtAttachment(std::string name, std::string officialFileName, std::string hashTblPdfId)
        : name_(std::move(name)),
          officialFileName_(std::move(officialFileName)),
          hashTblPdfId_(std::move(hashTblPdfId)) {}
    const std::string& getName() const { return name_; }
    const std::string& getOfficialFileName() const { return officialFileName_; }
    const std::string& getHashTblPdfId() const { return hashTblPdfId_; }

private:
    std::string name_;
    std::string officialFileName_;
    std::string hashTblPdfId_;
};

// A walk over a list kept by the manager (a snapshot taken when the walk
// starts).
template <class Item>
class PdfIter {
public:
    PdfIter() = default;
    explicit PdfIter(std::vector<Item> items) : items_(std::move(items)) {}
    bool atEOL() const { return position_ >= items_.size(); }
    void next() {
        if (!atEOL()) ++position_;
    }
    const Item& current() const { return items_.at(position_); }

private:
    std::vector<Item> items_;
    std::size_t position_ = 0;
};

class MefPdfFormIter : public PdfIter<MefPdfForm> {
public:
    using PdfIter::PdfIter;
    const MefPdfForm& getMefPdfIntForm() const { return current(); }
};

// The internal attachments of one locality (a return type).
class MefPdfIntAttachLocality {
public:
    explicit MefPdfIntAttachLocality(DataMgmt::TaxReturnType locality) : locality_(locality) {}

    DataMgmt::TaxReturnType getLocality() const { return locality_; }
    MefPdfFormIter getPdfIntEntireReturn() const;
    MefPdfFormIter getPdfIntFiles() const;
    bool isEmpty() const;

    // Settings of the locality's entire-return PDF.
    Primitives::QVImmutableFormIdentifier formIdToUseForEntire{0};
    bool attachEntireReturn = false;
    bool singlePdfEntireReturn = false;
    std::string nameToUseForEntire;
    std::string descriptionToUseForEntire;
    std::string hashTablePdfIdToUseForEntire;

    std::vector<MefPdfForm> entireReturnForms;
    std::vector<MefPdfForm> files;

private:
    DataMgmt::TaxReturnType locality_;
};

class MefPdfIntLocalityIter : public PdfIter<MefPdfIntAttachLocality> {
public:
    using PdfIter::PdfIter;
    const MefPdfIntAttachLocality& getMefPdfIntAttachLocality() const { return current(); }
};

class MefPdfExtIter : public PdfIter<MefPdfExtAttachment> {
public:
    using PdfIter::PdfIter;
    const MefPdfExtAttachment& getMefPdfExtAttachments() const { return current(); }
};

}  // namespace PdfAttachMgmt

namespace DataMgmt {

class PdfAttachMgr {
public:
    // One write call, as given: the operation's name and its arguments as
    // texts in argument order (types and numbers in decimal, a form
    // descriptor or form by its number, a flag as 0 or 1).
    struct Call {
        std::string operation;
        std::vector<std::string> arguments;
    };

    // ---- write side (argument orders as the host's)
    void addPdfIntAttachEntire(TaxReturnType type, TaxReturnType locality, const TaxFormDescPtr& form,
                               std::uint16_t copy, const std::string& pdfName, const std::string& descName,
                               const std::string& id);
    void setPdfIntFormIdToUseForEntire(TaxReturnType type, TaxReturnType locality,
                                       const Primitives::QVImmutableFormIdentifier& form);
    void setAttachIntEntireReturn(TaxReturnType type, TaxReturnType locality, bool attach);
    void setIntSinglePdfEntireReturn(TaxReturnType type, TaxReturnType locality, bool single);
    void setPdfIntNameToUseForEntire(TaxReturnType type, TaxReturnType locality, const std::string& name);
    void setPdfIntDescriptionToUseForEntire(TaxReturnType type, TaxReturnType locality, const std::string& description);
    void setHashTablePdfIdToUseForEntire(TaxReturnType type, TaxReturnType locality, const std::string& id);
    void addPdfIntAttachFile(TaxReturnType type, TaxReturnType locality,
                             const Primitives::QVImmutableFormIdentifier& form, std::uint16_t copy,
                             const std::string& pdfName, const std::string& docName, const std::string& id, bool flag);
    void addPdfExtFileDescription(TaxReturnType type, const std::string& docName, const std::string& pdfName,
                                  const std::string& id);

    // ---- read side
    bool hasIntTaxReturn(TaxReturnType type) const;  // a locality of the type holds an item
    bool hasExtTaxReturn(TaxReturnType type) const;  // the type has an external attachment
    PdfAttachMgmt::MefPdfIntLocalityIter getPdfIntLocalities(TaxReturnType type) const;
    PdfAttachMgmt::MefPdfExtIter getPdfExtFiles(TaxReturnType type) const;

    const std::vector<Call>& calls() const { return calls_; }
    // Forgets every registration (the host clears the register between runs).
    void clear();

private:
    struct Registered {
        TaxReturnType type;
        std::vector<PdfAttachMgmt::MefPdfIntAttachLocality> localities;
        std::vector<PdfAttachMgmt::MefPdfExtAttachment> external;
    };

    Registered& registered(TaxReturnType type);
    const Registered* find(TaxReturnType type) const;
    PdfAttachMgmt::MefPdfIntAttachLocality& locality(TaxReturnType type, TaxReturnType locality);
    void record(std::string operation, std::vector<std::string> arguments);

    std::vector<Registered> registered_;
    std::vector<Call> calls_;
};

}  // namespace DataMgmt
