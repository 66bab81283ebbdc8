// Owner names, numbers and the home address, read from the information form.
//
// Every field of the information form is found through column 4 of the
// field-triple table: rows 1-5 are the taxpayer's first name, middle name,
// last name, suffix and number, rows 6-10 the spouse's, rows 11-15 street,
// apartment, city, state and ZIP code; row 16 names no field. The heading
// transfer fills column 4 before any of these operations run.
#include <array>
#include <string>

#include "module/catalogues/FederalMainFormLines.h"
#include "module/catalogues/FieldTripleTable.h"
#include "module/catalogues/Form92Lines.h"
#include "module/frame/FilingCodes.h"
#include "module/frame/FormIdentifiers.h"
#include "module/state_calc/StateTaxReturnCalcEngine.h"

namespace StateCalculationMgmt {

namespace {

constexpr std::uint16_t kLastTripleRow = 16;
// Owner codes: the filing status, or 10 for the spouse alone.
constexpr std::int16_t kOwnerSpouse = 10;

const char* const kJointSeparator = " & ";
const char* const kApartmentSuffix = " Apt ";

// The information-form field of a table row (1 to 16); the null field for
// row 0 and for any row outside the table.
FieldId infoField(std::uint16_t row) {
    if (row < 1 || row > kLastTripleRow) {
        return Primitives::kNullFieldID;
    }
    return kFieldTripleTable[(row - 1) * kFieldTripleColumns + 3];
}

void upperIfAsked(std::string& text, int upperCase) {
    if (upperCase == 1) {
        Utils::QVStringUtils::toUpperCase(text);
    }
}

std::size_t maxTextLength(DataMgmt::TaxForm& copy, FieldId field) {
    DataMgmt::TaxFormDescPtr formDesc = copy.getTaxFormDescriptor();
    if (formDesc.isNull()) {
        return 0;
    }
    DataMgmt::FormFieldDescPtr fieldDesc = formDesc->getFieldDesc(field);
    return fieldDesc.isNull() ? 0 : fieldDesc->getMaxLength();
}

// Writes a text into a present target field.
void writeText(DataMgmt::TaxForm& copy, FieldId field, const std::string& text) {
    if (!field.isNullID()) {
        copy.assignText(field, text);
    }
}

void writeNull(DataMgmt::TaxForm& copy, FieldId field) {
    if (!field.isNullID()) {
        copy.setNull(field);
    }
}

// The home address of the state return's information form.
struct AddressTexts {
    std::string city;
    std::string region;
    std::string fallbackRegion;
    std::string postalCode;
};

AddressTexts infoFormAddress(StateTaxReturnCalcEngine& engine, int upperCase) {
    AddressTexts a;
    engine.getAddress(engine.stateReturn()->getInfoForm(), a.city, a.region, a.fallbackRegion, a.postalCode, upperCase);
    return a;
}

// Writes the region into a present field when it fits there, else the
// fallback region.
void writeRegion(DataMgmt::TaxForm& copy, FieldId field, const AddressTexts& a) {
    if (!field.isNullID()) {
        copy.assignText(field, a.region.size() <= maxTextLength(copy, field) ? a.region : a.fallbackRegion);
    }
}

}  // namespace

void StateTaxReturnCalcEngine::buildFieldTripleTable() {
    // Rows 1-15: the item's field on federal form 1, 55 and 87.
    const FederalMainFormLines* const mainForms[] = {&kForm1Lines, &kForm55Lines, &kForm87Lines};
    for (std::size_t r = 0; r < kForm1Lines.heading.size(); ++r) {
        for (std::size_t c = 0; c < std::size(mainForms); ++c) {
            kFieldTripleTable[r * kFieldTripleColumns + c] = mainForms[c]->heading[r];
        }
    }
    for (std::size_t c = 0; c < kFieldTripleColumns; ++c) {
        kFieldTripleTable[15 * kFieldTripleColumns + c] = Primitives::kNullFieldID;
    }
}

std::string& StateTaxReturnCalcEngine::buildDisplayName(std::string& dest, const FormId& source, FieldId first,
                                                        FieldId middle, FieldId last, FieldId suffix,
                                                        Utils::DISPLAY_NAME display) {
    auto part = [&](FieldId field) {
        return field.isNullID() ? std::string() : stateReturn_->formString(source, 1, field);
    };
    dest = Utils::buildNameS(part(first), part(middle), part(last), part(suffix), display);
    return dest;
}

std::string& StateTaxReturnCalcEngine::buildPersonName(std::string& dest, const FormId& source, std::uint16_t firstRow,
                                                       std::uint16_t middleRow, std::uint16_t lastRow,
                                                       std::uint16_t suffixRow, Utils::DISPLAY_NAME display) {
    return buildDisplayName(dest, source, infoField(firstRow), infoField(middleRow), infoField(lastRow),
                            infoField(suffixRow), display);
}

std::string& StateTaxReturnCalcEngine::getStrippedText(std::string& dest, DataMgmt::TaxFormPtr copy, std::uint16_t row,
                                                       std::uint16_t width) {
    dest.clear();
    const FieldId field = infoField(row);
    // An empty field gives an empty text (its value token would read as 0).
    if (field.isNullID() || copy.isNull() || copy->isNull(field)) {
        return dest;
    }
    const std::int64_t token = copy->getLongValue(field);
    dest = Utils::strip(stateReturn_->getText(token, static_cast<short>(width), DataMgmt::kJustifyLeft));
    return dest;
}

std::string& StateTaxReturnCalcEngine::composeOwnerName(std::string& dest, const FormId& source, std::int16_t ownerCode,
                                                        Utils::DISPLAY_NAME display) {
    std::string result;
    DataMgmt::TaxFormPtr sourceCopy = stateReturn_->getFormUVPtr(source, 1, true);
    if (sourceCopy.isNull()) {
        dest.clear();
        return dest;
    }
    std::string name;
    if (ownerCode == kOwnerSpouse) {
        buildPersonName(result, source, 6, 7, 8, 9, display);
    } else if (FilingStatus::namesBothFilers(ownerCode)) {
        std::string taxpayerLast;
        std::string spouseLast;
        getStrippedText(taxpayerLast, sourceCopy, 3, 20);
        getStrippedText(spouseLast, sourceCopy, 8, 20);
        if (!spouseLast.empty() && Utils::QVStringUtils::stricmp(spouseLast, taxpayerLast) != 0) {
            // Two last names: both full names.
            buildPersonName(result, source, 1, 2, 3, 4, display);
            buildPersonName(name, source, 6, 7, 8, 9, display);
            if (!name.empty()) {
                result += kJointSeparator;
                result += name;
            }
        } else {
            // One shared last name, written once. When the spouse's last name
            // is empty the taxpayer's stands for both.
            const std::uint16_t lastRow = spouseLast.empty() ? 3 : 8;
            if (display == 1) {
                buildPersonName(result, source, 1, 2, 0, 0, display);
                buildPersonName(name, source, 6, 7, lastRow, 0, display);
            } else {
                buildPersonName(result, source, 1, 2, lastRow, 4, display);
                buildPersonName(name, source, 6, 7, 0, 9, display);
            }
            result += kJointSeparator;
            result += name;
        }
    } else {
        buildPersonName(result, source, 1, 2, 3, 4, display);
    }
    dest = result;
    return dest;
}

std::string& StateTaxReturnCalcEngine::getOwnerName(std::string& dest, const FormId& source, std::int16_t ownerCode) {
    std::string name;
    composeOwnerName(name, source, ownerCode, Utils::DISPLAY_NAME{0});
    dest = name;
    return dest;
}

void StateTaxReturnCalcEngine::assignOwnerName(DataMgmt::TaxFormPtr target, const FormId& source,
                                               std::int16_t ownerCode, Utils::DISPLAY_NAME display,
                                               FieldId taxpayerName, FieldId taxpayerNumber, FieldId secondTaxpayerName,
                                               FieldId secondTaxpayerNumber, FieldId spouseName, FieldId spouseNumber,
                                               FieldId secondSpouseName, FieldId secondSpouseNumber, FieldId /*extra*/,
                                               int upperCase) {
    if (target.isNull()) {
        return;
    }
    DataMgmt::TaxForm& form = *target;
    DataMgmt::TaxFormPtr sourceCopy = stateReturn_->getFormUVPtr(source, 1, true);

    // A name (or number) field and its second field: the second copies the
    // first when the first is named, else receives the text itself.
    auto writePair = [&](FieldId first, FieldId second, const std::string& text) {
        writeText(form, first, text);
        if (second.isNullID()) {
            return;
        }
        if (!first.isNullID()) {
            form.assignII(second, first);
        } else {
            form.assignText(second, text);
        }
    };
    auto numberText = [&](std::uint16_t row) {
        const FieldId field = infoField(row);
        if (sourceCopy.isNull() || field.isNullID() || sourceCopy->isNull(field)) {
            return std::string();
        }
        return stateReturn_->getText(sourceCopy->getLongValue(field), 11, DataMgmt::kJustifyLeft);
    };

    std::string text;
    composeOwnerName(text, source, 1, display);
    upperIfAsked(text, upperCase);
    writePair(taxpayerName, secondTaxpayerName, text);
    writePair(taxpayerNumber, secondTaxpayerNumber, numberText(5));

    if (FilingStatus::namesBothFilers(ownerCode)) {
        composeOwnerName(text, source, kOwnerSpouse, display);
        upperIfAsked(text, upperCase);
        writePair(spouseName, secondSpouseName, text);
        writePair(spouseNumber, secondSpouseNumber, numberText(10));
    } else {
        writeNull(form, spouseName);
        writeNull(form, secondSpouseName);
        writeNull(form, spouseNumber);
        writeNull(form, secondSpouseNumber);
    }
}

void StateTaxReturnCalcEngine::getTableTexts(const FormId& source, const std::array<std::uint16_t, 5>& rows,
                                             std::array<std::string, 5>& texts, int upperCase) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const FieldId field = infoField(rows[i]);
        if (field.isNullID()) {
            continue;
        }
        texts[i] = stateReturn_->formString(source, 1, field);
        upperIfAsked(texts[i], upperCase);
    }
}

