// The XML dumps of a calculated return.
#include "module/autotest/ReturnDumps.h"

#include "module/autotest/TestFiles.h"
#include "module/catalogues/Form69Lines.h"
#include "module/frame/GATaxReturn.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"
#include "platform/Managers.h"
#include "platform/util/Utils.h"

namespace StateCalculationMgmt {

namespace {

constexpr const char* kDeclaration = "<?xml version=\"1.0\" encoding=\"utf-8\"?>";

// A text in a CDATA section; a "]]>" inside it is split across two
// sections, so the document stays well-formed.
std::string cdata(const std::string& text) {
    std::string out = "<![CDATA[";
    std::size_t from = 0;
    for (std::size_t at = text.find("]]>"); at != std::string::npos; at = text.find("]]>", from)) {
        out += text.substr(from, at + 2 - from) + "]]><![CDATA[";
        from = at + 2;
    }
    return out + text.substr(from) + "]]>";
}

// A line label as element text: the free text of the form definitions may
// hold the characters that XML reserves.
std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            default:
                out += c;
        }
    }
    return out;
}

// The dump as notes name it.
std::string dumpRole(DumpLayout layout) {
    switch (layout) {
        case DumpLayout::kWholeReturn:
            return "the whole-return dump";
        case DumpLayout::kDaemon:
            return "the daemon dump";
        case DumpLayout::kFieldValues:
            break;
    }
    return "the field-values dump";
}

std::string tabs(int count) { return std::string(static_cast<std::size_t>(count), '\t'); }

void writeField(std::ostream& out, const DataMgmt::TaxReturn& taxReturn, DumpLayout layout,
                const DataMgmt::TaxFormDesc& formDesc, const DataMgmt::TaxFormPtr& copy, const FieldId& field) {
    const std::string value = *Utils::QVStringUtils::trimString(*copy->getField(field)->getValueText(true), true, true);
    if (value.empty()) {
        return;
    }
    const std::string& name = formDesc.getFieldDesc(field)->getSymbolicName();
    if (layout == DumpLayout::kFieldValues) {
        out << tabs(2) << "<FIELD NAME=\"" << name << "\">\n"
            << tabs(3) << "<VALUE>" << cdata(value) << "</VALUE>\n"
            << tabs(2) << "</FIELD>\n";
        return;
    }
    out << tabs(3) << "<FIELD>\n";
    if (layout == DumpLayout::kWholeReturn) {
        out << tabs(4) << "<ID>" << field << "</ID>\n";
    }
    out << tabs(4) << "<NAME>" << name << "</NAME>\n"
        << tabs(4) << "<LINENUM>" << escaped(taxReturn.getLineID(formDesc.getTypeID(), field)) << "</LINENUM>\n"
        << tabs(4) << "<VALUE>" << cdata(value) << "</VALUE>\n"
        << tabs(3) << "</FIELD>\n";
}

void writeCopy(std::ostream& out, const DataMgmt::TaxReturn& taxReturn, DumpLayout layout,
               const DataMgmt::TaxFormDesc& formDesc, const DataMgmt::TaxFormPtr& copy) {
    const bool upperCase = layout == DumpLayout::kFieldValues;
    out << tabs(1) << "<FORM DEVNAME=\""
        << (upperCase ? Utils::QVStringUtils::upperCased(formDesc.getDevName()) : formDesc.getDevName()) << "\" COPY=\""
        << copy->getCopyNumber() << "\">\n";
    if (layout != DumpLayout::kFieldValues) {
        out << tabs(2) << "<BUSNAME>" << cdata(formDesc.getBusinessName()) << "</BUSNAME>\n";
    }
    const DataMgmt::TaxFormDescPtr copyDesc = copy->getTaxFormDescriptor();
    for (DataMgmt::QVFieldIDIter it = copyDesc->getFieldIDs(); !it.atEOL(); it.next()) {
        writeField(out, taxReturn, layout, *copyDesc, copy, it.getFieldID());
    }
    out << tabs(1) << "</FORM>\n";
}

