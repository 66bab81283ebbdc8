// The two PDF sections of the e-file: the PDF form list (one sub-record per
// attachment with its identifier, file name and description) and the hash
// table (sub-records of up to 25 entries pairing each attachment's element
// or hash-table identifier with its PDF identifier). Both walk the host's
// register in one order, so an attachment has the same number in both.
#include <functional>

#include "module/output/StateTifFileWriter.h"
#include "platform/store/TaxDataMgr.h"
#include "platform/util/Utils.h"

namespace StateTifWriteMgmt {

namespace {

constexpr unsigned kEntriesPerHashRecord = 25;
constexpr unsigned kHashLineStep = 5;

// One listed attachment: its element identifier (an internal attachment) or
// hash-table identifier (an external one), its file name and description.
struct ListedPdf {
    const std::string& id;
    const std::string& fileName;
    const std::string& description;
};

// Walks the attachments of a return type: locality by locality the forms of
// the entire return (those without an element identifier are passed over),
// then the attached files; then the external attachments.
void forEachAttachment(DataMgmt::TaxReturnType type, const std::function<void(const ListedPdf&)>& visit) {
    const DataMgmt::PdfAttachMgr& register_ = DataMgmt::TaxDataMgr::getInstance().getPdfAttachMgr();
    if (register_.hasIntTaxReturn(type)) {
        for (PdfAttachMgmt::MefPdfIntLocalityIter localities = register_.getPdfIntLocalities(type); !localities.atEOL();
             localities.next()) {
            const PdfAttachMgmt::MefPdfIntAttachLocality& locality = localities.getMefPdfIntAttachLocality();
            for (PdfAttachMgmt::MefPdfFormIter forms = locality.getPdfIntEntireReturn(); !forms.atEOL(); forms.next()) {
                const PdfAttachMgmt::MefPdfForm& form = forms.getMefPdfIntForm();
                if (!form.getElementID().empty()) {
                    visit({form.getElementID(), form.getPdfName(), form.getDescription()});
                }
            }
            for (PdfAttachMgmt::MefPdfFormIter files = locality.getPdfIntFiles(); !files.atEOL(); files.next()) {
                const PdfAttachMgmt::MefPdfForm& file = files.getMefPdfIntForm();
                visit({file.getElementID(), file.getPdfName(), file.getDescription()});
            }
        }
    }
    if (register_.hasExtTaxReturn(type)) {
        for (PdfAttachMgmt::MefPdfExtIter external = register_.getPdfExtFiles(type); !external.atEOL();
             external.next()) {
            const PdfAttachMgmt::MefPdfExtAttachment& a = external.getMefPdfExtAttachments();
            visit({a.getHashTblPdfId(), a.getOfficialFileName(), a.getName()});
        }
    }
}

std::string pdfIdentifier(const std::string& prefix, unsigned number) {
    return prefix + Utils::nStr(static_cast<double>(number));
}

}  // namespace

void StateTifFileWriter::outputPdfHashTable() {
    const std::string code = stateCode();
    const std::string tableName = code + "HASHTBL";
    const std::string prefix = code + "PdfForm";
    outputPdfFormList(prefix);

    unsigned count = 0;
    unsigned subRecord = 0;
    unsigned line = 0;
    forEachAttachment(stateReturn->getReturnType(), [&](const ListedPdf& pdf) {
        ++count;
        if (count % kEntriesPerHashRecord == 1) {
            ++subRecord;
            outputTifSubHead(tableName, static_cast<std::uint16_t>(subRecord), false);
            line = 0;
        }
        line += kHashLineStep;
        const std::string digits = Utils::xstrPadLeftZeros(line, 5);
        outputTifLine(digits + ".001 001", pdf.id, false);
        outputTifLine(digits + ".002 001", pdfIdentifier(prefix, count), false);
    });
}

void StateTifFileWriter::outputPdfFormList(std::string prefix) {
    const std::string code = stateCode();
    const std::string listName = code + code + "PDFFRM";
    unsigned number = 0;
    forEachAttachment(stateReturn->getReturnType(), [&](const ListedPdf& pdf) {
        ++number;
        outputTifSubHead(listName, static_cast<std::uint16_t>(number), false);
        outputTifLine("00001.000 001", pdfIdentifier(prefix, number), false);
        outputTifLine("00010.000 001", pdf.fileName, false);
        outputTifLine("00020.000 001", pdf.description, false);
    });
}

}  // namespace StateTifWriteMgmt
