#include "host/FederalColumnSeeds.h"

#include <algorithm>
#include <optional>

#include "host/NoteText.h"
#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/WageLineRows.h"
#include "module/frame/FilingCodes.h"
#include "module/frame/FormIdentifiers.h"
#include "platform/Exceptions.h"
#include "platform/store/CommonItemTable.h"
#include "platform/store/DerivedItems.h"
#include "platform/util/Utils.h"

namespace GAHost {

namespace {

using FieldId = Primitives::QVImmutableIdentifier;
using FormId = Primitives::QVImmutableFormIdentifier;

// The field of the main form filed that carries form 1040's field onto the
// state wage worksheet, with the worksheet's federal column of the line;
// a null field where that form has no such line.
struct WorksheetLine {
    FieldId mainFormField;
    FieldId worksheetField;
};

WorksheetLine worksheetLineOf(std::int32_t form1040Field, const FormId& filed) {
    for (const WageLineRowLines& row : kWageLineRows) {
        if (row.form1.getNumber() != form1040Field) continue;
        const FieldId& field = filed == kForm55ID ? row.form55 : filed == kForm87ID ? row.form87 : row.form1;
        return {field, row.federal};
    }
    return {Primitives::kNullFieldID, Primitives::kNullFieldID};
}

// The first seed of the row's items (either filer's) with an amount other
// than 0; null when none is.
const PersistanceMgmt::CommonItem* seedOfRow(const PersistanceMgmt::ReturnPart& georgia,
                                             const PersistanceMgmt::MainFormItem& row) {
    for (const PersistanceMgmt::CommonItem& seed : georgia.seeds.commonItems) {
        if ((seed.type == row.item || (row.spouseItem && seed.type == *row.spouseItem)) && seed.value != 0) {
            return &seed;
        }
    }
    return nullptr;
}

// "part-year" or "nonresident" for such a return; nullopt for a full-year
// one.
std::optional<std::string> partYearOrNonresident(StateDataMgmt::StateTaxReturn& georgia) {
    const std::int64_t residency = georgia.getIN(kGAForm69ID, 1, kForm69Lines.residency.code);
    if (residency == Residency::kPartYear) return "part-year";
    if (residency == Residency::kNonresident) return "nonresident";
    return std::nullopt;
}

std::string formName(const DataMgmt::TaxReturn& federal, const FormId& form) {
    const DataMgmt::TaxFormDescPtr desc = federal.getTaxReturnDesc()->getTaxFormDescriptor(form);
    return desc.isNull() ? std::to_string(form.getNumber()) : desc->getDevName();
}

// The lines of seedsMissingFromTheFederalColumn, for a return of the kind
// named ("part-year", "nonresident", or "full-year" where the same items
// leave form 1040's lines short of the federal adjusted gross income).
std::vector<std::string> columnProblems(HostSession& session, const std::string& path, const std::string& kind) {
    std::vector<std::string> problems;
    const PersistanceMgmt::ReturnFileContents& loaded = session.loaded();
    if (!loaded.federal || !loaded.georgia) return problems;
    StateDataMgmt::StateTaxReturn& georgia = *session.georgiaState();
    const DataMgmt::TaxReturn& federal = *session.federal();
    const FormId filed = georgia.getFederalFormID();
    const std::string filedName = formName(federal, filed);
    const bool joint = georgia.getFilingStatusNumber() == FilingStatus::kJoint;
    for (const PersistanceMgmt::MainFormItem& row : PersistanceMgmt::kForm1040Items) {
        const WorksheetLine line = worksheetLineOf(row.field, filed);
        if (!line.mainFormField.isNullID() && !federal.isNull(filed, 1, line.mainFormField)) continue;
        std::string problem;
        if (const PersistanceMgmt::CommonItem* seed = seedOfRow(*loaded.georgia, row)) {
            problem = path + ":" + std::to_string(seed->line) + ": form " +
                      (seed->formName.empty() ? std::to_string(seed->form.getNumber()) : seed->formName) + ": common " +
                      PersistanceMgmt::describeCommonItem(seed->type) + " is " + std::to_string(seed->value);
        } else if (const double amount = federal.getIR(kForm1ID, 1, FieldId(row.field));
                   !(filed == kForm1ID) && amount != 0.0) {
            // Form 1040's field gives the item on a return filed on another form.
            problem = path + ": form F1 field " + std::to_string(row.field) + " holds " + Utils::nStr(amount);
        } else {
            continue;
        }
        problem += ", but on this " + kind +
                   " return the federal column of form GA189217 takes the federal income from the fields of the main "
                   "form filed (through the state wage worksheet, ST4), not from the items, and ";
        if (line.mainFormField.isNullID()) {
            problem += "the return is filed on form " + filedName + ", which has no such line: the item counts in " +
                       "the retirement exclusion and not in that column; a return with it is filed on form 1040, " +
                       "with the amount in field " + std::to_string(row.field) + " of <FORM DEVNAME=\"F1\" COPY=\"1\">";
        } else {
            const std::string field = std::to_string(line.mainFormField.getNumber());
            problem += "field " + field + " of form " + filedName + " (line " +
                       std::to_string(line.worksheetField.getNumber()) +
                       " of the worksheet) is empty: enter in field " + field + " of <FORM DEVNAME=\"" + filedName +
                       "\" COPY=\"1\"> the amount of form 1040" +
                       (row.spouseItem && joint ? ", the couple's (which the two filers' items split)" : "");
        }
        problems.push_back(std::move(problem));
    }
    return problems;
}

}  // namespace

std::vector<std::string> seedsMissingFromTheFederalColumn(HostSession& session, const std::string& path) {
    const std::optional<std::string> residency = partYearOrNonresident(*session.georgiaState());
    return residency ? columnProblems(session, path, *residency) : std::vector<std::string>();
}

bool itemsOutsideTheFederalColumn(HostSession& session) { return !columnProblems(session, "", "full-year").empty(); }

void refuseSeedsMissingFromTheFederalColumn(HostSession& session, const std::string& path) {
    const std::vector<std::string> problems = seedsMissingFromTheFederalColumn(session, path);
    if (problems.empty()) return;
    std::string message;
    for (const std::string& line : problems) message += (message.empty() ? "" : "\n") + line;
    throw Exceptions::QuarloException(message, "gahost", "calculate");
}

}  // namespace GAHost
