#include "module/interview/FieldOptions.h"

#include <array>
#include <string>

#include "module/catalogues/Form189216Lines.h"
#include "module/catalogues/Form203639Lines.h"
#include "module/catalogues/Form203811Lines.h"
#include "module/frame/FormIdentifiers.h"
#include "platform/Properties.h"
#include "platform/store/DataMgmt.h"

namespace FieldOptionsMgmt {

namespace {

// The fields that take the module's choice lists, beside the credit's name
// on schedule 2: the credit's name on the business credit form, and the
// entity type of the conservation credit.
constexpr const Primitives::QVImmutableIdentifier& kBusinessCreditName = kForm203811Lines.name;
constexpr const Primitives::QVImmutableIdentifier& kConservationEntityType = kForm203639Lines.entityType;

// The Georgia business credits in the order the drop-down lists them, then
// the empty end row.
constexpr std::array<CreditCodeEntry, kCreditCodeCount + 1> kCreditCodes{{
    {"101", "Employer's Credit for Basic Skills Education"},
    {"102", "Employer's Credit for Approved Employee Retraining"},
    {"103", "Employer's Jobs Tax Credit"},
    {"104", "Employer's Credit for Purchasing Child Care Property"},
    {"105", "Employer's Credit for Providing or Sponsoring Childcare for Employees"},
    {"106", "Manufacturer's Investment Tax Credit"},
    {"107", "Optional Investment Tax Credit"},
    {"108", "Qualified Transportation Credit"},
    {"109", "Low Income Housing Credit"},
    {"110", "Diesel Particulate Emission Reduction Technology Equipment"},
    {"111", "Business Enterprise Vehicle Credit"},
    {"112", "Research Tax Credit"},
    {"113", "Headquarters Tax Credit"},
    {"114J", "Port Activity Job Tax Credit"},
    {"114M", "Port Activity Investment Tax Credit"},
    {"115", "Bank Tax Credit"},
    {"116", "Low Emission Vehicle Credit"},
    {"117", "Zero Emission Vehicle Credit"},
    {"118", "New Facilities Job Credit"},
    {"119", "Electric Vehicle Charger Credit"},
    {"120", "New Facilities Property Credit"},
    {"121", "Historic Rehabilitation Credit for Historic Homes"},
    {"122", "Film Tax Credit"},
    {"126", "Seed-Capital Fund Credit"},
    {"127", "Clean Energy Property Credit"},
    {"128", "Wood Residual Credit"},
    {"129", "Qualified Health Insurance Expense Credit"},
    {"130", "Quality Jobs Tax Credit"},
    {"131", "Alternate Port Activity Tax Credit"},
    {"132", "Qualified Investor Tax Credit"},
    {"133", "Film Tax Credit for a Qualified Interactive Entertainment Prod Co"},
    {"134", "Alternative Fuel Heavy-Duty and Medium-Duty Vehicle Tax Credits"},
    {"135", "Historic Rehab Tax Cr for any Other Cert Structure (not historic home)"},
    {"137", "Qualified Parolee Jobs Tax Credit"},
    {"138", "Postproduction Film Tax Credit"},
    {"139", "Small Production Film Tax Credit"},
    {"140", "Qualified Education Donation Credit"},
    {"141", "Musical Tax Credit"},
    {"142", "Rural Zone Tax Credit"},
    {"143", "Agribusiness and Rural Jobs Tax Credit"},
    {"144", "Post-Consumer Waste Material Credit"},
    {"", ""},
}};

void addCreditCodeChoices(Properties::DisplayValuePairs& pairs) {
    pairs.addPair(std::string());
    for (std::int16_t row = 0;; ++row) {
        const CreditCodeEntry entry = getCreditCodeEntry(row);
        if (entry.code.empty()) {
            break;
        }
        std::string text;
        text.reserve(entry.code.size() + 3 + entry.name.size());
        text.append(entry.code).append(" - ").append(entry.name);
        pairs.addPair(text, std::string(entry.name));
    }
}

void addEntityTypeChoices(Properties::DisplayValuePairs& pairs) {
    pairs.addPair(std::string());
    pairs.addPair("Partnership or LLC");
    pairs.addPair("S Corporation");
    pairs.addPair("Trust or Estate");
}

}  // namespace

CreditCodeEntry getCreditCodeEntry(std::int16_t row) {
    if (row < 0 || row > kCreditCodeCount) {
        return kCreditCodes[kCreditCodeCount];
    }
    return kCreditCodes[static_cast<std::size_t>(row)];
}

bool GAFieldOptionsListFactory::buildFieldOptions(DataMgmt::TaxFormPtr& form, DataMgmt::FormFieldPtr& field,
                                                  Properties::DisplayValuePairs& pairs) {
    pairs.clear();
    if (form.isNull() || field.isNull()) {
        return false;
    }
    const DataMgmt::TaxFormDescPtr formDesc = form->getTaxFormDescriptor();
    const DataMgmt::FormFieldDescPtr fieldDesc = field->getFieldDesc();
    if (formDesc.isNull() || fieldDesc.isNull()) {
        return false;
    }
    const Primitives::QVImmutableFormIdentifier formID = formDesc->getTypeID();
    const Primitives::QVImmutableIdentifier fieldID = fieldDesc->getID();

    if ((formID == kGAForm189216ID && fieldID == kForm189216Lines.name) ||
        (formID == kGAForm203811ID && fieldID == kBusinessCreditName)) {
        addCreditCodeChoices(pairs);
        return true;
    }
    if (formID == kGAForm203639ID && fieldID == kConservationEntityType) {
        addEntityTypeChoices(pairs);
        return true;
    }
    return false;
}

}  // namespace FieldOptionsMgmt
