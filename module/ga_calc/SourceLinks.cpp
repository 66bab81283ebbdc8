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
                const auto& f = kGAForm70FieldIds;
                const FieldId links[kForm70Entries] = {f.f190488, f.f190489, f.f190490,
                                                       f.f190491, f.f190492, f.f190493};
                form70->assignText(links[n - 1], link);
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
        const auto& c = kGAForm189218FieldIds;
        const FieldId links[kEntriesPerContinuation] = {c.f190506, c.f190507, c.f190508, c.f190509, c.f190510,
                                                        c.f190511, c.f190512, c.f190513, c.f190514};
        form189218->assignText(links[slot], link);
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

// ------------------------------------------------------------ form 189218

void GATaxReturnCalcEngine::calcSourceLinksForm(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int /*passThrough*/) {
    if (handle.isNull()) {
        return;
    }
    const auto& c = kGAForm189218FieldIds;
    gaReturn_->getII(kGAForm69ID, kGAForm69FieldIds.f25, handle, c.f189901);

    const FieldId links[kEntriesPerContinuation] = {c.f190506, c.f190507, c.f190508, c.f190509, c.f190510,
                                                    c.f190511, c.f190512, c.f190513, c.f190514};
    const SourceEntryFields slots[kEntriesPerContinuation] = {
        {c.f189902, c.f189903, c.f189904, c.f189911, c.f189912, c.f189913, c.f189920, c.f189921, c.f189926, c.f189929,
         c.f189932, c.f189935},
        {c.f189905, c.f189906, c.f189907, c.f189914, c.f189915, c.f189916, c.f189922, c.f189923, c.f189927, c.f189930,
         c.f189933, c.f189936},
        {c.f189908, c.f189909, c.f189910, c.f189917, c.f189918, c.f189919, c.f189924, c.f189925, c.f189928, c.f189931,
         c.f189934, c.f189937},
        {c.f189938, c.f189939, c.f189940, c.f189947, c.f189948, c.f189949, c.f189956, c.f189957, c.f189962, c.f189965,
         c.f189968, c.f189971},
        {c.f189941, c.f189942, c.f189943, c.f189950, c.f189951, c.f189952, c.f189958, c.f189959, c.f189963, c.f189966,
         c.f189969, c.f189972},
        {c.f189944, c.f189945, c.f189946, c.f189953, c.f189954, c.f189955, c.f189960, c.f189961, c.f189964, c.f189967,
         c.f189970, c.f189973},
        {c.f189974, c.f189975, c.f189976, c.f189983, c.f189984, c.f189985, c.f189992, c.f189993, c.f189998, c.f190001,
         c.f190004, c.f190007},
        {c.f189977, c.f189978, c.f189979, c.f189986, c.f189987, c.f189988, c.f189994, c.f189995, c.f189999, c.f190002,
         c.f190005, c.f190008},
        {c.f189980, c.f189981, c.f189982, c.f189989, c.f189990, c.f189991, c.f189996, c.f189997, c.f190000, c.f190003,
         c.f190006, c.f190009},
    };
    int known = 0;
    for (int slot = 0; slot < kEntriesPerContinuation; ++slot) {
        known += checkSourceLink(kGAForm189218ID, copy, links[slot], slots[slot]);
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
