// The state layer of the calculation engine.
//
// StateTaxReturnCalcEngine runs the calculation walk over the forms of the
// state return (whole return, every copy of one form, one copy), hands each
// copy to the state's per-copy dispatcher, and offers the state's form
// routines the work every state return needs: owner names, numbers and the
// home address of the information form, the heading transfers from the
// federal return, the state rows of federal form 190, and the range, scale
// and clamp helpers on state fields.
//
// The engine reads the federal return through the host base's return pointer
// and reads and writes every state form through the state return. Both
// returns are owned by the host and outlive the engine.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "module/catalogues/LicenceLines.h"
#include "module/state_calc/WageLineTable.h"
#include "platform/Primitives.h"
#include "platform/framework/CalcEngine.h"
#include "platform/store/DataMgmt.h"
#include "platform/store/IntDivCopyAmounts.h"
#include "platform/store/StateDataMgmt.h"
#include "platform/util/Utils.h"

namespace XmlDom {
class XmlNodePtr;
class XmlNamedNodeMapPtr;
}  // namespace XmlDom

namespace StateCalculationMgmt {

using FormId = Primitives::QVImmutableFormIdentifier;
using FieldId = Primitives::QVImmutableIdentifier;

// Working state of one field-relation run of the test facility.
struct FieldRelationRun;

// One FIELDREF of a FIELDGROUPS file: its FORM, COPY, FIELD and VALUE texts.
struct FieldGroupRow {
    std::string form;
    std::string copy;
    std::string field;
    std::string value;
};

// The information-form fields of heading rows 1 to 15 (taxpayer first,
// middle and last name, suffix and number; the same for the spouse; street,
// apartment, city, state and ZIP code).
using HeadingRowFields = std::array<FieldId, 15>;

// Column offsets of a row of the interest or dividend statement, the
// distance from one row's first field to the next, and the running totals of
// the four amount categories while one statement copy is drawn.
struct SummaryRowLayout {
    std::int8_t descriptionColumn = 0;
    std::int8_t sourceAmountColumn = 1;
    std::int8_t codeColumn = 2;
    std::int8_t firstAmountColumn = 3;
    std::int8_t secondAmountColumn = 4;
    std::int8_t rowStride = 5;
    double regularTotal = 0.0;
    double usObligationTotal = 0.0;
    double inStateMunicipalTotal = 0.0;
    double outOfStateMunicipalTotal = 0.0;
};

// What one copy of a federal interest or dividend form contributes to its
// statement, by category (currency units; PersistanceMgmt::IntDivCategories,
// which the items derived from the federal return read alike), with its
// owner (0 taxpayer, 1 spouse, 2 joint).
struct IntDivCategoryAmounts : PersistanceMgmt::IntDivCategories {
    int ownerCode = 0;
};

// The common federal amounts of the state wage worksheet: taxable interest,
// ordinary dividends, the taxpayer's and (joint only) the spouse's worksheet
// adjustment, the other wages of the taxpayer plus (joint only) the spouse,
// and the taxpayer's and (joint only) the spouse's amount of the federal main
// form.
struct WageCommonAmounts {
    double taxableInterest = 0.0;
    double ordinaryDividends = 0.0;
    double adjustmentTaxpayer = 0.0;
    double adjustmentSpouse = 0.0;
    double otherWages = 0.0;
    double ownerAmount = 0.0;
    double spouseAmount = 0.0;
};

// The residency of a state wage worksheet against its last allocation
// (field 7): the same, none yet (field 7 empty: an entered amount stays), or
// another (the open state columns start again from 0).
enum class ResidencyChange { kUnchanged, kFirstAllocation, kChanged };

// The fixed parts of one of the two statements.
struct StatementTraits;

class StateTaxReturnCalcEngine : public CalculationMgmt::TaxReturnCalcEngine {
public:
    // Refuses, with Exceptions::QuarloException, a federal return that is
    // missing and a state return that is missing or not a state return: every
    // operation of the engine reads through both.
    StateTaxReturnCalcEngine(DataMgmt::USTaxReturn* federalReturn, DataMgmt::TaxReturn* stateReturn,
                             TaxFormPrintMgmt::TaxFormPrinterPtr printer);
    ~StateTaxReturnCalcEngine() override;

