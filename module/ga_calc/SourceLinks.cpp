// Source-document links of Georgia withholding.
//
// Every federal statement form that shows Georgia withholding (the statement
// table, platform/store/StatementForms.h: a copy enters the list by the
// lines the host's Georgia tax withheld counts, and its entry holds their
// withholding) and every Georgia withholding row of form 70 becomes one
// entry of a numbered list. Entries 1 to 6 live in the six
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

#include "module/catalogues/Form69Lines.h"
#include "module/catalogues/Form70Lines.h"
#include "module/catalogues/WithholdingEntryLines.h"
#include "module/frame/GATaxReturn.h"
#include "module/frame/SourceDocumentLink.h"
#include "module/ga_calc/GATaxReturnCalcEngine.h"
#include "platform/store/StatementForms.h"
#include "platform/util/Utils.h"

namespace GACalculationMgmt {

namespace {

constexpr int kForm70Entries = 6;
constexpr int kEntriesPerContinuation = 9;

// Which identification box an entry of the document marks.
enum class IdBox {
    Id1,
    ByDashes,    // by the payer number's dashes
    ByYesNoBox,  // id 2 when the document's box idBoxField is marked, else id 1
    None,
};

struct SourceDocument;

// What the list takes of a statement form beyond its row of the statement
// table (platform/store/StatementForms.h): the identification box its
// entries mark, and the Georgia amount it gives outside its state lines, in
// place of the line's (null when the lines give it).
struct SourceLayout {
    const StatementForm& statement;
    IdBox idBox = IdBox::None;
    FieldId idBoxField = Primitives::kNullFieldID;
    double (*amountOutsideRows)(const SourceDocument& document, double rowAmount) = nullptr;
};

// One copy of a federal source document, read through the Georgia return:
// its texts, its boxes and its amounts in dollars (the documents keep
// hundredths; the edit code of each field says so).
struct SourceDocument {
    const DataMgmt::TaxReturn& federal;
    const GADataMgmt::GATaxReturn& ga;
    const SourceLayout& layout;
    std::uint16_t copy;
    DataMgmt::TaxFormPtr form;
    int filingStatus;

    const FormId& formId() const { return layout.statement.form; }
    std::string text(const FieldId& x) const { return federal.getFieldAsString(formId(), copy, x); }
    bool yes(const FieldId& x) const { return federal.formYes(formId(), copy, x); }
    double dollars(const FieldId& x) const {
        return x.isNullID() ? 0.0 : ga.federalDisplayAmount(*form, x.getNumber());
    }
};

// A 1099-G: unemployment compensation when its box says so, else the
// taxable grants and payments when theirs does.
double form165Amount(const SourceDocument& document, double rowAmount) {
    const Form165Lines& g = kForm165Lines;
    if (document.yes(g.unemploymentBox)) {
        return document.dollars(g.unemployment);
    }
    if (document.yes(g.grantsBox)) {
        return document.dollars(g.grants[0]) + document.dollars(g.grants[1]) + document.dollars(g.grants[2]);
    }
    return rowAmount;
}

// A 1099-DIV: its ordinary and capital-gain dividends.
double form164Amount(const SourceDocument& document, double /*rowAmount*/) {
    return document.dollars(kForm164Lines.ordinaryDividends) + document.dollars(kForm164Lines.capitalGainDividends);
}

// Each statement form as the list takes it, in the statement table's order.
SourceLayout layoutFor(const StatementForm& statement) {
    SourceLayout layout{.statement = statement};
    if (statement.form == kForm52ID || statement.form == kForm165ID || statement.form == kForm84ID) {
        layout.idBox = IdBox::Id1;
    } else if (statement.form == kForm54ID) {
        layout.idBox = IdBox::ByYesNoBox;
        layout.idBoxField = kForm54Lines.payerIdOfSecondKind;
    } else if (!statement.payerId.isNullID()) {
        layout.idBox = IdBox::ByDashes;  // 1099-MISC, form 186662
    }
    if (statement.form == kForm165ID) {
        layout.amountOutsideRows = &form165Amount;
    } else if (statement.form == kForm164ID) {
        layout.amountOutsideRows = &form164Amount;
    }
    return layout;
}

const std::vector<SourceLayout>& layouts() {
    static const std::vector<SourceLayout> table = [] {
        std::vector<SourceLayout> all;
        for (const StatementForm& statement : kStatementForms) {
            all.push_back(layoutFor(statement));
        }
        return all;
    }();
    return table;
}

const SourceLayout* layoutOf(int formNumber) {
    for (const SourceLayout& layout : layouts()) {
        if (layout.statement.form.getNumber() == formNumber) {
            return &layout;
        }
    }
    return nullptr;
}

// Form 70's four withholding rows, the sources of entries from form 70.
const std::array<Form70Lines::IncomeStatement, 4>& form70Rows() { return kForm70Lines.payments.incomeStatements; }

// The state lines of a document that count in its Georgia withholding, as
// the host's Georgia tax withheld counts them: on a copy that counts on the
// return (a spouse's on a joint return only), Georgia named, withholding that
// counts. The first of them gives the entry's state number and amount.
std::vector<std::size_t> georgiaLines(const SourceDocument& document) {
    const StatementForm& statement = document.layout.statement;
    std::vector<std::size_t> lines;
    if (!statement.counts(!statement.spouseBox.isNullID() && document.yes(statement.spouseBox),
                          document.filingStatus)) {
        return lines;
    }
    for (std::size_t r = 0; r < statement.lines.size(); ++r) {
        const SourceStateRow& row = statement.lines[r];
        if (namesState(document.text(row.state), "GA") && statement.withholdingCounts(document.dollars(row.withheld))) {
            lines.push_back(r);
        }
    }
    return lines;
}

// What one entry of the list shows: its kind boxes, identification numbers
// and amounts.
struct EntryValues {
    std::string payerId;
    std::string stateId;
    double withheld = 0.0;
    double amount = 0.0;
    bool wage = false;
    bool info = false;
    std::array<bool, 4> ownRow{};  // form 70's withholding rows
    bool id1 = false;
    bool id2 = false;
    bool payerMayBeEntered = false;  // the document has no payer number

