#include "platform/store/StateDataMgmt.h"

#include "platform/store/DataMgmtInternal.h"
#include "platform/store/StatementForms.h"

namespace StateDataMgmt {

namespace {

const Primitives::QVImmutableFormIdentifier kGeorgiaMainForm(70, true);
const Primitives::QVImmutableIdentifier kBalanceDueField(106);

}  // namespace

StateTaxReturn::StateTaxReturn(DataMgmt::TaxReturnPtr& federal, DataMgmt::TaxReturnDescPtr desc,
                               Utils::StringPoolPtr pool)
    : DataMgmt::TaxReturn(std::move(desc), std::move(pool)), federal_(federal) {
    if (!isStateReturn()) {
        throw Exceptions::QuarloException("a state return needs a state description", "StateTaxReturn",
                                          "StateTaxReturn");
    }
    if (!federal_.isNull() && federal_->isStateReturn()) {
        throw Exceptions::QuarloException("a state return must be attached to the federal return", "StateTaxReturn",
                                          "StateTaxReturn");
    }
}

StateTaxReturn::~StateTaxReturn() = default;

namespace {

[[noreturn, gnu::noinline, gnu::cold]] void refuseFederalRead(const Primitives::QVImmutableFormIdentifier& f,
                                                              const char* operation) {
    throw Exceptions::QuarloException(
        "federal form " + std::to_string(f.getNumber()) + " cannot be read: no federal return is attached",
        "StateTaxReturn", operation);
}

}  // namespace

const DataMgmt::TaxReturn& StateTaxReturn::readerFor(const FormID& f, const char* operation) const {
    if (f.isState()) {
        return *this;
    }
    if (federal_.isNull()) {
        refuseFederalRead(f, operation);
    }
    return *federal_;
}

// ---- host operations with a base behaviour

void StateTaxReturn::MapFormField(FormID&, std::uint16_t copy, FieldID x, std::uint16_t& outCopy, FieldID& outField) {
    outCopy = copy;
    outField = x;
}

void StateTaxReturn::debugStateField(FormID f, FieldID x, typeDebugStateField kind, std::uint32_t place) {
    debugCalls_.push_back(DebugStateFieldCall{f, x, kind, place});
}

std::string StateTaxReturn::formatFieldString(std::int64_t amount, const FormID&, std::uint16_t, const FieldID&) const {
    // Work on the magnitude as unsigned so the most negative amount has one.
    const bool negative = amount < 0;
    std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(amount) : static_cast<std::uint64_t>(amount);
    std::string digits = std::to_string(magnitude);
    std::string out;
    const std::size_t n = digits.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) {
            out += ',';
        }
        out += digits[i];
    }
    return negative ? "-" + out : out;
}

void StateTaxReturn::formatFieldString(char* buf, std::size_t cap, std::int64_t amount, const FormID& f,
                                       std::uint16_t c, const FieldID& x) const {
    DataMgmt::detail::copyToBuffer(buf, cap, formatFieldString(amount, f, c, x));
}

TopicMgmt::TopicStatus StateTaxReturn::isIntWks3Needed() { return TopicMgmt::kTopicStatusNotNeeded; }
TopicMgmt::TopicStatus StateTaxReturn::isDivWks3Needed() { return TopicMgmt::kTopicStatusNotNeeded; }
TopicMgmt::TopicStatus StateTaxReturn::isStallo3Needed() { return TopicMgmt::kTopicStatusNotNeeded; }

// ---- federal-derived services

std::int64_t StateTaxReturn::pullCommon(const FormID& fedForm, std::uint16_t, Utils::PCTypes type) {
    if (fedForm.isState()) {
        throw Exceptions::QuarloException(
            "common items come from federal forms, not state form " + std::to_string(fedForm.getNumber()),
            "StateTaxReturn", "pullCommon");
    }
    auto found = pullCommon_.find({fedForm, static_cast<std::int32_t>(type)});
    return found == pullCommon_.end() ? 0 : found->second;
}

void StateTaxReturn::setPullCommon(const FormID& fedForm, Utils::PCTypes type, std::int64_t value) {
    if (fedForm.isState()) {
        throw Exceptions::QuarloException(
            "common items come from federal forms, not state form " + std::to_string(fedForm.getNumber()),
            "StateTaxReturn", "setPullCommon");
    }
    pullCommon_[{fedForm, static_cast<std::int32_t>(type)}] = value;
}

short StateTaxReturn::dateParse(const DataMgmt::TaxFormPtr& copy, const FieldID& x, Utils::DATEPARSE_TYPE part) const {
    const DataMgmt::FieldValue value = DataMgmt::requireForm(copy, "StateTaxReturn", "dateParse").getValue(x);
    std::uint16_t year = 0;
    std::uint8_t month = 0;
    std::uint8_t day = 0;
    if (!value.isText() || !Utils::convertDateStr(std::string_view(value.getText()), year, month, day)) {
        return 0;
    }
    switch (part) {
        case Utils::kDateParseYear:
            return static_cast<short>(year);
        case Utils::kDateParseMonth:
            return month;
        case Utils::kDateParseDay:
            return day;
    }
    return 0;
}