    // ---- host-visible calculation (the host base's slots)
    void calculateReturn(int value) override;
    void calculateForm(const FormId& form, int copy, int markEntered, int second, int third,
                       DataMgmt::TaxFormPtr handle) override;
    void calculateAllCopies(const FormId& form) override;
    void calculateIfNeeded(int value) override;
    long getRefundOrBalanceDue() override;

    // ---- the state's part, filled by the state engine
    virtual void calcAllForms() = 0;
    virtual void calcFormCopy(const FormId& form, int copy, int markEntered, int second, int third,
                              DataMgmt::TaxFormPtr handle) = 0;
    virtual FormId getMainForm() = 0;
    virtual FormId getFederalForm() = 0;
    virtual char getFilingStatus() = 0;
    virtual void calcStateSharedForm(const FormId& form, DataMgmt::TaxFormPtr handle, int copy, int passThrough) = 0;
    virtual void spareFormHook1(const FormId& form, DataMgmt::TaxFormPtr handle, int copy, int passThrough) = 0;
    virtual void spareFormHook2(const FormId& form, DataMgmt::TaxFormPtr handle, int copy, int passThrough) = 0;
    virtual void spareFormHook3(const FormId& form, DataMgmt::TaxFormPtr handle, int copy, int passThrough) = 0;
    virtual void spareFormHook4(const FormId& form, DataMgmt::TaxFormPtr handle, int copy, int passThrough) = 0;
    virtual void spareFormHook5(const FormId& form, DataMgmt::TaxFormPtr handle, int copy, int passThrough) = 0;
    virtual void spareFormHook6(const FormId& form, DataMgmt::TaxFormPtr handle, int copy, int passThrough) = 0;
    virtual void calcUnderpaymentForm(const FormId& form, DataMgmt::TaxFormPtr handle, int copy, int passThrough) = 0;
    virtual void calcOtherStateCreditForm(const FormId& form, DataMgmt::TaxFormPtr handle, int copy,
                                          int passThrough) = 0;
    virtual void calcDocumentListForm(const FormId& form, DataMgmt::TaxFormPtr handle, int copy, int passThrough) = 0;
    virtual void calcGroupedForm(const FormId& form, DataMgmt::TaxFormPtr handle, int copy, int passThrough) = 0;
    virtual void calcAmendedReturnForm(const FormId& form, DataMgmt::TaxFormPtr handle, int copy, int passThrough) = 0;
    virtual void calcBusinessCreditForm(const FormId& form, DataMgmt::TaxFormPtr handle, int copy, int passThrough) = 0;
    virtual void spareFormHook7(const FormId& form, DataMgmt::TaxFormPtr handle, int copy, int passThrough) = 0;
    virtual void beforeCalc() = 0;
    virtual void afterCalc() = 0;

