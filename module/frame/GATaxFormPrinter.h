// The Georgia form printer: the host's state printer layer on the Georgia
// return. It decides how each field of a Georgia form prints (dates, upper
// case, normalised numbers), walks the Georgia forms in their print order
// (which depends on the residency boxes of the information form), and
// registers the PDF attachments of the electronic return: a PDF of every
// copy to print, the form that stands for the entire return, the other
// state's return behind the other-state credit and the certificates of the
// credits claimed on schedule 2.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "module/frame/GATaxReturn.h"
#include "platform/framework/TaxFormPrinter.h"

namespace GATaxFormPrintMgmt {

using FormId = Primitives::QVImmutableFormIdentifier;
using FieldId = Primitives::QVImmutableIdentifier;

// One certificate of a Georgia credit: the schedule 2 credit code it belongs
// to, and the document, file and hash-table names it is registered under.
struct PdfAttachmentEntry {
    std::string creditCode;
    std::string documentName;
    std::string pdfFileName;
    std::string hashTableId;
};

class GATaxFormPrinter : public StateTaxFormPrintMgmt::StateTaxFormPrinter {
public:
    // Built on the Georgia return, which the state layer and this layer both
    // keep (not owned). A null return makes a printer that prints nothing:
    // its print texts stay as they are and its lists are empty.
    explicit GATaxFormPrinter(GADataMgmt::GATaxReturn* gaReturn)
        : StateTaxFormPrintMgmt::StateTaxFormPrinter(gaReturn), gaReturn_(gaReturn) {}
    ~GATaxFormPrinter() override = default;

    GADataMgmt::GATaxReturn* getGATaxReturn() const { return gaReturn_; }

    // ---- print values
    // The copy's print flag; Georgia adds no rule of its own.
    bool shouldPrintCopy(const FormId& form, std::uint16_t copy, int purpose) override;
    // Rewrites the print text of a field of a copy: dates as MM-DD-YYYY
    // (MM-DD-YY for an eight-character date field), then by form and field
    // kind texts in upper case and numbers without blanks and commas, padded
    // back to their width (with ".00" on the payment forms). A copy that does
    // not exist, or a date that cannot be read, leaves the text as it is.
    void formatPrintField(std::string& text, const FormId& form, std::uint16_t copy, const FieldId& field) override;
    // Georgia prints no short date of its own: the text stays as it is.
    void adjustFTPrintedDate(char* text, std::size_t cap, std::uint8_t editCode) override;
    void normalizeNumericText(std::string& text, bool removeCommas, bool appendCents, bool removeDashes) const;
    std::string& upperCaseInPlace(std::string& text) const;

    // ---- print order: the form after `form` (form 0 for the first), by the
    // list selector 0, 1, 4 or 5; false at the end of the list, or when no
    // residency box of the information form is marked. Asking creates copy 1
    // of the information form when it is missing.
    bool getNextPrintForm0(FormId& form) override;
    bool getNextPrintForm1(FormId& form) override;
    bool getNextPrintForm4(FormId& form) override;
    bool getNextPrintForm5(FormId& form) override;
    bool getNextPrintForm(FormId& form, char selector);
    // The print order of a full-year or part-year return (28 forms, with
    // the other-state credit form 73), and of a nonresident one (27,
    // without): form 69 box 36 or 38 marked, or box 37 alone.
    static std::vector<Utils::printFormInfo> fullPrintList();
    static std::vector<Utils::printFormInfo> shortPrintList();

    // ---- PDF attachments, registered with the current store's register
    void attachFormPdfs(DataMgmt::TaxReturnType type) override;
    void attachCreditPdfs(DataMgmt::TaxReturnType type) override;
    // The credit certificates, ending with a row of empty texts.
    static std::vector<PdfAttachmentEntry> creditPdfTable();

protected:
    GADataMgmt::GATaxReturn* gaReturn_;  // not owned; may be null
};

}  // namespace GATaxFormPrintMgmt