double StateTaxReturn::federalDisplayAmount(const DataMgmt::TaxForm& copy, std::int32_t field) const {
    const DataMgmt::TaxFormDesc& form = copy.description();
    const int place = form.positionOf(FieldID(field));
    if (place < 0) {
        return 0.0;
    }
    return DataMgmt::displayAmount(copy.getIR(FieldID(field)), form.traitsAt(place).editCode);
}

void StateTaxReturn::getFromW2(const FormID& f, const FieldID& x, const FieldID&, bool, double& taxpayer,
                               double& spouse) const {
    auto seeded = w2Splits_.find({f, x.getNumber()});
    if (seeded != w2Splits_.end()) {
        taxpayer = seeded->second.first;
        spouse = seeded->second.second;
        return;
    }
    double total = 0.0;
    for (DataMgmt::TaxFormIter it = getForms(f); !it.atEOL(); it.next()) {
        DataMgmt::TaxFormPtr copy = it.getTaxForm();
        copy->getIR(x);  // refuses a field the form does not have
        total += federalDisplayAmount(*copy, x.getNumber());
    }
    taxpayer = total;
    spouse = 0.0;
}

void StateTaxReturn::setFromW2(const FormID& f, const FieldID& x, double taxpayer, double spouse) {
    w2Splits_[{f, x.getNumber()}] = {taxpayer, spouse};
}

namespace {

// Whether the state field of a statement's line names the state.
bool isThisState(const DataMgmt::TaxForm& copy, const Primitives::QVImmutableIdentifier& state,
                 std::string_view abbreviation) {
    // Most state lines are empty: an empty field shows no text.
    if (copy.isNull(state)) {
        return abbreviation.empty();
    }
    const DataMgmt::FieldValue value = copy.getValue(state);
    return namesState(value.isText() ? value.getText() : copy.valueString(state), abbreviation);
}

}  // namespace

// Every line of the statement forms (platform/store/StatementForms.h) of
// this state, or of any state, on the copies that count on a return of the
// filing status: the state amounts of the wage statements' lines as wages;
// the tax withheld of a line whose withholding counts, each copy's as the
// state's return lists it; the local tax.
double StateTaxReturn::addStateLines(bool thisStateOnly, bool wages, bool withheld, bool local,
                                     char filingStatus) const {
    if (federal_.isNull()) {
        return 0.0;
    }
    const DataMgmt::TaxReturn& federal = *federal_;
    const std::string_view abbreviation = getAbbreviation();
    double total = 0.0;
    for (const StatementForm& statement : kStatementForms) {
        const bool addsWages = wages && statement.stateWages;
        if (!addsWages && !withheld && !local) {
            continue;
        }
        federal.forEachCopy(statement.form, [&](const DataMgmt::TaxForm& copy) {
            if (!statement.counts(copy.description().hasField(statement.spouseBox) && copy.xMarked(statement.spouseBox),
                                  filingStatus)) {
                return;
            }
            double copyWithheld = 0.0;
            for (const SourceStateRow& line : statement.lines) {
                if (!copy.description().hasField(line.state) ||
                    (thisStateOnly && !isThisState(copy, line.state, abbreviation))) {
                    continue;
                }
                if (addsWages) {
                    total += federalDisplayAmount(copy, line.amount.getNumber());
                }
                const double tax = federalDisplayAmount(copy, line.withheld.getNumber());
                if (withheld && statement.withholdingCounts(tax)) {
                    copyWithheld += tax;
                }
                if (local && !line.localTax.isNullID()) {
                    total += federalDisplayAmount(copy, line.localTax.getNumber());
                }
            }
            if (withheld) {
                total += listedStatementWithholding(copyWithheld);
            }
        });
    }
    return total;
}

double StateTaxReturn::getStateWages(char filingStatus) const {
    return stateWages_ ? *stateWages_ : addStateLines(true, true, false, false, filingStatus);
}

double StateTaxReturn::getAllStateWages(char filingStatus) const {
    return allStateWages_ ? *allStateWages_ : addStateLines(false, true, false, false, filingStatus);
}

double StateTaxReturn::getStateTaxWithheld(char filingStatus) const {
    return stateTaxWithheld_ ? *stateTaxWithheld_ : addStateLines(true, false, true, true, filingStatus);
}

double StateTaxReturn::getStateTaxWithheldNoLocal(char filingStatus) const {
    return stateTaxWithheldNoLocal_ ? *stateTaxWithheldNoLocal_ : addStateLines(true, false, true, false, filingStatus);
}

std::string StateTaxReturn::textString(const FormID& f, std::uint16_t c, const FieldID& x) const {
    return formString(f, c, x);
}

void StateTaxReturn::textString(char* buf, std::size_t cap, const FormID& f, std::uint16_t c, const FieldID& x) const {
    formString(buf, cap, f, c, x);
}

std::int64_t StateTaxReturn::taxBalance() {
    if (taxBalance_) {
        return *taxBalance_;
    }
    DataMgmt::TaxFormDescPtr main = getTaxFormDescriptor(kGeorgiaMainForm);
    if (main.isNull() || !main->hasField(kBalanceDueField)) {
        return 0;
    }
    return getIN(kGeorgiaMainForm, 1, kBalanceDueField);
}

void StateTaxReturn::getRefundCode(char* buf, std::size_t cap) {
    DataMgmt::detail::copyToBuffer(buf, cap, refundCode_);
}

}  // namespace StateDataMgmt
