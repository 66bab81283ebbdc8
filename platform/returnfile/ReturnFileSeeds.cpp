// Reading a return file: the host's elements (the file's clock and random
// seed, the answers the host gives about the federal and the Georgia return).
#include <limits>
#include <set>
#include <type_traits>

#include "platform/returnfile/ReturnFileReader.h"
#include "platform/store/CommonItemTable.h"
#include "platform/store/DerivedItems.h"

namespace PersistanceMgmt::detail {

void Reader::readHostSeeds(const XmlNode& node) {
    attributes(node, {}, {});
    std::map<std::string, int> seen;
    forEachElement(node, {}, [&](const XmlNode& c) {
        const std::string n = nodeName(c);
        if (n != "CLOCK" && n != "RANDSEED") {
            problem(lineOf(c), {},
                    "unknown element <" + shownName(n) + "> in the file's <HOST> (expected <CLOCK> or <RANDSEED>)");
            return;
        }
        if (!once(seen, c, {})) return;
        attributes(c, {}, {});
        std::string text;
        if (!leafText(c, {}, text)) return;
        if (n == "CLOCK") {
            std::time_t t = 0;
            if (!ReturnFile::parseUtcTime(text, t)) {
                problem(lineOf(c), {}, "clock " + showText(text) + " is not a UTC time such as 2019-04-01T12:00:00Z");
            } else {
                contents_.host.clock = t;
            }
        } else {
            std::uint32_t seed = 0;
            if (!parseInteger(text, seed)) {
                problem(lineOf(c), {}, "random seed " + showText(text) + " is not a whole number from 0 to 4294967295");
            } else {
                contents_.host.randSeed = seed;
            }
        }
    });
}

// A federal form named by dev name or number, for the seed tables.
DataMgmt::TaxFormDescPtr Reader::federalForm(const std::string& text, int line, const Scope& scope,
                                             Primitives::QVImmutableFormIdentifier& id) {
    const std::string t = trim(text);
    if (allDigits(t)) {
        std::int32_t n = 0;
        if (!parseInteger(t, n) || n <= 0) {
            problem(line, scope, "form number " + showText(t) + " is not a positive whole number");
            return DataMgmt::TaxFormDescPtr();
        }
        id = Primitives::QVImmutableFormIdentifier(n, false);
        if (descriptions_.federal == nullptr) {
            return DataMgmt::TaxFormDescPtr();  // number accepted without descriptions
        }
        DataMgmt::TaxFormDescPtr f = descriptions_.federal->getTaxFormDescriptor(id);
        if (f.isNull()) problem(line, scope, "unknown federal form number " + t);
        return f;
    }
    if (descriptions_.federal == nullptr) {
        problem(line, scope, "federal form " + showText(t) + " cannot be resolved: no federal form definitions");
        return DataMgmt::TaxFormDescPtr();
    }
    DataMgmt::TaxFormDescPtr f = descriptions_.federal->findByDevName(t);
    if (f.isNull()) {
        problem(line, scope, "unknown federal form " + showText(t));
        return DataMgmt::TaxFormDescPtr();
    }
    id = f->getTypeID();
    return f;
}

void Reader::readReturnSeeds(const XmlNode& node, DataMgmt::TaxReturnType type, ReturnSeeds& seeds) {
    attributes(node, {}, {});
    const bool federal = type == DataMgmt::kFederalReturnType;
    static const std::set<std::string> kFederal = {"FILINGSTATUS", "FORM2555", "OFFICELOCATORURL", "SESSIONPROPERTY"};
    static const std::set<std::string> kState = {
        "PULLCOMMON",           "W2SPLIT", "STATEWAGES",  "ALLSTATEWAGES", "STATEWITHHELD",
        "STATEWITHHELDNOLOCAL", "INELF",   "ENABLEDTYPE", "TAXBALANCE",    "REFUNDCODE"};
    std::map<std::string, int> seen;
    std::map<std::pair<Primitives::QVImmutableFormIdentifier, std::int32_t>, int> commonLines;
    std::map<std::pair<Primitives::QVImmutableFormIdentifier, std::int32_t>, int> splitLines;
    forEachElement(node, {}, [&](const XmlNode& c) {
        const std::string n = nodeName(c);
        const int line = lineOf(c);
        const auto& mine = federal ? kFederal : kState;
        const auto& other = federal ? kState : kFederal;
        if (!mine.count(n)) {
            if (other.count(n)) {
                problem(
                    line, {},
                    "<" + shownName(n) + "> belongs in the " + (federal ? "Georgia" : "federal") + " return's <HOST>");
            } else {
                problem(line, {},
                        "unknown element <" + shownName(n) + "> in the " + returnTypeWord(type) + " return's <HOST>");
            }
            return;
        }
        const bool repeatable = n == "PULLCOMMON" || n == "W2SPLIT" || n == "SESSIONPROPERTY";
        if (!repeatable && !once(seen, c, {})) return;

        if (n == "PULLCOMMON") {
            readCommonItem(c, seeds, commonLines);
        } else if (n == "W2SPLIT") {
            readW2Split(c, seeds, splitLines);
        } else if (n == "SESSIONPROPERTY") {
            const auto attrs = attributes(c, {}, {"NAME"});
            std::string text;
            if (!leafText(c, {}, text)) return;
            auto nm = attrs.find("NAME");
            if (nm == attrs.end() || trim(nm->second).empty()) {
                problem(line, {}, "<SESSIONPROPERTY> needs a NAME");
                return;
            }
            int v = 0;
            if (!parseInteger(text, v) || v < -128 || v > 127) {
                problem(line, {},
                        "session property " + showText(nm->second) + ": value " + showText(trim(text)) +
                            " is not a whole number from -128 to 127");
                return;
            }
            if (!seeds.sessionProperties.emplace(trim(nm->second), static_cast<std::int8_t>(v)).second) {
                problem(line, {}, "session property " + showText(nm->second) + " is given twice");
            }
        } else {
            attributes(c, {}, {});
            std::string text;
            if (!leafText(c, {}, text)) return;
            readSingleSeed(n, text, line, seeds);
        }
    });
}

void Reader::readSingleSeed(const std::string& n, const std::string& text, int line, ReturnSeeds& seeds) {
    const std::string t = trim(text);
    // Whole numbers are checked against their range, never cut.
    auto wholeNumber = [&](auto& slot, const char* what, std::int64_t min, std::int64_t max) {
        std::int64_t v = 0;
        if (!parseInteger(t, v) || v < min || v > max) {
            problem(line, {},
                    std::string(what) + " " + showText(t) + " is not a whole number from " + std::to_string(min) +
                        " to " + std::to_string(max));
        } else {
            slot = static_cast<std::remove_reference_t<decltype(*slot)>>(v);
        }
    };
    // The state wages and tax withheld take 0 or more, as the lines of the
    // W-2s and of the return that the calculation writes them into do.
    auto amount = [&](std::optional<double>& slot, const char* what) {
        double v = 0.0;
        if (!parseSeedAmount(t, line, {}, what, v)) return;
        if (v < 0) {
            problem(line, {}, std::string(what) + ": amount " + showText(trim(t)) + " is below 0 (it takes 0 or more)");
            return;
        }
        slot = v;
    };
    auto box = [&](std::optional<bool>& slot, const char* what) {
        bool yes = false;
        if (!parseBox(t, yes)) {
            problem(line, {}, std::string(what) + ": value " + showText(t) + " is not a box mark (X or NO)");
        } else {
            slot = yes;
        }
    };
    if (n == "FILINGSTATUS") {
        int v = 0;
        if (!parseInteger(t, v) || v < 1 || v > 5) {
            problem(line, {}, "federal filing status " + showText(t) + " is not 1 to 5");
        } else {
            seeds.filingStatus = v;
        }
    } else if (n == "FORM2555") {
        box(seeds.form2555Present, "form 2555 present");
    } else if (n == "OFFICELOCATORURL") {
        seeds.officeLocatorURL = t;
    } else if (n == "STATEWAGES") {
        amount(seeds.stateWages, "state wages");
    } else if (n == "ALLSTATEWAGES") {
        amount(seeds.allStateWages, "wages of all states");
    } else if (n == "STATEWITHHELD") {
        amount(seeds.stateTaxWithheld, "state tax withheld");
    } else if (n == "STATEWITHHELDNOLOCAL") {
        amount(seeds.stateTaxWithheldNoLocal, "state tax withheld without local tax");
    } else if (n == "INELF") {
        box(seeds.inElf, "e-file status");
    } else if (n == "ENABLEDTYPE") {
        wholeNumber(seeds.enabledType, "enabled type", std::numeric_limits<int>::min(),
                    std::numeric_limits<int>::max());
    } else if (n == "TAXBALANCE") {
        wholeNumber(seeds.taxBalance, "balance due", -kAmountLimitDollars, kAmountLimitDollars);
    } else if (n == "REFUNDCODE") {
        // The e-file writes it on a line of its own.
        if (const std::string why = controlCharacterProblem(text); !why.empty()) {
            problem(line, {}, "refund code " + showText(text) + " " + why);
        } else {
            seeds.refundCode = text;
        }
    }
}

bool Reader::parseSeedAmount(const std::string& text, int line, const Scope& scope, const char* what, double& out) {
    if (!parseAmount(text, 0, out)) {
        problem(line, scope,
                std::string(what) + ": non-numeric value " + showText(trim(text)) + " (" + kAmountForms + ")");
        return false;
    }
    if (!withinTheAmountLimit(out, 0)) {
        problem(line, scope, std::string(what) + ": " + beyondTheAmountLimit(trim(text)));
        return false;
    }
    if (!toTheCent(out, 0)) {
        problem(line, scope, std::string(what) + ": " + beyondTheCent(trim(text)));
        return false;
    }
    out = DataMgmt::withoutBinaryNoise(out, 0);
    return true;
}

void Reader::readCommonItem(const XmlNode& c, ReturnSeeds& seeds,
                            std::map<std::pair<Primitives::QVImmutableFormIdentifier, std::int32_t>, int>& lines) {
    const int line = lineOf(c);
    const auto attrs = attributes(c, {}, {"FORM", "TYPE", "ITEM"});
    std::string text;
    if (!leafText(c, {}, text)) return;
    auto f = attrs.find("FORM");
    if (f == attrs.end() || (!attrs.count("TYPE") && !attrs.count("ITEM"))) {
        problem(line, {}, "<PULLCOMMON> needs FORM and ITEM (a name that gahost items lists) or TYPE (its number)");
        return;
    }
    Scope scope;
    scope.form = trim(f->second);
    CommonItem item;
    item.line = line;
    const DataMgmt::TaxFormDescPtr form = federalForm(f->second, line, scope, item.form);
    if (item.form.getNumber() <= 0) return;
    if (!form.isNull()) item.formName = form->getDevName();
    const std::optional<std::int32_t> type = commonItemType(attrs, line, scope);
    if (!type) return;
    item.type = *type;
    if (!parseCommonItemValue(text, item, scope)) return;
    const std::string formText = item.formName.empty() ? std::to_string(item.form.getNumber()) : item.formName;
    const std::string sameAnswer =
        "FORM=\"F1\", \"F55\" and \"F87\" all seed the item of the main form the return is filed on (form "
        "1040, 1040A or 1040EZ)";
    if (!isFederalMainForm(item.form)) {
        problem(line, scope,
                "common " + describeCommonItem(item.type) + " is seeded for form " + formText +
                    ", which is not a federal main form, and counts nowhere: " + sameAnswer);
        return;
    }
    // One answer for the item, whichever main form names it.
    auto [it, inserted] =
        lines.emplace(std::make_pair(Primitives::QVImmutableFormIdentifier(1, false), item.type), line);
    if (!inserted) {
        std::string first;
        for (const CommonItem& seed : seeds.commonItems) {
            if (seed.line != it->second || seed.form == item.form) continue;
            first = ", for form " + (seed.formName.empty() ? std::to_string(seed.form.getNumber()) : seed.formName);
        }
        problem(line, scope,
                "common " + describeCommonItem(item.type) + " is given twice (first at line " +
                    std::to_string(it->second) + first + ")" + (first.empty() ? "" : ": " + sameAnswer));
        return;
    }
    seeds.commonItems.push_back(item);
}

std::optional<std::int32_t> Reader::commonItemType(const AttributeList& attrs, int line, const Scope& scope) {
    std::optional<std::int32_t> byNumber;
    const CommonItemInfo* byName = nullptr;
    if (auto t = attrs.find("TYPE"); t != attrs.end()) {
        std::int32_t n = 0;
        if (!parseInteger(t->second, n) || n <= 0) {
            problem(line, scope, "common item type " + showText(t->second) + " is not a positive whole number");
            return std::nullopt;
        }
        byNumber = n;
    }
    if (auto i = attrs.find("ITEM"); i != attrs.end()) {
        byName = findCommonItem(trim(i->second));
        if (byName == nullptr) {
            problem(line, scope, "unknown common item " + showText(i->second) + " (gahost items lists the names)");
            return std::nullopt;
        }
        if (byNumber && *byNumber != byName->type) {
            problem(line, scope,
                    "ITEM " + showText(i->second) + " is item " + std::to_string(byName->type) + ", not TYPE " +
                        std::to_string(*byNumber));
            return std::nullopt;
        }
        byNumber = byName->type;
    }
    if (isFederalFieldItem(*byNumber)) {
        problem(line, scope,
                "common " + describeCommonItem(*byNumber) +
                    " is read from the federal return's own fields and cannot be seeded");
        return std::nullopt;
    }
    return byNumber;
}

bool Reader::parseCommonItemValue(const std::string& text, CommonItem& item, const Scope& scope) {
    const std::string shown = "common " + describeCommonItem(item.type) + ": value " + showText(trim(text));
    // An item the table does not name is an amount.
    const CommonItemInfo* named = findCommonItem(item.type);
    const CommonItemInfo info =
        named != nullptr ? *named
                         : CommonItemInfo{Utils::PCTypes{item.type}, "", "", -kAmountLimitDollars, kAmountLimitDollars};
    if (!parseInteger(text, item.value) || item.value < info.min || item.value > info.max) {
        problem(item.line, scope, shown + " is not " + commonItemDomain(info));
        return false;
    }
    return true;
}

void Reader::readW2Split(const XmlNode& c, ReturnSeeds& seeds,
                         std::map<std::pair<Primitives::QVImmutableFormIdentifier, std::int32_t>, int>& lines) {
    const int line = lineOf(c);
    const auto attrs = attributes(c, {}, {"FORM", "FIELD", "TAXPAYER", "SPOUSE"});
    std::string text;
    leafText(c, {}, text);
    if (!trim(text).empty()) problem(line, {}, "<W2SPLIT> takes its values as attributes, not as text");
    for (const char* need : {"FORM", "FIELD", "TAXPAYER", "SPOUSE"}) {
        if (!attrs.count(need)) {
            problem(line, {}, std::string("<W2SPLIT> needs ") + need);
            return;
        }
    }
    Scope scope;
    scope.form = trim(attrs.at("FORM"));
    scope.field = trim(attrs.at("FIELD"));
    W2Split split;
    split.line = line;
    DataMgmt::TaxFormDescPtr form = federalForm(attrs.at("FORM"), line, scope, split.form);
    if (split.form.getNumber() <= 0) return;
    if (!form.isNull()) split.formName = form->getDevName();
    const std::string fieldText = trim(attrs.at("FIELD"));
    const std::string hint = form.isNull() ? std::string() : fieldListHint(*form);
    if (allDigits(fieldText)) {
        std::int32_t n = 0;
        if (!parseInteger(fieldText, n) || n <= 0 || (!form.isNull() && !form->hasField(n))) {
            problem(line, scope, "unknown field " + showText(fieldText) + hint);
            return;
        }
        split.field = Primitives::QVImmutableIdentifier(n);
    } else {
        DataMgmt::FormFieldDescPtr f = form.isNull() ? DataMgmt::FormFieldDescPtr() : form->findField(fieldText);
        if (f.isNull()) {
            problem(line, scope, "unknown field " + showText(fieldText) + hint);
            return;
        }
        split.field = f->getID();
    }
    if (!parseSeedAmount(attrs.at("TAXPAYER"), line, scope, "taxpayer's share", split.taxpayer) ||
        !parseSeedAmount(attrs.at("SPOUSE"), line, scope, "spouse's share", split.spouse)) {
        return;
    }
    auto [it, inserted] = lines.emplace(std::make_pair(split.form, split.field.getNumber()), line);
    if (!inserted) {
        problem(line, scope, "the W-2 split is given twice (first at line " + std::to_string(it->second) + ")");
        return;
    }
    seeds.w2Splits.push_back(split);
}

}  // namespace PersistanceMgmt::detail
