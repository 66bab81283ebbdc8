// The main form's statement lines: the withholding statements (form 70's
// six entries, then the nine entries of each copy of form 189218) and the
// other adjustments of form 189215, both written into the main form's record.
#include <array>
#include <optional>
#include <string>

#include "module/catalogues/Form189215Lines.h"
#include "module/catalogues/WithholdingEntryLines.h"
#include "module/frame/FormIdentifiers.h"
#include "module/output/GATifFileWriter.h"
#include "platform/util/Utils.h"

namespace GATifWriteMgmt {

namespace {

// The kinds of statement, by the box that marks each, in the order tested.
struct StatementKind {
    const FieldId& box;
    const char* name;
};
std::array<StatementKind, 6> statementKinds(const WithholdingEntryLines& entry) {
    return {{{entry.wageBox, "W2"},
             {entry.row1Box, "G2A"},
             {entry.row3Box, "G2LP"},
             {entry.infoBox, "1099"},
             {entry.row4Box, "G2FL"},
             {entry.row2Box, "G2RP"}}};
}

// Each adjustment field of form 189215 and the word that names its kind.
struct Adjustment {
    FieldId amount;
    const char* kind;
};

constexpr const auto& form189215 = kForm189215Lines;
constexpr Adjustment kAdjustments[] = {
    {form189215.otherLoss, "NOL"},
    {form189215.depreciationDifference, "Depreciation"},
    {form189215.otherDepreciation, "Depreciation"},
    {form189215.otherWages, "Wages"},
    {form189215.donation1, "Donations"},
    {form189215.savingsPlanWithdrawals, "QUAL ED EXPEN"},
    {form189215.donation2, "Land cc Donation"},
};

}  // namespace

void GATifFileWriter::writeWithholdingLines() {
    int occurrence = 1;
    // One entry, written when its payer number holds a value and numbered
    // on from the entries before it.
    const auto writeEntry = [&](const FormId& form, std::uint16_t copy, const WithholdingEntryLines& entry) {
        if (!georgiaReturn->hasSigValue(form, copy, entry.payerId)) {
            return;
        }
        for (const StatementKind& kind : statementKinds(entry)) {
            if (georgiaReturn->formYes(form, copy, kind.box)) {
                outputTifLine(occurrenceKey("04500.000.%03d", occurrence), std::string(kind.name), false);
                break;
            }
        }
        // The number under the key of its kind; a number of neither kind
        // has no key to go under.
        const char* idKey = georgiaReturn->formYes(form, copy, entry.id1Box)   ? "04505.000.%03d"
                            : georgiaReturn->formYes(form, copy, entry.id2Box) ? "04510.000.%03d"
                                                                               : nullptr;
        if (idKey != nullptr) {
            outputFieldLine(occurrenceKey(idKey, occurrence), form, copy, entry.payerId);
        }
        outputFieldLine(occurrenceKey("04515.000.%03d", occurrence), form, copy, entry.stateId);
        if (georgiaReturn->zeroVal(form, copy, entry.stateAmount)) {
            outputTifLine(occurrenceKey("04520.000.%03d", occurrence), std::string("0"), false);
        } else {
            outputFieldLine(occurrenceKey("04520.000.%03d", occurrence), form, copy, entry.stateAmount);
        }
        outputFieldLine(occurrenceKey("04525.000.%03d", occurrence), form, copy, entry.withheld);
        ++occurrence;
    };
    for (const WithholdingEntryLines& entry : kForm70WithholdingEntries) {
        writeEntry(kGAForm70ID, 1, entry);
    }
    for (const std::uint16_t copy : georgiaReturn->copyNumbers(kGAForm189218ID)) {
        for (const WithholdingEntryLines& entry : kForm189218WithholdingEntries) {
            writeEntry(kGAForm189218ID, copy, entry);
        }
    }
}

void GATifFileWriter::writeOtherAdjustmentLines() {
    int occurrence = 1;
    for (const Adjustment& adjustment : kAdjustments) {
        if (!georgiaReturn->hasSigValue(kGAForm189215ID, 1, adjustment.amount)) {
            continue;
        }
        outputTifLine(occurrenceKey("04101.000.%03d", occurrence), std::string(adjustment.kind), false);
        outputFieldLine(occurrenceKey("04102.000.%03d", occurrence), kGAForm189215ID, 1, adjustment.amount);
        ++occurrence;
    }
}

}  // namespace GATifWriteMgmt
