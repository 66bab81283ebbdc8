// Source-document links of Georgia withholding, and the upkeep of the
// other-state rows of form 73.
//
// Every federal source document that shows Georgia withholding (wage and gambling
// statements, information returns) and every Georgia withholding row of form
// 70 becomes one entry of a numbered list. Entries 1 to 6 live in the six
// link fields of form 70; every further entry in form 189218, nine entries a
// copy. A link field holds the text "<source form>/<source copy>/<entry>";
// from it the entry's kind boxes, identification numbers and amounts are
// refilled on every calculation. The list is rebuilt before each
// whole-return calculation.
//
// A link that does not name a known source document (an unreadable text, a
// form that is not a source, a missing source copy, a copy below 1 or a
// form 70 row outside 0 to 3) empties its entry: the link is never used to
// reach a form or field it does not name.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "module/catalogues/Form110FieldIds.h"
#include "module/catalogues/Form133618FieldIds.h"
#include "module/catalogues/Form135FieldIds.h"
#include "module/catalogues/Form164FieldIds.h"
#include "module/catalogues/Form165FieldIds.h"
#include "module/catalogues/Form166FieldIds.h"
#include "module/catalogues/Form186662FieldIds.h"
#include "module/catalogues/Form52FieldIds.h"
#include "module/catalogues/Form54FieldIds.h"
#include "module/catalogues/Form84FieldIds.h"
#include "module/catalogues/GAForm189218FieldIds.h"
#include "module/catalogues/GAForm69FieldIds.h"
#include "module/catalogues/GAForm70FieldIds.h"
#include "module/catalogues/GAForm73FieldIds.h"
#include "module/frame/GATaxReturn.h"
#include "module/frame/SourceDocumentLink.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"
#include "platform/Utils.h"