    // ---- test facility (runs only when the configuration allows automated
    // testing; module/autotest). Test files name forms and fields as
    // module/autotest/TestFieldNames.h says; a return is refused with
    // QuarloException when it is missing.
    // Sets the fields of an import file: lines FORM::COPY::FIELD::VALUE,
    // where runs of ':' separate the fields and a copy "N+" stands for
    // copies 1 to N. A line without four fields, on an unknown form or
    // field, is skipped; one whose N is no copy of the form is not set, with
    // a note.
    virtual void importFieldValues(const std::string& fileName, DataMgmt::TaxReturn* taxReturn);
    // Writes one test value (module/autotest/TestValueSetter.cpp) and marks
    // the copy entered; with onlyIfValued, only into a field that holds a
    // significant value. A field the form does not have, a copy number
    // outside 1 to 65535 or past the form's limit, and a random amount
    // without its bracketed maximum change nothing.
    virtual void setFieldTestValue(const FormId& form, int copy, const FieldId& field, const std::string& value,
                                   DataMgmt::TaxReturn* taxReturn, bool onlyIfValued);
    // Applies each relation of the relations file to the return, recalculates
    // it twice with the trigger box ticked, and appends a line of its inputs
    // and of each expected field's expected and computed value to the result
    // file. Only fields of the forms in the forms list can be named.
    virtual void runFieldRelations(const std::string& formsFile, const std::string& relationsFile,
                                   const std::string& resultFile, DataMgmt::TaxReturn* taxReturn,
                                   const FormId& triggerForm, const FieldId& triggerField);
    virtual void processRelationNode(const XmlDom::XmlNodePtr& node, FieldRelationRun& run);
    virtual void processChildNodes(const XmlDom::XmlNodePtr& node, FieldRelationRun& run);
    // The attribute's value; empty when the map has no such attribute.
    virtual std::string getXmlAttribute(const XmlDom::XmlNamedNodeMapPtr& attributes, const std::string& name);
    // Overwrites, through the setter, the fields of the entity's field group
    // of a FIELDGROUPS file that hold a value, then ticks the mark on copy 1
    // of the mark form. A file without a root element changes nothing.
    void scrubFieldGroups(const std::string& entity, const std::string& fileName, DataMgmt::TaxReturn* taxReturn,
                          const FormId& markForm, const FieldId& markField);
    // Collect the FIELDREF rows of the last FIELDGROUP of the entity.
    void parseFieldGroups(const XmlDom::XmlNodePtr& node, const std::string& entity, std::vector<FieldGroupRow>* rows);
    void walkFieldGroups(const XmlDom::XmlNodePtr& node, const std::string& entity, std::vector<FieldGroupRow>* rows);
    // The two hooks after the test driver. Each reads its clear file (named
    // after the state code), stops while the done mark of copy 1 of the
    // information form is set, and runs its feature when the options file
    // asks for it and the busy mark is clear: the scrubber with the state
    // code as entity, or the daemon dump of the return.
    void runScrubberHook(const std::string& stateCode, DataMgmt::TaxReturn* taxReturn, const FormId& infoForm,
                         const FieldId& doneMark, const FieldId& busyMark);
    void runCfvDaemonHook(const std::string& stateCode, DataMgmt::TaxReturn* taxReturn, const FormId& infoForm,
                          const FieldId& doneMark, const FieldId& busyMark);
    // Clears the done mark and writes the scrubber's clear file with CLEAR No.
    void resetScrubberOptions(const std::string& stateCode, DataMgmt::TaxReturn* taxReturn, const FormId& infoForm,
                              const FieldId& doneMark);
    // Clears the done mark only.
    void clearAutoTestBox(DataMgmt::TaxReturn* taxReturn, const FormId& infoForm, const FieldId& doneMark);
    // The whole-return XML of the given return without field identifiers,
    // after a whole calculation under the busy mark, into
    // directory/<return name>.xml; sets the done mark.
    void writeReturnXmlDump(std::string directory, DataMgmt::TaxReturn* taxReturn, const FormId& infoForm,
                            const FieldId& doneMark, const FieldId& busyMark);

    // ---- calculation walk helpers
    // Sets the calculated flag of every copy of every form of the state
    // return to false.
    void clearCalculatedFlags();
    // Nulls the fields of one state copy from first to last, both included,
    // in the form's field order. A first (last) field numbered 0 or less
    // stands for the form's first (last) field. Last is always nulled, also
    // when it lies before first. A missing copy is left alone.
    void clearFieldRange(const FormId& form, int copy, FieldId first, FieldId last);
    // Stores amount x 10^decimals (decimals 1 to 6; any other count stores
    // the amount itself) and hands back the stored whole number divided by
    // the same factor; on a missing copy hands back 0 and writes nothing.
    void storeScaledAmount(const FormId& form, int copy, FieldId field, double& amount, char decimals);
    // An empty field receives defaultValue; a filled one is pulled into
    // [low, high] (a value equal to a bound stays). A missing copy is left
    // alone.
    void defaultOrClampField(const FormId& form, int copy, FieldId field, double defaultValue, double low, double high);

    // ---- wage-line table (built once per module life, by the first engine)
    static void buildWageLineTable();