void StateTaxReturnCalcEngine::assignOwnerInfo(DataMgmt::TaxFormPtr target, const FormId& source,
                                               std::int16_t ownerCode, FieldId taxpayerFirst, FieldId taxpayerMiddle,
                                               FieldId taxpayerLast, FieldId taxpayerSuffix, FieldId taxpayerNumber,
                                               FieldId spouseFirst, FieldId spouseMiddle, FieldId spouseLast,
                                               FieldId spouseSuffix, FieldId spouseNumber, FieldId /*extra*/,
                                               int upperCase) {
    if (target.isNull()) {
        return;
    }
    DataMgmt::TaxForm& form = *target;
    stateReturn_->getFormUVPtr(source, 1, true);

    const std::array<FieldId, 5> taxpayer{taxpayerFirst, taxpayerMiddle, taxpayerLast, taxpayerSuffix, taxpayerNumber};
    const std::array<FieldId, 5> spouse{spouseFirst, spouseMiddle, spouseLast, spouseSuffix, spouseNumber};

    std::array<std::string, 5> texts;
    getTableTexts(source, {1, 2, 3, 4, 5}, texts, upperCase);
    for (std::size_t i = 0; i < taxpayer.size(); ++i) {
        writeText(form, taxpayer[i], texts[i]);
    }
    if (FilingStatus::namesBothFilers(ownerCode)) {
        std::array<std::string, 5> spouseTexts;
        getTableTexts(source, {6, 7, 8, 9, 10}, spouseTexts, upperCase);
        for (std::size_t i = 0; i < spouse.size(); ++i) {
            writeText(form, spouse[i], spouseTexts[i]);
        }
    } else {
        for (const FieldId& field : spouse) {
            writeNull(form, field);
        }
    }
}

