// The field-name lists: the symbolic names of the fields of every form of
// the Georgia return, or of one form named by its dev name, one a line.
#include "module/autotest/ReturnDumps.h"
#include "module/autotest/TestFiles.h"
#include "module/catalogues/Form69Lines.h"
#include "module/frame/GATaxReturn.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"

namespace GACalculationMgmt {

namespace {

void writeFieldNames(std::ostream& out, const DataMgmt::TaxFormDescPtr& formDesc) {
    if (formDesc.isNull()) {
        return;
    }
    for (DataMgmt::QVFieldIDIter it = formDesc->getFieldIDs(); !it.atEOL(); it.next()) {
        out << formDesc->getFieldDesc(it.getFieldID())->getSymbolicName() << '\n';
    }
}

}  // namespace

void GATaxReturnCalcEngine::writeAllFieldNames(std::string fileName, std::string directory) {
    DataMgmt::TaxFormPtr info = gaReturn_->getFormOrCreate(kGAForm69ID, 1);
    StateCalculationMgmt::TestOutput file(directory, fileName, "the list of all field names");
    // Every form, with copies or without.
    for (DataMgmt::TaxFormDescIter forms = gaReturn_->getTaxReturnDesc()->getTaxFormDescriptorsInDisplayOrder();
         !forms.atEOL(); forms.next()) {
        writeFieldNames(file.stream(), gaReturn_->getTaxFormDescriptor(forms.getTaxFormDescriptor()->getTypeID()));
    }
    file.write();
    info->setX(kForm69Lines.autoTest.done);
}

void GATaxReturnCalcEngine::writeFormFieldNames(std::string formName, std::string fileName, std::string directory) {
    DataMgmt::TaxFormPtr info = gaReturn_->getFormOrCreate(kGAForm69ID, 1);
    StateCalculationMgmt::TestOutput file(directory, fileName, "the list of one form's field names");
    StateCalculationMgmt::FormNameMap forms;
    buildFormNameMap(forms);
    // A name that is no form's gives an empty list.
    const auto form = forms.find(Utils::QVStringUtils::upperCased(formName));
    if (form != forms.end()) {
        writeFieldNames(file.stream(), gaReturn_->getTaxFormDescriptor(form->second));
    }
    file.write();
    info->setX(kForm69Lines.autoTest.done);
}

void GATaxReturnCalcEngine::buildFormNameMap(StateCalculationMgmt::FormNameMap& map) {
    StateCalculationMgmt::buildFormNameMap(*gaReturn_, map);
}

}  // namespace GACalculationMgmt