namespace GACalculationMgmt {

namespace {

constexpr int kForm70Entries = 6;
constexpr int kEntriesPerContinuation = 9;

// One state row of a source document: the state code, the Georgia tax
// withheld (the amount that makes the document an entry of the list), the
// state identification number and the state amount (wages, winnings,
// interest, distributions: up to two fields added; none when the document
// gives it outside its state rows).
struct StateRow {
    FieldId code;
    FieldId withheld;
    FieldId stateId;
    FieldId amount1;
    FieldId amount2;
};

enum class IdBox { Id1, Id2, ByDashes, None };

// What a federal source form gives an entry.
struct SourceLayout {
    int form;
    bool wage;        // wage box (wage and gambling statements); information box otherwise
    FieldId payerId;  // null: the document has no payer number
    IdBox idBox;
    bool anyNonZeroQualifies;  // wage statements: any withholding but 0, also below 0
    std::vector<StateRow> rows;
};

const std::vector<SourceLayout>& layouts() {
    static const std::vector<SourceLayout> table = [] {
        const FieldId none = Primitives::kNullFieldID;
        const auto& w2 = kForm52FieldIds;
        const auto& w2g = kForm54FieldIds;
        const auto& f110 = kForm110FieldIds;
        const auto& f186662 = kForm186662FieldIds;
        const auto& f165 = kForm165FieldIds;
        const auto& f84 = kForm84FieldIds;
        const auto& f166 = kForm166FieldIds;
        const auto& f164 = kForm164FieldIds;
        const auto& f135 = kForm135FieldIds;
        std::vector<SourceLayout> t;
        t.push_back({52,
                     true,
                     w2.f7,
                     IdBox::Id1,
                     true,
                     {{w2.f34, w2.f32, w2.f8, w2.f33, none},
                      {w2.f99, w2.f97, w2.f107, w2.f98, none},
                      {w2.f27781, w2.f27784, w2.f27782, w2.f27783, none},
                      {w2.f27788, w2.f27791, w2.f27789, w2.f27790, none}}});
        // The gambling statement's id box follows its yes/no field 79884.
        t.push_back({54, true, w2g.f4, IdBox::None, false, {{w2g.f28, w2g.f25, w2g.f24, w2g.f12, none}}});
        t.push_back(
            {110,
             false,
             f110.f20,
             IdBox::ByDashes,
             false,
             {{f110.f46, f110.f45, f110.f48, f110.f131, none}, {f110.f133, f110.f132, f110.f134, f110.f135, none}}});
        t.push_back({186662,
                     false,
                     f186662.f186685,
                     IdBox::ByDashes,
                     false,
                     {{f186662.f186735, f186662.f186737, f186662.f186736, f186662.f186714, none}}});
        t.push_back(
            {165,
             false,
             f165.f26,
             IdBox::Id1,
             false,
             {{f165.f17, f165.f16, f165.f28, none, none}, {f165.f144118, f165.f144120, f165.f144119, none, none}}});
        t.push_back({84,
                     false,
                     f84.f11,
                     IdBox::Id1,
                     false,
                     {{f84.f33, f84.f30, f84.f31, f84.f134, none}, {f84.f169, f84.f168, f84.f170, f84.f171, none}}});
        t.push_back({166,
                     false,
                     none,
                     IdBox::None,
                     false,
                     {{f166.f133633, f166.f133635, f166.f133634, f166.f10, none},
                      {f166.f144125, f166.f144127, f166.f144126, f166.f10, none},
                      {f166.f133636, f166.f133638, f166.f133637, f166.f17, f166.f18},
                      {f166.f144130, f166.f144132, f166.f144131, f166.f17, f166.f18}}});
        t.push_back({164,
                     false,
                     none,
                     IdBox::None,
                     false,
                     {{f164.f133765, f164.f133767, f164.f133766, none, none},
                      {f164.f144115, f164.f144117, f164.f144116, none, none}}});
        t.push_back({135,
                     false,
                     none,
                     IdBox::None,
                     false,
                     {{f135.f163202, f135.f163204, f135.f163203, none, none},
                      {f135.f163205, f135.f163207, f135.f163206, none, none}}});
        return t;
    }();
    return table;
}

const SourceLayout* layoutOf(int formNumber) {
    for (const SourceLayout& layout : layouts()) {
        if (layout.form == formNumber) {
            return &layout;
        }
    }
    return nullptr;
}

// Form 70's four withholding rows: payer id, state id, Georgia amount, tax
// withheld (the withheld fields add up to form 70 line 245).
struct Form70Row {
    FieldId payerId;
    FieldId stateId;
    FieldId amount;
    FieldId withheld;
};

std::array<Form70Row, 4> form70Rows() {
    const auto& f = kGAForm70FieldIds;
    return {{{f.f190494, f.f190495, f.f190496, f.f243},
             {f.f190497, f.f190498, f.f190499, f.f244},
             {f.f190500, f.f190501, f.f190502, f.f140462},
             {f.f190503, f.f190504, f.f190505, f.f148018}}};
}

// One entry of the list: its link field and the fields that the link refills.
struct EntrySlot {
    FieldId link;
    GATaxReturnCalcEngine::SourceEntryFields fields;
};

// Entries 1 to 6, on form 70.
const std::array<EntrySlot, kForm70Entries>& form70Slots() {
    static const std::array<EntrySlot, kForm70Entries> slots = [] {
        const auto& f70 = kGAForm70FieldIds;
        return std::array<EntrySlot, kForm70Entries>{{
            {f70.f190488,
             {f70.f189485, f70.f189486, f70.f189487, f70.f189494, f70.f189495, f70.f189496, f70.f189503, f70.f189504,
              f70.f189509, f70.f189512, f70.f189515, f70.f189518}},
            {f70.f190489,
             {f70.f189488, f70.f189489, f70.f189490, f70.f189497, f70.f189498, f70.f189499, f70.f189505, f70.f189506,
              f70.f189510, f70.f189513, f70.f189516, f70.f189519}},
            {f70.f190490,
             {f70.f189491, f70.f189492, f70.f189493, f70.f189500, f70.f189501, f70.f189502, f70.f189507, f70.f189508,
              f70.f189511, f70.f189514, f70.f189517, f70.f189520}},
            {f70.f190491,
             {f70.f189521, f70.f189522, f70.f189523, f70.f189530, f70.f189531, f70.f189532, f70.f189539, f70.f189540,
              f70.f189545, f70.f189548, f70.f189551, f70.f189554}},
            {f70.f190492,
             {f70.f189524, f70.f189525, f70.f189526, f70.f189533, f70.f189534, f70.f189535, f70.f189541, f70.f189542,
              f70.f189546, f70.f189549, f70.f189552, f70.f189555}},
            {f70.f190493,
             {f70.f189527, f70.f189528, f70.f189529, f70.f189536, f70.f189537, f70.f189538, f70.f189543, f70.f189544,
              f70.f189547, f70.f189550, f70.f189553, f70.f189556}},
        }};
    }();
    return slots;
}

// The nine entries of each copy of form 189218.
const std::array<EntrySlot, kEntriesPerContinuation>& form189218Slots() {
    static const std::array<EntrySlot, kEntriesPerContinuation> slots = [] {
        const auto& f189218 = kGAForm189218FieldIds;
        return std::array<EntrySlot, kEntriesPerContinuation>{{
            {f189218.f190506,
             {f189218.f189902, f189218.f189903, f189218.f189904, f189218.f189911, f189218.f189912, f189218.f189913,
              f189218.f189920, f189218.f189921, f189218.f189926, f189218.f189929, f189218.f189932, f189218.f189935}},
            {f189218.f190507,
             {f189218.f189905, f189218.f189906, f189218.f189907, f189218.f189914, f189218.f189915, f189218.f189916,
              f189218.f189922, f189218.f189923, f189218.f189927, f189218.f189930, f189218.f189933, f189218.f189936}},
            {f189218.f190508,
             {f189218.f189908, f189218.f189909, f189218.f189910, f189218.f189917, f189218.f189918, f189218.f189919,
              f189218.f189924, f189218.f189925, f189218.f189928, f189218.f189931, f189218.f189934, f189218.f189937}},
            {f189218.f190509,
             {f189218.f189938, f189218.f189939, f189218.f189940, f189218.f189947, f189218.f189948, f189218.f189949,
              f189218.f189956, f189218.f189957, f189218.f189962, f189218.f189965, f189218.f189968, f189218.f189971}},
            {f189218.f190510,
             {f189218.f189941, f189218.f189942, f189218.f189943, f189218.f189950, f189218.f189951, f189218.f189952,
              f189218.f189958, f189218.f189959, f189218.f189963, f189218.f189966, f189218.f189969, f189218.f189972}},
            {f189218.f190511,
             {f189218.f189944, f189218.f189945, f189218.f189946, f189218.f189953, f189218.f189954, f189218.f189955,
              f189218.f189960, f189218.f189961, f189218.f189964, f189218.f189967, f189218.f189970, f189218.f189973}},
            {f189218.f190512,
             {f189218.f189974, f189218.f189975, f189218.f189976, f189218.f189983, f189218.f189984, f189218.f189985,
              f189218.f189992, f189218.f189993, f189218.f189998, f189218.f190001, f189218.f190004, f189218.f190007}},
            {f189218.f190513,
             {f189218.f189977, f189218.f189978, f189218.f189979, f189218.f189986, f189218.f189987, f189218.f189988,
              f189218.f189994, f189218.f189995, f189218.f189999, f189218.f190002, f189218.f190005, f189218.f190008}},
            {f189218.f190514,
             {f189218.f189980, f189218.f189981, f189218.f189982, f189218.f189989, f189218.f189990, f189218.f189991,
              f189218.f189996, f189218.f189997, f189218.f190000, f189218.f190003, f189218.f190006, f189218.f190009}},
        }};
    }();
    return slots;
}

// A federal amount kept in hundredths, in dollars.
double dollars(const DataMgmt::TaxReturn& federal, const FormId& form, std::uint16_t copy, const FieldId& field) {
    if (field.isNullID()) {
        return 0.0;
    }
    return static_cast<double>(federal.getIN(form, copy, field)) / 100.0;
}

bool withholdingQualifies(const SourceLayout& layout, double withheld) {
    return layout.anyNonZeroQualifies ? withheld != 0.0 : withheld > 0.0;
}

// The state row of a copy that makes it a Georgia document: the first row
// coded exactly "GA" whose withholding qualifies.
std::optional<std::size_t> qualifyingRow(const DataMgmt::TaxReturn& federal, const FormId& form, std::uint16_t copy,
                                         const SourceLayout& layout) {
    for (std::size_t r = 0; r < layout.rows.size(); ++r) {
        const StateRow& row = layout.rows[r];
        if (federal.getFieldAsString(form, copy, row.code) != "GA") {
            continue;
        }
        if (withholdingQualifies(layout, dollars(federal, form, copy, row.withheld))) {
            return r;
        }
    }
    return std::nullopt;
}

void nullEntry(DataMgmt::TaxForm& form, const GATaxReturnCalcEngine::SourceEntryFields& e) {
    for (const FieldId& field : {e.wageBox, e.row1Box, e.row3Box, e.infoBox, e.row4Box, e.row2Box, e.id1Box, e.id2Box,
                                 e.payerId, e.stateId, e.stateAmount, e.withheld}) {
        form.setNull(field);
    }
}

void setBox(DataMgmt::TaxForm& form, const FieldId& box, bool on) {
    if (on) {
        form.setX(box);
    } else {
        form.setXNo(box);
    }
}

}  // namespace

void GATaxReturnCalcEngine::countSeparators(std::string& out, const std::string& in) {
    std::size_t dashes = 0;
    for (char c : in) {
        dashes += c == '-' ? 1 : 0;
    }
    out = dashes == 1 ? "1" : "2";
}

// ------------------------------------------------------------ writing links

void GATaxReturnCalcEngine::collectStateSourceLinks(const FormId& source, int& counter, int pass) {
    const bool fromForm70 = source == kGAForm70ID;
    const SourceLayout* layout = fromForm70 ? nullptr : layoutOf(source.getNumber());
    if (!fromForm70 && (layout == nullptr || source.isState())) {
        return;  // not a source of Georgia withholding
    }
    const std::array<Form70Row, 4> rows70 = form70Rows();
    if (fromForm70 && (pass < 0 || pass > 3)) {
        return;
    }

    DataMgmt::TaxReturn& owner = fromForm70 ? static_cast<DataMgmt::TaxReturn&>(*gaReturn_) : *federalReturn();
    for (DataMgmt::TaxFormIter it = owner.getForms(source); !it.atEOL(); it.next()) {
        DataMgmt::TaxFormPtr document = it.getTaxForm();
        if (document.isNull()) {
            continue;
        }
        const std::uint16_t copy = document->getCopyNumber();
        bool qualifies = false;
        if (fromForm70) {
            qualifies = gaReturn_->getIR(kGAForm70ID, 1, rows70[static_cast<std::size_t>(pass)].withheld) > 0.0;
        } else {
            qualifies = qualifyingRow(owner, source, copy, *layout).has_value();
        }
        if (!qualifies) {
            continue;
        }

        ++counter;
        const std::string link =
            std::to_string(source.getNumber()) + "/" + std::to_string(copy) + "/" + std::to_string(pass);
        const int n = counter;
        if (n <= kForm70Entries) {
            DataMgmt::TaxFormPtr form70 = gaReturn_->getFormUVPtr(kGAForm70ID, 1, true);
            if (!form70.isNull()) {
                form70->assignText(form70Slots()[static_cast<std::size_t>(n - 1)].link, link);
            }
            continue;
        }
        const int index = n - kForm70Entries - 1;
        const auto continuation = static_cast<std::uint16_t>(index / kEntriesPerContinuation + 1);
        const int slot = index % kEntriesPerContinuation;
        DataMgmt::TaxFormPtr form189218 = gaReturn_->getFormUVPtr(kGAForm189218ID, continuation, true);
        if (form189218.isNull()) {
            continue;  // past the continuation form's copies: the entry has no place
        }
        form189218->assignText(form189218Slots()[static_cast<std::size_t>(slot)].link, link);
    }
}

// ------------------------------------------------------------ refilling an entry

int GATaxReturnCalcEngine::checkSourceLink(const FormId& form, std::uint16_t copy, FieldId link,
                                           const SourceEntryFields& e) {
    DataMgmt::TaxFormPtr handle = gaReturn_->getFormUVPtr(form, copy, false);
    if (handle.isNull()) {
        return 0;
    }
    DataMgmt::TaxForm& entry = *handle;

    const std::string linkText = gaReturn_->getFieldAsString(form, copy, link);
    int sourceNumber = 0;
    int sourceCopy = 0;
    int entryNumber = 0;
    if (Utils::strip(linkText).empty() ||
        !GADataMgmt::parseSourceDocumentLink(linkText, sourceNumber, sourceCopy, entryNumber) || sourceNumber <= 0 ||
        sourceCopy < 1 || sourceCopy > 65535) {
        nullEntry(entry, e);
        return 0;
    }
    const auto sourceCopyNumber = static_cast<std::uint16_t>(sourceCopy);

    std::string payerId;
    std::string stateId;
    double withheld = 0.0;
    double amount = 0.0;
    bool wage = false;
    bool info = false;
    bool row[4] = {false, false, false, false};
    bool id1 = false;
    bool id2 = false;
    std::string dashes;

    if (sourceNumber == kGAForm70ID.getNumber()) {
        // One of form 70's own withholding rows.
        if (entryNumber < 0 || entryNumber > 3 || !gaReturn_->formExists(kGAForm70ID, 1)) {
            nullEntry(entry, e);
            return 0;
        }
        const std::array<Form70Row, 4> rows = form70Rows();
        const Form70Row& own = rows[static_cast<std::size_t>(entryNumber)];
        payerId = gaReturn_->getFieldAsString(kGAForm70ID, 1, own.payerId);
        stateId = gaReturn_->getFieldAsString(kGAForm70ID, 1, own.stateId);
        amount = gaReturn_->getIR(kGAForm70ID, 1, own.amount);
        withheld = gaReturn_->getIR(kGAForm70ID, 1, own.withheld);
        // Every row whose withholding equals the entry's marks its box and gives
        // the payer number.
        for (std::size_t r = 0; r < rows.size(); ++r) {
            if (gaReturn_->getIR(kGAForm70ID, 1, rows[r].withheld) != withheld) {
                continue;
            }
            row[r] = true;
            payerId = gaReturn_->getFieldAsString(kGAForm70ID, 1, rows[r].payerId);
            countSeparators(dashes, payerId);
            (dashes == "1" ? id1 : id2) = true;
        }
    } else {
        const SourceLayout* layout = layoutOf(sourceNumber);
        const FormId source(sourceNumber, false);
        if (layout == nullptr || !federalReturn()->formExists(source, sourceCopyNumber)) {
            nullEntry(entry, e);
            return 0;
        }
        const DataMgmt::TaxReturn& federal = *federalReturn();
        wage = layout->wage;
        info = !layout->wage;
        if (!layout->payerId.isNullID()) {
            payerId = federal.getFieldAsString(source, sourceCopyNumber, layout->payerId);
        }
        switch (layout->idBox) {
            case IdBox::Id1:
                id1 = true;
                break;
            case IdBox::Id2:
                id2 = true;
                break;
            case IdBox::ByDashes:
                countSeparators(dashes, payerId);
                (dashes == "1" ? id1 : id2) = true;
                break;
            case IdBox::None:
                break;
        }
        if (sourceNumber == 54) {
            (federal.formYes(source, sourceCopyNumber, kForm54FieldIds.f79884) ? id2 : id1) = true;
        }

        // The row that qualified the document; failing that, the first row
        // coded "GA". A consolidated statement has its rows for entry 0 only.
        const bool rowsApply = sourceNumber != 135 || entryNumber == 0;
        std::optional<std::size_t> chosen;
        if (rowsApply) {
            chosen = qualifyingRow(federal, source, sourceCopyNumber, *layout);
            for (std::size_t r = 0; !chosen && r < layout->rows.size(); ++r) {
                if (federal.getFieldAsString(source, sourceCopyNumber, layout->rows[r].code) == "GA") {
                    chosen = r;
                }
            }
        }
        if (chosen) {
            const StateRow& stateRow = layout->rows[*chosen];
            withheld = dollars(federal, source, sourceCopyNumber, stateRow.withheld);
            stateId = federal.getFieldAsString(source, sourceCopyNumber, stateRow.stateId);
            amount = dollars(federal, source, sourceCopyNumber, stateRow.amount1) +
                     dollars(federal, source, sourceCopyNumber, stateRow.amount2);
        }

        // The amount that the document gives outside its state rows.
        if (sourceNumber == 165) {
            const auto& f165 = kForm165FieldIds;
            if (federal.formYes(source, sourceCopyNumber, f165.f20717)) {
                amount = dollars(federal, source, sourceCopyNumber, f165.f11);
            } else if (federal.formYes(source, sourceCopyNumber, f165.f20718)) {
                amount = dollars(federal, source, sourceCopyNumber, f165.f24555) +
                         dollars(federal, source, sourceCopyNumber, f165.f18) +
                         dollars(federal, source, sourceCopyNumber, f165.f19);
            }
        } else if (sourceNumber == 164) {
            const auto& f164 = kForm164FieldIds;
            amount = dollars(federal, source, sourceCopyNumber, f164.f6) +
                     dollars(federal, source, sourceCopyNumber, f164.f7);
        }
    }

    // Write the entry.
    setBox(entry, e.wageBox, wage);
    setBox(entry, e.row1Box, row[0]);
    setBox(entry, e.row3Box, row[2]);
    setBox(entry, e.infoBox, info);
    setBox(entry, e.row4Box, row[3]);
    setBox(entry, e.row2Box, row[1]);
    setBox(entry, e.id1Box, id1);
    setBox(entry, e.id2Box, id2);
    if (!payerId.empty()) {
        entry.makeProtected(e.payerId);
        entry.assignText(e.payerId, payerId);
    } else if (sourceNumber == 166 || sourceNumber == 164 || sourceNumber == 135) {
        // No payer number on the document: the user may type one in.
        entry.unprotectAndMaybeSetNull(e.payerId);
        if (entry.nonNull(e.payerId)) {
            entry.setX(e.id1Box);
        }
    } else {
        entry.makeProtectedAndSetNull(e.payerId);
    }
    entry.assignText(e.stateId, stateId);
    entry.assignIR(e.stateAmount, amount);
    entry.assignIR(e.withheld, withheld);
    return 1;
}

void GATaxReturnCalcEngine::checkForm70SourceLinks(std::uint16_t copy) {
    for (const EntrySlot& slot : form70Slots()) {
        checkSourceLink(kGAForm70ID, copy, slot.link, slot.fields);
    }
}

// ------------------------------------------------------------ form 189218

void GATaxReturnCalcEngine::calcSourceLinksForm(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int /*passThrough*/) {
    if (handle.isNull()) {
        return;
    }
    gaReturn_->getII(kGAForm69ID, kGAForm69FieldIds.f25, handle, kGAForm189218FieldIds.f189901);
    int known = 0;
    for (const EntrySlot& slot : form189218Slots()) {
        known += checkSourceLink(kGAForm189218ID, copy, slot.link, slot.fields);
    }
    if (known > 0) {
        gaReturn_->setDataEntered(kGAForm189218ID, copy, true, false);
        handle->setCalculatedFlag(true);
    }
}

// ------------------------------------------------------------ form 73

void GATaxReturnCalcEngine::updateOtherStateRows() {
    const auto& f73 = kGAForm73FieldIds;
    const auto& f69 = kGAForm69FieldIds;

    if (!gaReturn_->formYes(kGAForm69ID, 1, f69.f36)) {
        // Only a full-year resident claims credit for tax paid to another
        // state on this form.
        for (DataMgmt::TaxFormIter it = gaReturn_->getForms(kGAForm73ID); !it.atEOL(); it.next()) {
            DataMgmt::TaxFormPtr row = it.getTaxForm();
            if (!row.isNull()) {
                row->setXNo(f73.f138856);
                row->makeProtected(f73.f138856);
            }
        }
        return;
    }

    for (DataMgmt::TaxFormIter it = gaReturn_->getForms(kGAForm73ID); !it.atEOL(); it.next()) {
        DataMgmt::TaxFormPtr row = it.getTaxForm();
        if (!row.isNull()) {
            row->unProtect(f73.f138855);
            row->unProtect(f73.f7);
            row->unProtect(f73.f16);
        }
    }

    const auto& other = kForm133618FieldIds;
    const std::string ownState = gaReturn_->getAbbreviation();
    for (DataMgmt::TaxFormIter it = federalReturn()->getForms(kForm133618ID); !it.atEOL(); it.next()) {
        DataMgmt::TaxFormPtr nonresident = it.getTaxForm();
        if (nonresident.isNull()) {
            continue;
        }
        const std::uint16_t fedCopy = nonresident->getCopyNumber();
        const std::string state = federalReturn()->getFieldAsString(kForm133618ID, fedCopy, other.f133651);
        const std::string residency = federalReturn()->getFieldAsString(kForm133618ID, fedCopy, other.f133652);
        if (Utils::QVStringUtils::stricmp(state, ownState) == 0 ||
            Utils::QVStringUtils::stricmp(residency, "Nonresident") != 0) {
            continue;
        }

        DataMgmt::TaxFormPtr target;
        for (DataMgmt::TaxFormIter rows = gaReturn_->getForms(kGAForm73ID); !rows.atEOL(); rows.next()) {
            DataMgmt::TaxFormPtr row = rows.getTaxForm();
            if (row.isNull()) {
                continue;
            }
            const std::uint16_t c = row->getCopyNumber();
            if (Utils::QVStringUtils::stricmp(gaReturn_->getFieldAsString(kGAForm73ID, c, f73.f138855), state) == 0 ||
                Utils::QVStringUtils::stricmp(gaReturn_->getFieldAsString(kGAForm73ID, c, f73.f138854), state) == 0) {
                target = row;
                break;
            }
        }
        if (target.isNull()) {
            DataMgmt::TaxFormPtr info = gaReturn_->getFormUVPtr(kGAForm69ID, 1, false);
            if (!gaReturn_->formExists(kGAForm73ID, 1)) {
                target = gaReturn_->createForm(kGAForm73ID);
                if (target.isNull()) {
                    continue;
                }
                target->unProtect(f73.f138856);
                target->setX(f73.f138856);
                target->assignText(f73.f138854, state);
                if (!info.isNull()) {
                    info->setXNo(f69.f142705);
                }
            } else {
                // The state has no row of its own: the information form says
                // so, and form 73 is left as it is.
                if (!info.isNull()) {
                    info->setX(f69.f142705);
                }
                continue;
            }
        }

        target->unProtect(f73.f138856);
        if (target->xMarked(f73.f138856)) {
            target->makeProtected(f73.f138855);
            target->assignText(f73.f138855, state);
            target->makeProtected(f73.f7);
            federalReturn()->getIIM(kForm133618ID, other.f133653, fedCopy, target, f73.f7);
            target->makeProtected(f73.f16);
            federalReturn()->getIIM(kForm133618ID, other.f133654, fedCopy, target, f73.f16);
        } else {
            target->unProtect(f73.f138855);
            target->unProtect(f73.f7);
            target->unProtect(f73.f16);
        }
    }
}

}  // namespace GACalculationMgmt