void StateTaxReturnCalcEngine::getAddress(const FormId& source, std::string& city, std::string& region,
                                          std::string& fallbackRegion, std::string& postalCode, int upperCase) {
    DataMgmt::TaxFormPtr sourceCopy = stateReturn_->getFormUVPtr(source, 1, true);
    if (sourceCopy.isNull()) {
        return;
    }
    auto infoText = [&](std::uint16_t row) {
        const FieldId field = infoField(row);
        return field.isNullID() ? std::string() : stateReturn_->formString(source, 1, field);
    };
    city = infoText(13);
    if (taxReturn->formYes(kForm92ID, 1, kForm92Lines.address.abroad)) {
        // Foreign address: the region is always written in capitals.
        region = taxReturn->formString(kForm92ID, 1, kForm92Lines.address.foreignRegion);
        Utils::QVStringUtils::toUpperCase(region);
        fallbackRegion = taxReturn->formString(kForm92ID, 1, kForm92Lines.address.fallbackRegion);
        postalCode = taxReturn->formString(kForm92ID, 1, kForm92Lines.address.foreignPostalCode);
    } else {
        region = infoText(14);
        fallbackRegion = region;
        postalCode = infoText(15);
    }
    if (upperCase == 1) {
        Utils::QVStringUtils::toUpperCase(city);
        Utils::QVStringUtils::toUpperCase(region);
        Utils::QVStringUtils::toUpperCase(postalCode);
    }
}