    // ---- owner names and addresses, read from the information form through
    // column 4 of the field-triple table (rows 1 to 16)
    static void buildFieldTripleTable();
    std::string& buildDisplayName(std::string& dest, const FormId& source, FieldId first, FieldId middle, FieldId last,
                                  FieldId suffix, Utils::DISPLAY_NAME display);
    std::string& buildPersonName(std::string& dest, const FormId& source, std::uint16_t firstRow,
                                 std::uint16_t middleRow, std::uint16_t lastRow, std::uint16_t suffixRow,
                                 Utils::DISPLAY_NAME display);
    std::string& getStrippedText(std::string& dest, DataMgmt::TaxFormPtr copy, std::uint16_t row, std::uint16_t width);
    // Owner code 10: the spouse; 0 or 2: both filers; any other: the taxpayer.
    std::string& composeOwnerName(std::string& dest, const FormId& source, std::int16_t ownerCode,
                                  Utils::DISPLAY_NAME display);
    std::string& getOwnerName(std::string& dest, const FormId& source, std::int16_t ownerCode);
    void assignOwnerName(DataMgmt::TaxFormPtr target, const FormId& source, std::int16_t ownerCode,
                         Utils::DISPLAY_NAME display, FieldId taxpayerName, FieldId taxpayerNumber,
                         FieldId secondTaxpayerName, FieldId secondTaxpayerNumber, FieldId spouseName,
                         FieldId spouseNumber, FieldId secondSpouseName, FieldId secondSpouseNumber, FieldId extra,
                         int upperCase);
    void getTableTexts(const FormId& source, const std::array<std::uint16_t, 5>& rows,
                       std::array<std::string, 5>& texts, int upperCase);
    void assignOwnerInfo(DataMgmt::TaxFormPtr target, const FormId& source, std::int16_t ownerCode,
                         FieldId taxpayerFirst, FieldId taxpayerMiddle, FieldId taxpayerLast, FieldId taxpayerSuffix,
                         FieldId taxpayerNumber, FieldId spouseFirst, FieldId spouseMiddle, FieldId spouseLast,
                         FieldId spouseSuffix, FieldId spouseNumber, FieldId extra, int upperCase);
    void getAddress(const FormId& source, std::string& city, std::string& region, std::string& fallbackRegion,
                    std::string& postalCode, int upperCase);
    void assignAddress(DataMgmt::TaxFormPtr target, FieldId city, FieldId state, FieldId zipCode, FieldId foreignRegion,
                       FieldId foreignPostalCode, int upperCase);
    void assignAddressFields(DataMgmt::TaxFormPtr target, FieldId city, FieldId state, FieldId zipCode, int upperCase);
    void assignAddressLine(DataMgmt::TaxFormPtr target, FieldId streetLine, int upperCase);
    // 4 when box4 is marked on copy 1 of the form, else 3 for box3, else 2
    // for box2, else 1 (also when the form has no copy 1). box1 is not read.
    int getRadioGroupValue(DataMgmt::TaxFormPtr unused, const FormId& form, FieldId box1, FieldId box3, FieldId box2,
                           FieldId box4);

    // ---- information-form transfers from the federal return
    // 1 full-year resident, 2 part-year resident, 3 nonresident.
    int getResidencyStatus(bool spouse);
    // The federal main form that federal form 104 says was filed: 87, 55 or 1.
    FormId getCheckBoxStatus();
    void transferHeadingRows(DataMgmt::TaxFormPtr info, FormId federalForm, const FormId& ownerInfoForm,
                             const FormId& enabledTypeForm, const HeadingRowFields& rows, FieldId field736Target,
                             FieldId form1Box, FieldId form55Box, FieldId form87Box);
    void transferFilingOptions(DataMgmt::TaxFormPtr info, FieldId choiceA, FieldId choiceB, FieldId detailD,
                               FieldId companionE, FieldId detail1, FieldId detail2, FieldId detail3, FieldId detail4,
                               FieldId typeBox3, FieldId typeBox4, FieldId typeBox5, FieldId choiceC);
    void protectHeadingFields(DataMgmt::TaxFormPtr info, FieldId yesBox, FieldId noBox, FieldId detailBox,
                              FieldId detailCompanion, FieldId detailText1, FieldId detailText2, FieldId detail3,
                              FieldId detail4, FieldId optionBox5, FieldId optionBox6, FieldId optionBox7);
    // The filers' driver's licence or state ID answers, from federal form
    // 92; the spouse's only on a return that carries the spouse.
    void transferDriverLicenseInfo(DataMgmt::TaxFormPtr info, const FilerLicenceLines& licence);
    void transferStateRows(DataMgmt::TaxFormPtr info, FieldId secondGroupTotal, FieldId outputSum, FieldId grandTotal,
                           const std::array<FieldId, 12>& outputAmounts);
    // Whether a row of federal form 190 (its state text, its amount) is the
    // state's: its state is the state's abbreviation (any case), or it names
    // no state and its amount is above 0. The state's transfer and every
    // other reading of the rows count a row alike.
    static bool isStateRow(const std::string& rowState, double amount, const std::string& abbreviation);