// The whole return, each copy of each form in display order.
void writeForms(std::ostream& out, const DataMgmt::TaxReturn& taxReturn, DumpLayout layout) {
    for (DataMgmt::TaxFormDescIter forms = taxReturn.getTaxReturnDesc()->getTaxFormDescriptorsInDisplayOrder();
         !forms.atEOL(); forms.next()) {
        const DataMgmt::TaxFormDescPtr formDesc = forms.getTaxFormDescriptor();
        for (DataMgmt::TaxFormIter copies = taxReturn.getForms(formDesc->getTypeID()); !copies.atEOL(); copies.next()) {
            writeCopy(out, taxReturn, layout, *formDesc, copies.getTaxForm());
        }
    }
}

}  // namespace

void writeReturnDocument(const DataMgmt::TaxReturn& taxReturn, DumpLayout layout, const std::string& directory,
                         const std::string& returnName, const DumpMarks& marks,
                         const std::function<void()>& recalculate) {
    TestOutput file(directory, returnName + ".xml", dumpRole(layout));
    std::ostream& out = file.stream();
    out << kDeclaration << "\n\n";
    if (layout == DumpLayout::kFieldValues) {
        out << "<RETURN>\n";
    } else {
        out << "<RETURN LABEL=\"" << BusinessMgmt::BusinessMgr::getInstance().getVersion(taxReturn.getTaxReturnDesc())
            << "\">\n"
            << "<RETURNNAME>" << cdata(returnName) << "</RETURNNAME>\n";
    }
    marks.info->setX(marks.busyMark);
    try {
        recalculate();
    } catch (...) {
        marks.info->setXNo(marks.busyMark);
        throw;
    }
    marks.info->setXNo(marks.busyMark);
    writeForms(out, taxReturn, layout);
    out << "</RETURN>\n";
    file.write();
    marks.info->setX(marks.doneMark);
}

}  // namespace StateCalculationMgmt

namespace GACalculationMgmt {

void GATaxReturnCalcEngine::writeReturnXml(std::string directory) {
    const StateCalculationMgmt::DumpMarks marks{.info = gaReturn_->getFormOrCreate(kGAForm69ID, 1),
                                                .doneMark = kForm69Lines.autoTest.done,
                                                .busyMark = kForm69Lines.autoTest.busy};
    StateCalculationMgmt::writeReturnDocument(*gaReturn_, StateCalculationMgmt::DumpLayout::kWholeReturn, directory,
                                              getReturnName(), marks, [this] { calcAllForms(); });
}

void GATaxReturnCalcEngine::writeFieldValuesXml(std::string directory) {
    const StateCalculationMgmt::DumpMarks marks{.info = gaReturn_->getFormOrCreate(kGAForm69ID, 1),
                                                .doneMark = kForm69Lines.autoTest.done,
                                                .busyMark = kForm69Lines.autoTest.busy};
    StateCalculationMgmt::writeReturnDocument(*gaReturn_, StateCalculationMgmt::DumpLayout::kFieldValues, directory,
                                              getReturnName(), marks, [this] { calculateReturn(0); });
}

}  // namespace GACalculationMgmt

namespace StateCalculationMgmt {

void StateTaxReturnCalcEngine::writeReturnXmlDump(std::string directory, DataMgmt::TaxReturn* taxReturn,
                                                  const FormId& infoForm, const FieldId& doneMark,
                                                  const FieldId& busyMark) {
    const DumpMarks marks{taxReturn->getFormOrCreate(infoForm, 1), doneMark, busyMark};
    writeReturnDocument(*taxReturn, DumpLayout::kDaemon, directory, getReturnName(), marks,
                        [this] { calculateReturn(0); });
}

}  // namespace StateCalculationMgmt
