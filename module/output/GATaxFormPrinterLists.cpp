// The Georgia print order and the PDF attachments of the electronic return.
#include "module/catalogues/Form189216Lines.h"
#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form70Lines.h"
#include "module/catalogues/Form73Lines.h"
#include "module/frame/FormIdentifiers.h"
#include "module/frame/GATaxFormPrinter.h"
#include "module/frame/GeorgiaForms.h"
#include "module/output/SingleCopyForms.h"
#include "module/output/StateTifFileWriter.h"
#include "platform/store/TaxDataMgr.h"
#include "platform/store/TaxReturnDictionary.h"
#include "platform/util/Utils.h"

namespace GATaxFormPrintMgmt {

namespace {

// A print list has room for 80 entries: the forms, an end entry, and
// default entries after it.
constexpr std::size_t kPrintListEntries = 80;
constexpr std::uint16_t kEntryCount = 3;

// The forms of the Georgia return in their print order, each with its kind
// of entry; the list of a nonresident lacks the forms only a resident files.
std::vector<Utils::printFormInfo> printList(bool forResident) {
    std::vector<Utils::printFormInfo> list;
    for (const GAForms::GeorgiaForm& row : GAForms::kGeorgiaForms) {
        if (row.printPlace == GAForms::PrintPlace::NotPrinted || (!forResident && !row.printedForNonresident)) {
            continue;
        }
        list.push_back({row.form, static_cast<std::uint8_t>(row.printPlace), kEntryCount});
    }
    list.push_back({FormId(0), 0, kEntryCount});  // the end entry
    list.resize(kPrintListEntries);
    return list;
}

// The other state's return behind the other-state credit, as the e-file
// attaches it: its PDF name, description and hash-table identifier.
struct OtherStateReturn {
    std::string pdfName;
    std::string description;
    std::string hashTableId;
};

OtherStateReturn otherStateReturn(const std::string& state) {
    return {state + "ReturnFor_GA.pdf", state + " OSTC Return for GA", "ELOSTC" + state + "RETURNFORGA"};
}

}  // namespace

std::vector<Utils::printFormInfo> GATaxFormPrinter::fullPrintList() { return printList(true); }

std::vector<Utils::printFormInfo> GATaxFormPrinter::shortPrintList() { return printList(false); }

bool GATaxFormPrinter::getNextPrintForm0(FormId& form) { return getNextPrintForm(form, 0); }
bool GATaxFormPrinter::getNextPrintForm1(FormId& form) { return getNextPrintForm(form, 1); }
bool GATaxFormPrinter::getNextPrintForm4(FormId& form) { return getNextPrintForm(form, 4); }
bool GATaxFormPrinter::getNextPrintForm5(FormId& form) { return getNextPrintForm(form, 5); }

bool GATaxFormPrinter::getNextPrintForm(FormId& form, char selector) {
    const FormId current = form;
    if (gaReturn_ == nullptr) return false;
    const DataMgmt::TaxFormPtr info = gaReturn_->getFormUVPtr(kGAForm69ID, 1, true);
    if (info.isNull()) return false;
    // A full-year resident (box 36) or a part-year resident (box 38) may
    // claim the other-state credit, so their list holds form 73; a
    // nonresident (box 37 alone) prints without it.
    const auto& residency = kForm69Lines.residency;
    if (info->xMarked(residency.taxpayerFullYear) || info->xMarked(residency.taxpayerPartYear)) {
        return getNextForm(fullPrintList(), current, form, selector);
    }
    if (info->xMarked(residency.taxpayerNonresident)) {
        return getNextForm(shortPrintList(), current, form, selector);
    }
    return false;
}

void GATaxFormPrinter::attachFormPdfs(DataMgmt::TaxReturnType type) {
    if (gaReturn_ == nullptr) return;
    StateTaxFormPrintMgmt::FormIdList forms;
    signed char count = 0;
    signed char second = 0;
    formsToPrint(forms, count, second, 0);
    DataMgmt::PdfAttachMgr& pdfs = DataMgmt::TaxDataMgr::getInstance().getPdfAttachMgr();
    const DataMgmt::TaxReturnType georgiaType = gaReturn_->getReturnType();

    // A PDF of every copy of every form to print (the whole list, not only
    // the first 127 entries its count can tell), but copy 1 alone of a form
    // the calculation takes from copy 1 alone.
    bool mainFormListed = false;
    for (const FormId& form : forms) {
        mainFormListed = mainFormListed || form == kGAForm70ID;
        const DataMgmt::TaxFormDescPtr desc = gaReturn_->getTaxFormDescriptor(form);
        if (desc.isNull()) continue;
        for (DataMgmt::TaxFormIter it = gaReturn_->getForms(desc->getTypeID()); !it.atEOL(); it.next()) {
            const DataMgmt::TaxFormPtr copy = it.getTaxForm();
            if (copy.isNull() || GAOutput::isFurtherCopyOfSingleCopyForm(form, copy->getCopyNumber())) continue;
            const std::uint16_t number = copy->getCopyNumber();
            const std::string pdfName = DataMgmt::TaxDataMgr::getInstance()
                                            .getMefPDFFileSpec(DataMgmt::kGeorgiaReturnType, desc->getTypeID(), number)
                                            ->getShortName();
            const std::string title =
                Utils::QVStringUtils::upperCased(StateTifWriteMgmt::formatFormCopyName(pdfName, number, "X"));
            pdfs.addPdfIntAttachEntire(type, georgiaType, desc, number, pdfName, desc->getBusinessName(), title);
        }
    }
    // The main form stands for the entire return when it prints; else the
    // first form to print (a default form when nothing prints).
    const FormId entire = mainFormListed && gaReturn_->formExists(kGAForm70ID, 1) ? kGAForm70ID
                          : forms.empty()                                         ? FormId()
                                                                                  : forms.front();
    pdfs.setPdfIntFormIdToUseForEntire(type, DataMgmt::kGeorgiaReturnType, entire);
}

void GATaxFormPrinter::attachCreditPdfs(DataMgmt::TaxReturnType type) {
    if (gaReturn_ == nullptr) return;
    DataMgmt::TaxDataMgr& manager = DataMgmt::TaxDataMgr::getInstance();
    DataMgmt::PdfAttachMgr& pdfs = manager.getPdfAttachMgr();
    const DataMgmt::TaxReturnType georgiaType = gaReturn_->getReturnType();

    // The other state's return, attached whole when the store holds it.
    const std::string state = gaReturn_->getFieldAsString(kGAForm73ID, 1, kForm73Lines.stateAbbreviation);
    if (gaReturn_->getIN(kGAForm70ID, 1, kForm70Lines.credits.otherState) > 0 && !state.empty()) {
        const OtherStateReturn other = otherStateReturn(state);
        const DataMgmt::TaxReturnDescPtr otherDesc =
            DataMgmt::TaxReturnDictionary::getInstance().getTaxReturnDescriptor(state);
        const DataMgmt::TaxDataStore* store = manager.getCurrentStore();
        if (!otherDesc.isNull() && store != nullptr && store->hasTaxReturn(otherDesc->getReturnType())) {
            const DataMgmt::TaxReturnType otherType = otherDesc->getReturnType();
            pdfs.setAttachIntEntireReturn(georgiaType, otherType, true);
            pdfs.setIntSinglePdfEntireReturn(georgiaType, otherType, true);
            pdfs.setPdfIntNameToUseForEntire(georgiaType, otherType, other.pdfName);
            pdfs.setPdfIntDescriptionToUseForEntire(georgiaType, otherType, other.description);
            pdfs.setHashTablePdfIdToUseForEntire(georgiaType, otherType, other.hashTableId);
        } else {
            pdfs.addPdfExtFileDescription(georgiaType, other.description, other.pdfName, other.hashTableId);
        }
    }

    // The certificates of the credits claimed on schedule 2: two of them are
    // Georgia forms of their own, attached inside the return.
    const std::vector<PdfAttachmentEntry> table = creditPdfTable();
    const FieldId& creditCode = kForm189216Lines.code;
    for (DataMgmt::TaxFormIter it = gaReturn_->getForms(kGAForm189216ID); !it.atEOL(); it.next()) {
        const DataMgmt::TaxFormPtr copy = it.getTaxForm();
        if (copy.isNull()) continue;
        const std::uint16_t number = copy->getCopyNumber();
        if (!gaReturn_->hasSigValue(kGAForm189216ID, number, creditCode)) continue;
        const std::string code = gaReturn_->getFieldAsString(kGAForm189216ID, number, creditCode);
        for (const PdfAttachmentEntry& row : table) {
            if (row.creditCode.empty()) break;
            if (row.creditCode != code) continue;
            if (code == "124" && row.documentName == "IT-CONSV") {
                pdfs.addPdfIntAttachFile(georgiaType, type, kGAForm203639ID, 1, row.pdfFileName, row.documentName,
                                         row.hashTableId, true);
            } else if (code == "136") {
                pdfs.addPdfIntAttachFile(georgiaType, type, kGAForm203638ID, 1, row.pdfFileName, row.documentName,
                                         row.hashTableId, true);
            } else {
                pdfs.addPdfExtFileDescription(georgiaType, row.documentName, row.pdfFileName, row.hashTableId);
            }
        }
    }
}

std::vector<PdfAttachmentEntry> GATaxFormPrinter::creditPdfTable() {
    return {
        {"101", "IT-BE", "ITBE.pdf", "ELGAITBEPDF"},
        {"102", "IT-RC 2009", "ITRC2009.pdf", "ELGAITRC2009PDF"},
        {"103", "IT-CA", "ITCA.pdf", "ELGAITCAPDF"},
        {"104", "IT-CCC100", "ITCCC100.pdf", "ELGAITCCC100PDF"},
        {"105", "IT-CCC75", "ITCCC75.pdf", "ELGAITCCC75PDF"},
        {"106", "IT-IC", "ITIC.pdf", "ELGAITICPDF"},
        {"106", "IT-APP", "ITAPP.pdf", "ELGAITAPPPDF"},
        {"107", "IT-OIC", "ITOIC.pdf", "ELGAITOICPDF"},
        {"107", "OIT-APP", "OITAPP.pdf", "ELGAITAPPPDF"},
        {"109", "IT-HC, Low Income Housing Credit", "ITHC.pdf", "ELGAITHCPDF"},
        {"112", "IT-RD 2009", "ITRD2009.pdf", "ELGAITRD2009PDF"},
        {"113", "IT-HQ", "ITHQ.pdf", "ELGAITHQPDF"},
        {"121", "IT-RHC, Historic Rehabilitation Credit for Historic Homes", "ITRHC.pdf", "ELGAITRHCPDF"},
        {"122", "IT-FC", "ITFC.pdf", "ELGAITFCPDF"},
        {"124", "IT-CONSV", "ITCONSV.pdf", "ELGAITCONSVPDF"},
        {"124", "IT-CONSV-AP", "ITCONSVAP.pdf", "ELGAITCONSVAPPDF"},
        {"125", "IT-QEE-SS01", "ITQEESS01.pdf", "ELGAITQEESS01PDF"},
        {"126", "IT-SCF", "ITSCF.pdf", "ELGAITSCFPDF"},
        {"127", "IT-CEP", "ITCEP.pdf", "ELGAITCEPPDF"},
        {"129", "IT-QHIE", "ITQHIE.pdf", "ELGAITQHIEPDF"},
        {"130", "IT-QJ", "ITQJ.pdf", "ELGAITQJPDF"},
        {"132", "IT-QI", "ITQI.pdf", "ELGAITQIPDF"},
        {"133", "IT-QIEPC", "ITQIEPC.pdf", "ELGAITQIEPCPDF"},
        {"134", "IT-AFV, Alt. Fuel Heavy & Medium-Duty Vehicle Tax Credit", "ITAFV.pdf", "ELGAITAFVPDF"},
        {"135", "IT-RHC-2017", "ITRHC2017.pdf", "ELGAITRHC2017PDF"},
        {"136", "IT-QRHOE-TP2, Qualified Rural Hospital Org. Expense Tax Credit", "ITQRHOETP2.pdf",
         "ELGAITQRHOETP2PDF"},
        {"137", "IT-QPJ, Qualified Parolee Jobs Tax Credit", "ITQPJ.pdf", "ELGAITQPJPDF"},
        {"138", "IT-PFC", "ITPFC.pdf", "ELGAITPFCPDF"},
        {"139", "IT-PFC", "ITPFC.pdf", "ELGAITPFCPDF"},
        {"140", "IT-QED-TP2", "ITQEDTP2.pdf", "ELGAITQEDTP2PDF"},
        {"141", "IT-MC", "ITMC.pdf", "ELGAITMCPDF"},
        {"142", "IT-RZ", "ITRZ.pdf", "ELGAITRZPDF"},
        {"143", "IT-ARJ", "ITARJ.pdf", "ELGAITARJPDF"},
        {"", "", "", ""},
    };
}

}  // namespace GATaxFormPrintMgmt