    // ---- interest and dividend statements (state forms 2 and 3)
    // Lays both statements out over their copies: which source copy and line
    // type stands on which line of which copy; leftover lines are nulled.
    void buildIntDivSummaries(int recalculate, FormId infoForm, FormId closingForm, FormId interestForm,
                              FieldId interestFirstLine, FormId dividendForm, FieldId dividendFirstLine);
    // Recalculates one copy of the interest (dividend) statement from the
    // row-information texts that the layout wrote.
    void buildInterestStatement(DataMgmt::TaxFormPtr form, std::uint16_t copy, std::int16_t extraValue, FormId infoForm,
                                std::int16_t filingStatus, int nameFormat, int allocationOption);
    void buildDividendStatement(DataMgmt::TaxFormPtr form, std::uint16_t copy, std::int16_t extraValue, FormId infoForm,
                                std::int16_t filingStatus, int nameFormat, int allocationOption);
    // Amounts of one source copy: federal form 164 (dividends), 166
    // (interest), and 51 or 89 (either; any other form gives zeros).
    void getDividendSourceAmounts(FormId sourceForm, std::uint16_t sourceCopy, IntDivCategoryAmounts& out);
    void getInterestSourceAmounts(FormId sourceForm, std::uint16_t sourceCopy, IntDivCategoryAmounts& out);
    void getOtherDividendAmounts(FormId sourceForm, std::uint16_t sourceCopy, IntDivCategoryAmounts& out);
    void getOtherInterestAmounts(FormId sourceForm, std::uint16_t sourceCopy, IntDivCategoryAmounts& out);
    // The layout's room test, amount lines and final clearing.
    void clearUnusedSummaryLines(FormId statementForm, std::uint16_t& copy, DataMgmt::QVFieldIDIter& position,
                                 FieldId firstLine, short lineCount, bool recalculate);
    void setIntDivInfoAllRows(DataMgmt::TaxFormPtr statement, DataMgmt::QVFieldIDIter& position,
                              const std::string& payerName, const FormId& sourceForm, std::uint16_t sourceCopy,
                              double regularAmount, double usObligationAmount, double municipalTotal, int kind);
    void clearUnusedSummaryLinesAllCopies(DataMgmt::TaxFormPtr lastUsed, FormId statementForm, std::uint16_t copy,
                                          FieldId firstFree, FieldId firstLine, bool recalculate);