    // The identification box by the dashes of a payer number: exactly one
    // dash is an id of the first kind.
    void markIdByDashes(const std::string& number) {
        std::string dashes;
        GATaxReturnCalcEngine::countSeparators(dashes, number);
        (dashes == "1" ? id1 : id2) = true;
    }
};

// An entry from one of form 70's own withholding rows (0 to 3); every row
// whose withholding equals the entry's marks its box, and the entry's own
// row gives the payer number (two rows withholding alike keep each its
// payer). Nothing when the row or form 70 does not exist.
std::optional<EntryValues> readOwnRow(const GADataMgmt::GATaxReturn& ga, int entryNumber) {
    if (entryNumber < 0 || entryNumber > 3 || !ga.formExists(kGAForm70ID, 1)) {
        return std::nullopt;
    }
    const auto& rows = form70Rows();
    const Form70Lines::IncomeStatement& own = rows[static_cast<std::size_t>(entryNumber)];
    EntryValues values;
    // The row's number as typed says its kind by its dashes; the entry's
    // field stores it as its kind does (its nine digits).
    const std::string typed = ga.getFieldAsString(kGAForm70ID, 1, own.payerId);
    values.markIdByDashes(typed);
    values.payerId = typed;
    values.stateId = ga.getFieldAsString(kGAForm70ID, 1, own.stateId);
    values.amount = ga.getIR(kGAForm70ID, 1, own.georgiaWages);
    values.withheld = ga.getIR(kGAForm70ID, 1, own.withheld);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        values.ownRow[r] = ga.getIR(kGAForm70ID, 1, rows[r].withheld) == values.withheld;
    }
    return values;
}

// An entry from a federal source document: its Georgia tax withheld, every
// line of it that counts (as the host's total counts it); the first of them
// gives the state number and the amounts, unless the document gives its
// amount outside its lines.
EntryValues readDocument(const SourceDocument& document) {
    const SourceLayout& layout = document.layout;
    const StatementForm& statement = layout.statement;
    EntryValues values;
    values.wage = statement.wageStatement;
    values.info = !statement.wageStatement;
    values.payerMayBeEntered = statement.payerId.isNullID();
    if (!statement.payerId.isNullID()) {
        values.payerId = document.text(statement.payerId);
    }
    switch (layout.idBox) {
        case IdBox::Id1:
            values.id1 = true;
            break;
        case IdBox::ByDashes:
            values.markIdByDashes(values.payerId);
            break;
        case IdBox::ByYesNoBox:
            (document.yes(layout.idBoxField) ? values.id2 : values.id1) = true;
            break;
        case IdBox::None:
            break;
    }

    const std::vector<std::size_t> lines = georgiaLines(document);
    for (const std::size_t r : lines) {
        values.withheld += document.dollars(statement.lines[r].withheld);
    }
    if (!lines.empty()) {
        const SourceStateRow& row = statement.lines[lines.front()];
        values.stateId = document.text(row.stateId);
        values.amount = document.dollars(row.amount) + document.dollars(row.otherAmount);
    }
    if (layout.amountOutsideRows != nullptr) {
        values.amount = layout.amountOutsideRows(document, values.amount);
    }
    return values;
}

void nullEntry(DataMgmt::TaxForm& form, const WithholdingEntryLines& e) {
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

// Writes an entry: its boxes, the payer number (closed to entry when the
// document gives one; open for the filer's own when the document has none),
// the state number and the amounts.
void writeEntry(DataMgmt::TaxForm& entry, const WithholdingEntryLines& e, const EntryValues& values) {
    setBox(entry, e.wageBox, values.wage);
    setBox(entry, e.row1Box, values.ownRow[0]);
    setBox(entry, e.row3Box, values.ownRow[2]);
    setBox(entry, e.infoBox, values.info);
    setBox(entry, e.row4Box, values.ownRow[3]);
    setBox(entry, e.row2Box, values.ownRow[1]);
    setBox(entry, e.id1Box, values.id1);
    setBox(entry, e.id2Box, values.id2);
    if (!values.payerId.empty()) {
        entry.makeProtected(e.payerId);
        entry.assignText(e.payerId, values.payerId);
    } else if (values.payerMayBeEntered) {
        entry.unprotectAndMaybeSetNull(e.payerId);
        if (entry.nonNull(e.payerId)) {
            entry.setX(e.id1Box);
        }
    } else {
        entry.makeProtectedAndSetNull(e.payerId);
    }
    entry.assignText(e.stateId, values.stateId);
    entry.assignIR(e.stateAmount, values.amount);
    entry.assignIR(e.withheld, values.withheld);
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

void GATaxReturnCalcEngine::rebuildSourceLinks() {
    const auto clearLinks = [this](const FormId& form, std::uint16_t copy, const auto& entries) {
        clearFieldRange(form, copy, entries.front().link, entries.back().link);
    };
    clearLinks(kGAForm70ID, 1, kForm70WithholdingEntries);
    for (const std::uint16_t copy : gaReturn_->copyNumbers(kGAForm189218ID)) {
        clearLinks(kGAForm189218ID, copy, kForm189218WithholdingEntries);
    }
    int counter = 0;
    for (const SourceLayout& layout : layouts()) {
        collectStateSourceLinks(layout.statement.form, counter, 0);
    }
    for (int pass = 0; pass < static_cast<int>(form70Rows().size()); ++pass) {
        collectStateSourceLinks(kGAForm70ID, counter, pass);
    }
}

void GATaxReturnCalcEngine::collectStateSourceLinks(const FormId& source, int& counter, int pass) {
    const bool fromForm70 = source == kGAForm70ID;
    const SourceLayout* layout = fromForm70 ? nullptr : layoutOf(source.getNumber());
    if (!fromForm70 && (layout == nullptr || source.isState())) {
        return;  // not a source of Georgia withholding
    }
    const auto& rows70 = form70Rows();
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
            qualifies = !georgiaLines(SourceDocument{owner, *gaReturn_, *layout, copy, document,
                                                     gaReturn_->getFilingStatusNumber()})
                             .empty();
        }
        if (qualifies) {
            writeLink(++counter,
                      std::to_string(source.getNumber()) + "/" + std::to_string(copy) + "/" + std::to_string(pass));
        }
    }
}

// Entry n of the list: on form 70 for the first six, then nine a copy on
// form 189218, whose copy is created when needed.
void GATaxReturnCalcEngine::writeLink(int n, const std::string& link) {
    if (n <= kForm70Entries) {
        DataMgmt::TaxFormPtr form70 = gaReturn_->getFormUVPtr(kGAForm70ID, 1, true);
        if (!form70.isNull()) {
            form70->assignText(kForm70WithholdingEntries[static_cast<std::size_t>(n - 1)].link, link);
        }
        return;
    }
    const int index = n - kForm70Entries - 1;
    const auto continuation = static_cast<std::uint16_t>(index / kEntriesPerContinuation + 1);
    const int slot = index % kEntriesPerContinuation;
    DataMgmt::TaxFormPtr form189218 = gaReturn_->getFormUVPtr(kGAForm189218ID, continuation, true);
    if (form189218.isNull()) {
        return;  // past the continuation form's copies: the entry has no place
    }
    form189218->assignText(kForm189218WithholdingEntries[static_cast<std::size_t>(slot)].link, link);
}

// ------------------------------------------------------------ refilling an entry

int GATaxReturnCalcEngine::checkSourceLink(const FormId& form, std::uint16_t copy, const WithholdingEntryLines& e) {
    DataMgmt::TaxFormPtr handle = gaReturn_->getFormUVPtr(form, copy, false);
    if (handle.isNull()) {
        return 0;
    }
    DataMgmt::TaxForm& entry = *handle;
    // Most entries of the list are empty: an empty link is not rendered.
    if (entry.isNull(e.link)) {
        nullEntry(entry, e);
        return 0;
    }

    const std::string linkText = entry.valueString(e.link);
    int sourceNumber = 0;
    int sourceCopy = 0;
    int entryNumber = 0;
    std::optional<EntryValues> values;
    if (!Utils::strip(linkText).empty() &&
        GADataMgmt::parseSourceDocumentLink(linkText, sourceNumber, sourceCopy, entryNumber) && sourceNumber > 0 &&
        sourceCopy >= 1 && sourceCopy <= 65535) {
        const auto sourceCopyNumber = static_cast<std::uint16_t>(sourceCopy);
        if (sourceNumber == kGAForm70ID.getNumber()) {
            values = readOwnRow(*gaReturn_, entryNumber);
        } else if (const SourceLayout* layout = layoutOf(sourceNumber)) {
            DataMgmt::TaxFormPtr document =
                federalReturn()->getFormUVPtr(layout->statement.form, sourceCopyNumber, false);
            if (!document.isNull()) {
                values = readDocument(SourceDocument{*federalReturn(), *gaReturn_, *layout, sourceCopyNumber, document,
                                                     gaReturn_->getFilingStatusNumber()});
            }
        }
    }
    if (!values) {
        nullEntry(entry, e);
        return 0;
    }
    // An entry holds its tax withheld as form 70 lists it, which the
    // amended return's copy of the list shows as it stands.
    values->withheld = gaReturn_->listedStatementWithholding(values->withheld);
    writeEntry(entry, e, *values);
    return 1;
}

void GATaxReturnCalcEngine::checkForm70SourceLinks(std::uint16_t copy) {
    for (const WithholdingEntryLines& entry : kForm70WithholdingEntries) {
        checkSourceLink(kGAForm70ID, copy, entry);
    }
}

// ------------------------------------------------------------ form 189218

void GATaxReturnCalcEngine::calcSourceLinksForm(DataMgmt::TaxFormPtr handle, std::uint16_t copy, int /*passThrough*/) {
    if (handle.isNull()) {
        return;
    }
    gaReturn_->getII(kGAForm69ID, kForm69Lines.heading.taxpayerNumber, handle, kForm189218Lines.taxpayerNumber);
    int known = 0;
    for (const WithholdingEntryLines& entry : kForm189218WithholdingEntries) {
        known += checkSourceLink(kGAForm189218ID, copy, entry);
    }
    if (known > 0) {
        gaReturn_->setDataEntered(kGAForm189218ID, copy, true, false);
        handle->setCalculatedFlag(true);
    }
}

}  // namespace GACalculationMgmt
