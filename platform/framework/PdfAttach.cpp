#include "platform/framework/PdfAttach.h"

#include <algorithm>

namespace PdfAttachMgmt {

MefPdfFormIter MefPdfIntAttachLocality::getPdfIntEntireReturn() const {
    std::vector<MefPdfForm> forms = entireReturnForms;
    if (attachEntireReturn) {
        forms.emplace_back(hashTablePdfIdToUseForEntire, nameToUseForEntire, descriptionToUseForEntire);
    }
    return MefPdfFormIter(std::move(forms));
}

MefPdfFormIter MefPdfIntAttachLocality::getPdfIntFiles() const { return MefPdfFormIter(files); }

bool MefPdfIntAttachLocality::isEmpty() const {
    return entireReturnForms.empty() && files.empty() && !attachEntireReturn;
}

}  // namespace PdfAttachMgmt

namespace DataMgmt {

namespace {

std::string text(TaxReturnType type) { return std::to_string(static_cast<int>(type)); }
std::string text(bool flag) { return flag ? "1" : "0"; }

}  // namespace

void PdfAttachMgr::record(std::string operation, std::vector<std::string> arguments) {
    calls_.push_back({std::move(operation), std::move(arguments)});
}

PdfAttachMgr::Registered& PdfAttachMgr::registered(TaxReturnType type) {
    for (Registered& r : registered_) {
        if (r.type == type) {
            return r;
        }
    }
    registered_.push_back({type, {}, {}});
    return registered_.back();
}

const PdfAttachMgr::Registered* PdfAttachMgr::find(TaxReturnType type) const {
    for (const Registered& r : registered_) {
        if (r.type == type) {
            return &r;
        }
    }
    return nullptr;
}

PdfAttachMgmt::MefPdfIntAttachLocality& PdfAttachMgr::locality(TaxReturnType type, TaxReturnType locality) {
    std::vector<PdfAttachMgmt::MefPdfIntAttachLocality>& localities = registered(type).localities;
    for (PdfAttachMgmt::MefPdfIntAttachLocality& l : localities) {
        if (l.getLocality() == locality) {
            return l;
        }
    }
    localities.emplace_back(locality);
    return localities.back();
}

// ------------------------------------------------------------ write side

void PdfAttachMgr::addPdfIntAttachEntire(TaxReturnType type, TaxReturnType loc, const TaxFormDescPtr& form,
                                         std::uint16_t copy, const std::string& pdfName, const std::string& descName,
                                         const std::string& id) {
    record("addPdfIntAttachEntire",
           {text(type), text(loc), form.isNull() ? "0" : std::to_string(form->getTypeID().getNumber()),
            std::to_string(copy), pdfName, descName, id});
    locality(type, loc).entireReturnForms.emplace_back(id, pdfName, descName);
}

void PdfAttachMgr::setPdfIntFormIdToUseForEntire(TaxReturnType type, TaxReturnType loc,
                                                 const Primitives::QVImmutableFormIdentifier& form) {
    record("setPdfIntFormIdToUseForEntire", {text(type), text(loc), std::to_string(form.getNumber())});
    locality(type, loc).formIdToUseForEntire = form;
}

void PdfAttachMgr::setAttachIntEntireReturn(TaxReturnType type, TaxReturnType loc, bool attach) {
    record("setAttachIntEntireReturn", {text(type), text(loc), text(attach)});
    locality(type, loc).attachEntireReturn = attach;
}

void PdfAttachMgr::setIntSinglePdfEntireReturn(TaxReturnType type, TaxReturnType loc, bool single) {
    record("setIntSinglePdfEntireReturn", {text(type), text(loc), text(single)});
    locality(type, loc).singlePdfEntireReturn = single;
}

void PdfAttachMgr::setPdfIntNameToUseForEntire(TaxReturnType type, TaxReturnType loc, const std::string& name) {
    record("setPdfIntNameToUseForEntire", {text(type), text(loc), name});
    locality(type, loc).nameToUseForEntire = name;
}

void PdfAttachMgr::setPdfIntDescriptionToUseForEntire(TaxReturnType type, TaxReturnType loc,
                                                      const std::string& description) {
    record("setPdfIntDescriptionToUseForEntire", {text(type), text(loc), description});
    locality(type, loc).descriptionToUseForEntire = description;
}

void PdfAttachMgr::setHashTablePdfIdToUseForEntire(TaxReturnType type, TaxReturnType loc, const std::string& id) {
    record("setHashTablePdfIdToUseForEntire", {text(type), text(loc), id});
    locality(type, loc).hashTablePdfIdToUseForEntire = id;
}

void PdfAttachMgr::addPdfIntAttachFile(TaxReturnType type, TaxReturnType loc,
                                       const Primitives::QVImmutableFormIdentifier& form, std::uint16_t copy,
                                       const std::string& pdfName, const std::string& docName, const std::string& id,
                                       bool flag) {
    record("addPdfIntAttachFile", {text(type), text(loc), std::to_string(form.getNumber()), std::to_string(copy),
                                   pdfName, docName, id, text(flag)});
    locality(type, loc).files.emplace_back(id, pdfName, docName);
}

void PdfAttachMgr::addPdfExtFileDescription(TaxReturnType type, const std::string& docName, const std::string& pdfName,
                                            const std::string& id) {
    record("addPdfExtFileDescription", {text(type), docName, pdfName, id});
    registered(type).external.emplace_back(docName, pdfName, id);
}

// ------------------------------------------------------------- read side

bool PdfAttachMgr::hasIntTaxReturn(TaxReturnType type) const {
    const Registered* r = find(type);
    return r != nullptr && std::any_of(r->localities.begin(), r->localities.end(),
                                       [](const PdfAttachMgmt::MefPdfIntAttachLocality& l) { return !l.isEmpty(); });
}

bool PdfAttachMgr::hasExtTaxReturn(TaxReturnType type) const {
    const Registered* r = find(type);
    return r != nullptr && !r->external.empty();
}

PdfAttachMgmt::MefPdfIntLocalityIter PdfAttachMgr::getPdfIntLocalities(TaxReturnType type) const {
    const Registered* r = find(type);
    return PdfAttachMgmt::MefPdfIntLocalityIter(r != nullptr ? r->localities
                                                             : std::vector<PdfAttachMgmt::MefPdfIntAttachLocality>());
}

PdfAttachMgmt::MefPdfExtIter PdfAttachMgr::getPdfExtFiles(TaxReturnType type) const {
    const Registered* r = find(type);
    return PdfAttachMgmt::MefPdfExtIter(r != nullptr ? r->external : std::vector<PdfAttachMgmt::MefPdfExtAttachment>());
}

void PdfAttachMgr::clear() {
    registered_.clear();
    calls_.clear();
}

}  // namespace DataMgmt