void StateTaxReturnCalcEngine::assignAddress(DataMgmt::TaxFormPtr target, FieldId city, FieldId state, FieldId zipCode,
                                             FieldId foreignRegion, FieldId foreignPostalCode, int upperCase) {
    if (target.isNull()) {
        return;
    }
    DataMgmt::TaxForm& form = *target;
    const AddressTexts address = infoFormAddress(*this, upperCase);
    writeText(form, city, address.city);
    if (taxReturn->formYes(kForm92ID, 1, kForm92Lines.address.abroad)) {
        writeNull(form, state);
        writeNull(form, zipCode);
        writeRegion(form, foreignRegion, address);
        writeText(form, foreignPostalCode, address.postalCode);
    } else {
        writeText(form, state, address.region);
        writeText(form, zipCode, address.postalCode);
        writeNull(form, foreignRegion);
        writeNull(form, foreignPostalCode);
    }
}

void StateTaxReturnCalcEngine::assignAddressFields(DataMgmt::TaxFormPtr target, FieldId city, FieldId state,
                                                   FieldId zipCode, int upperCase) {
    if (target.isNull()) {
        return;
    }
    DataMgmt::TaxForm& form = *target;
    const AddressTexts address = infoFormAddress(*this, upperCase);
    writeText(form, city, address.city);
    writeRegion(form, state, address);
    writeText(form, zipCode, address.postalCode);
}

void StateTaxReturnCalcEngine::assignAddressLine(DataMgmt::TaxFormPtr target, FieldId streetLine, int upperCase) {
    // Nothing is read or written for a target copy that does not exist.
    if (target.isNull() || streetLine.isNullID()) {
        return;
    }
    DataMgmt::TaxForm& form = *target;
    const FormId infoForm = stateReturn_->getInfoForm();
    auto infoText = [&](std::uint16_t row) {
        const FieldId field = infoField(row);
        return field.isNullID() ? std::string() : stateReturn_->formString(infoForm, 1, field);
    };
    const std::string street = infoText(11);
    const std::string apartment = infoText(12);

    std::string line;
    if (street.empty()) {
        if (!apartment.empty()) {
            line = "Apartment " + apartment;
        }
    } else if (apartment.empty()) {
        line = street;
    } else {
        // The street is shortened so that the apartment suffix fits the field.
        const std::string suffix = kApartmentSuffix + apartment;
        const std::size_t maxLength = maxTextLength(form, streetLine);
        const std::size_t keep = maxLength > suffix.size() ? maxLength - suffix.size() : 0;
        line = street.substr(0, keep) + suffix;
    }
    upperIfAsked(line, upperCase);
    form.assignText(streetLine, line);
}

int StateTaxReturnCalcEngine::getRadioGroupValue(DataMgmt::TaxFormPtr /*unused*/, const FormId& form, FieldId /*box1*/,
                                                 FieldId box3, FieldId box2, FieldId box4) {
    DataMgmt::TaxFormPtr copy = stateReturn_->getFormUVPtr(form, 1, false);
    if (copy.isNull()) {
        return 1;
    }
    auto marked = [&](FieldId box) { return !box.isNullID() && copy->xMarked(box); };
    if (marked(box4)) {
        return 4;
    }
    if (marked(box3)) {
        return 3;
    }
    if (marked(box2)) {
        return 2;
    }
    return 1;
}

}  // namespace StateCalculationMgmt
