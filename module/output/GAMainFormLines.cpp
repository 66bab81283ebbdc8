// The main form's statement lines: the withholding statements (form 70's
// six entries, then the nine entries of each copy of form 189218) and the
// other adjustments of form 189215, both written into the main form's record.
#include <array>
#include <string>

#include "module/catalogues/Form189215Lines.h"
#include "module/catalogues/GAForm189218FieldIds.h"
#include "module/catalogues/GAForm70FieldIds.h"
#include "module/frame/FormIdentifiers.h"
#include "module/output/GATifFileWriter.h"
#include "platform/util/Utils.h"

namespace GATifWriteMgmt {

namespace {

constexpr const auto& f70 = kGAForm70FieldIds;
constexpr const auto& f189218 = kGAForm189218FieldIds;

// The kinds of statement, by the box that marks each, in the order tested.
constexpr const char* kStatementKinds[] = {"W2", "G2A", "G2LP", "1099", "G2FL", "G2RP"};

// One withholding statement entry. It is written when its identification
// number holds a value.
struct StatementId {
    FieldId firstKindBox;   // the number goes under 04505
    FieldId secondKindBox;  // under 04510
    FieldId number;
};
struct StatementEntry {
    std::array<FieldId, 6> kindBoxes;  // W2, G2A, G2LP, 1099, G2FL, G2RP
    StatementId id;
    std::array<FieldId, 3> amounts;  // under 04515, 04520 (a zero as "0"), 04525
};

constexpr StatementEntry kMainFormEntries[] = {
    {{f70.f189485, f70.f189486, f70.f189487, f70.f189494, f70.f189495, f70.f189496},
     {f70.f189503, f70.f189504, f70.f189509},
     {f70.f189512, f70.f189515, f70.f189518}},
    {{f70.f189488, f70.f189489, f70.f189490, f70.f189497, f70.f189498, f70.f189499},
     {f70.f189505, f70.f189506, f70.f189510},
     {f70.f189513, f70.f189516, f70.f189519}},
    {{f70.f189491, f70.f189492, f70.f189493, f70.f189500, f70.f189501, f70.f189502},
     {f70.f189507, f70.f189508, f70.f189511},
     {f70.f189514, f70.f189517, f70.f189520}},
    {{f70.f189521, f70.f189522, f70.f189523, f70.f189530, f70.f189531, f70.f189532},
     {f70.f189539, f70.f189540, f70.f189545},
     {f70.f189548, f70.f189551, f70.f189554}},
    {{f70.f189524, f70.f189525, f70.f189526, f70.f189533, f70.f189534, f70.f189535},
     {f70.f189541, f70.f189542, f70.f189546},
     {f70.f189549, f70.f189552, f70.f189555}},
    {{f70.f189527, f70.f189528, f70.f189529, f70.f189536, f70.f189537, f70.f189538},
     {f70.f189543, f70.f189544, f70.f189547},
     {f70.f189550, f70.f189553, f70.f189556}},
};

constexpr StatementEntry kContinuationEntries[] = {
    {{f189218.f189902, f189218.f189903, f189218.f189904, f189218.f189911, f189218.f189912, f189218.f189913},
     {f189218.f189920, f189218.f189921, f189218.f189926},
     {f189218.f189929, f189218.f189932, f189218.f189935}},
    {{f189218.f189905, f189218.f189906, f189218.f189907, f189218.f189914, f189218.f189915, f189218.f189916},
     {f189218.f189922, f189218.f189923, f189218.f189927},
     {f189218.f189930, f189218.f189933, f189218.f189936}},
    {{f189218.f189908, f189218.f189909, f189218.f189910, f189218.f189917, f189218.f189918, f189218.f189919},
     {f189218.f189924, f189218.f189925, f189218.f189928},
     {f189218.f189931, f189218.f189934, f189218.f189937}},
    {{f189218.f189938, f189218.f189939, f189218.f189940, f189218.f189947, f189218.f189948, f189218.f189949},
     {f189218.f189956, f189218.f189957, f189218.f189962},
     {f189218.f189965, f189218.f189968, f189218.f189971}},
    {{f189218.f189941, f189218.f189942, f189218.f189943, f189218.f189950, f189218.f189951, f189218.f189952},
     {f189218.f189958, f189218.f189959, f189218.f189963},
     {f189218.f189966, f189218.f189969, f189218.f189972}},
    {{f189218.f189944, f189218.f189945, f189218.f189946, f189218.f189953, f189218.f189954, f189218.f189955},
     {f189218.f189960, f189218.f189961, f189218.f189964},
     {f189218.f189967, f189218.f189970, f189218.f189973}},
    {{f189218.f189974, f189218.f189975, f189218.f189976, f189218.f189983, f189218.f189984, f189218.f189985},
     {f189218.f189992, f189218.f189993, f189218.f189998},
     {f189218.f190001, f189218.f190004, f189218.f190007}},
    {{f189218.f189977, f189218.f189978, f189218.f189979, f189218.f189986, f189218.f189987, f189218.f189988},
     {f189218.f189994, f189218.f189995, f189218.f189999},
     {f189218.f190002, f189218.f190005, f189218.f190008}},
    {{f189218.f189980, f189218.f189981, f189218.f189982, f189218.f189989, f189218.f189990, f189218.f189991},
     {f189218.f189996, f189218.f189997, f189218.f190000},
     {f189218.f190003, f189218.f190006, f189218.f190009}},
};

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
    // One entry, numbered on from the entries before it.
    const auto writeEntry = [&](const FormId& form, std::uint16_t copy, const StatementEntry& entry) {
        if (!georgiaReturn->hasSigValue(form, copy, entry.id.number)) {
            return;
        }
        for (std::size_t kind = 0; kind < entry.kindBoxes.size(); ++kind) {
            if (georgiaReturn->formYes(form, copy, entry.kindBoxes[kind])) {
                outputTifLine(occurrenceKey("04500.000.%03d", occurrence), std::string(kStatementKinds[kind]), false);
                break;
            }
        }
        // The number without its dashes, under the key of its kind; a number
        // of neither kind has no key to go under.
        const char* idKey = georgiaReturn->formYes(form, copy, entry.id.firstKindBox)    ? "04505.000.%03d"
                            : georgiaReturn->formYes(form, copy, entry.id.secondKindBox) ? "04510.000.%03d"
                                                                                         : nullptr;
        if (idKey != nullptr) {
            outputTifLine(occurrenceKey(idKey, occurrence),
                          Utils::removeChars(georgiaReturn->formString(form, copy, entry.id.number), '-'), false);
        }
        outputTifLine(occurrenceKey("04515.000.%03d", occurrence), form, copy, entry.amounts[0], false);
        if (georgiaReturn->zeroVal(form, copy, entry.amounts[1])) {
            outputTifLine(occurrenceKey("04520.000.%03d", occurrence), std::string("0"), false);
        } else {
            outputTifLine(occurrenceKey("04520.000.%03d", occurrence), form, copy, entry.amounts[1], false);
        }
        outputTifLine(occurrenceKey("04525.000.%03d", occurrence), form, copy, entry.amounts[2], false);
        ++occurrence;
    };
    for (const StatementEntry& entry : kMainFormEntries) {
        writeEntry(kGAForm70ID, 1, entry);
    }
    for (const std::uint16_t copy : georgiaReturn->copyNumbers(kGAForm189218ID)) {
        for (const StatementEntry& entry : kContinuationEntries) {
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
        outputTifLine(occurrenceKey("04102.000.%03d", occurrence), kGAForm189215ID, 1, adjustment.amount, false);
        ++occurrence;
    }
}

}  // namespace GATifWriteMgmt