    // ---- statement rows
    // The row-information text "%s||%d||%d||%d": payer name, federal form
    // number, copy and line type. Every output is set; a text without a
    // separator gives an empty name and zeros.
    void parseIntDivInfo(DataMgmt::TaxFormPtr summaryForm, const FieldId& infoField, std::string& nameOut,
                         FormId& formOut, std::uint16_t& copyOut, int& lineTypeOut);
    // Rewrites the text from its own parts and the given ones (an empty
    // name, a form numbered 0 or less, copy 0 or a line type below 1 keeps
    // the stored part). Refuses a state source form and a line type of 10 or
    // more; the text is kept within 79 characters by shortening the name, and
    // a '|' of the name is written as '/' so that it is never a separator.
    void setIntDivInfo(DataMgmt::TaxFormPtr summaryForm, const FieldId& infoField, const std::string& payerName,
                       FormId sourceForm, std::uint16_t copy, int lineType);
    // The payer name of a copy of federal form 166, 164, 51 or 89.
    void getBankName(std::string& nameOut, FormId sourceForm, std::uint16_t copy);
    // Draws one row by line type and moves the row on (line types 1 to 9).
    void fillDisplayLine(DataMgmt::TaxFormPtr summaryForm, const FormId& summaryFormId, std::uint16_t copy,
                         DataMgmt::QVFieldIDIter& row, int lineType, const std::string& payerName,
                         const IntDivCategoryAmounts& amounts);
    // Empties a row's source amount, code and amount columns (the amount
    // columns protected), and its description too when asked.
    void nullSummaryRow(DataMgmt::TaxFormPtr summaryForm, const FieldId& rowFirstField, bool clearDescription);
    // Opens, closes and bounds the two allocation columns of each total line
    // (total, column 2, column 3); the list ends at a null field.
    static void intDivSummaryAllocation1(DataMgmt::TaxFormPtr summaryForm, int allocationOption,
                                         const std::vector<FieldId>& groups);
    const SummaryRowLayout& summaryRowLayout() const { return rowLayout_; }

    // ---- state wage worksheet (state form 4)
    void allocateStateWages(DataMgmt::TaxFormPtr form, const char* abbreviation, FormId infoForm,
                            std::uint16_t filingStatus, int residency, int displayValue);
    // Opens, closes, nulls and caps columns B and C of one income line.
    void limitWageRow(DataMgmt::TaxFormPtr form, int residency, ResidencyChange change, FieldId amountField,
                      FieldId columnBField, std::uint8_t limitMode);
    WageCommonAmounts sumPullCommon(std::uint16_t filingStatus);
    // Fields 8 to 13: the statements' totals over all their copies, in the
    // worksheet column that kind selects (1, 2, 3; any other: 2 and 3).
    void sumAllCopies(DataMgmt::TaxFormPtr form, int kind);
    // The worksheet's totals, common item 80, and its marks.
    void pullCommonAmount(DataMgmt::TaxFormPtr form);

    // ---- common federal texts and boxes
    // Fills one state field from the federal return by common item 116 to
    // 150; any other item is refused with "Invalid PCType".
    void pullCommonText(FormId federalForm, const FormId& targetForm, std::uint16_t copy, const FieldId& target,
                        Utils::PCTypes type);

    // ---- dated amounts
    // Adds the amounts of twelve (date, amount) rows of copy 1 of a state
    // form, from firstField on in field order, into four periods that end on
    // the given months and days (the fourth in the following year).
    void sumAmountsByPeriod(FormId form, FieldId firstField, double& total1, double& total2, double& total3,
                            double& total4, short endMonth1, short endDay1, short endMonth2, short endDay2,
                            short endMonth3, short endDay3, short endMonth4, short endDay4, short year);
    // Whether the amounts of federal forms 31 and 126 dated in any one year
    // from 2003 to 2010 add up to more than 25000.
    bool scanFormDates();

    DataMgmt::TaxReturn* federalReturn() const { return taxReturn; }
    StateDataMgmt::StateTaxReturn* stateReturn() const { return stateReturn_; }

protected:
    const FormId& interestStatementForm() const { return interestForm_; }
    const FormId& dividendStatementForm() const { return dividendForm_; }
    const FormId& stateWageForm() const { return wageForm_; }

private:
    void recalculateStatement(const StatementTraits& traits, DataMgmt::TaxFormPtr form, std::uint16_t copy,
                              FormId infoForm, std::int16_t filingStatus, int nameFormat, int allocationOption);
    void layOutStatement(const FormId& statementForm, FieldId firstLine, int kind, bool recalculate);

    SummaryRowLayout rowLayout_;
    StateDataMgmt::StateTaxReturn* stateReturn_;
    FormId interestForm_;
    FormId dividendForm_;
    FormId wageForm_;
    // Whether this engine's calculations have chosen the filing option by
    // default (transferFilingOptions): once, at its first calculation. A host
    // builds an engine for each session, so each session's first
    // calculation chooses it, whatever sessions the process ran before.
    bool filingOptionsDefaulted_ = false;
};

}  // namespace StateCalculationMgmt
