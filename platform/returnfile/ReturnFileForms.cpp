// Reading a return file: forms, fields and their values.
#include <algorithm>
#include <cstring>
#include <iterator>

#include "platform/returnfile/ReturnFileReader.h"
#include "platform/store/DerivedItems.h"

namespace PersistanceMgmt::detail {

using DataMgmt::FieldValue;

// A form by dev name or number, in the return of the given description.
DataMgmt::TaxFormDescPtr Reader::resolveForm(const DataMgmt::TaxReturnDesc& desc, const std::string& devName,
                                             const std::string* number, int line, const Scope& scope) {
    DataMgmt::TaxFormDescPtr byName;
    DataMgmt::TaxFormDescPtr byNumber;
    const bool isState = desc.getReturnType() != DataMgmt::kFederalReturnType;
    const char* where = returnTypeWord(desc.getReturnType());
    if (!devName.empty()) {
        byName = desc.findByDevName(trim(devName));
        if (byName.isNull()) {
            std::string hint;
            const DataMgmt::TaxReturnDesc* other = isState ? descriptions_.federal : descriptions_.georgia;
            if (other != nullptr && !other->findByDevName(trim(devName)).isNull()) {
                hint = std::string(" (it is a form of the ") + returnTypeWord(other->getReturnType()) + " return)";
            }
            problem(line, scope, "unknown form " + showText(devName) + " in the " + where + " return" + hint);
            return DataMgmt::TaxFormDescPtr();
        }
    }
    if (number != nullptr) {
        std::int32_t n = 0;
        if (!parseInteger(*number, n) || n <= 0) {
            problem(line, scope, "form number " + showText(*number) + " is not a positive whole number");
            return DataMgmt::TaxFormDescPtr();
        }
        byNumber = desc.getTaxFormDescriptor(Primitives::QVImmutableFormIdentifier(n, isState));
        if (byNumber.isNull()) {
            problem(line, scope, "unknown form number " + std::to_string(n) + " in the " + where + " return");
            return DataMgmt::TaxFormDescPtr();
        }
    }
    if (!byName.isNull() && !byNumber.isNull() && byName.get() != byNumber.get()) {
        problem(line, scope,
                "DEVNAME " + showText(devName) + " and NUMBER " + showText(*number) + " name different forms");
        return DataMgmt::TaxFormDescPtr();
    }
    if (byName.isNull() && byNumber.isNull()) {
        problem(line, scope, "<FORM> needs DEVNAME or NUMBER");
        return DataMgmt::TaxFormDescPtr();
    }
    return byName.isNull() ? byNumber : byName;
}

void Reader::readForm(const XmlNode& node, const DataMgmt::TaxReturnDesc& desc, ReturnPart& part,
                      std::map<std::pair<Primitives::QVImmutableFormIdentifier, int>, int>& copyLines) {
    Scope scope;
    const auto attrs = attributes(node, scope, {"DEVNAME", "NUMBER", "COPY", "DATAENTERED", "OWNER"});
    const auto dev = attrs.find("DEVNAME");
    const auto num = attrs.find("NUMBER");
    scope.form = dev != attrs.end() ? dev->second : (num != attrs.end() ? num->second : "");
    const int line = lineOf(node);

    int copy = 1;
    bool copyOk = true;
    if (auto it = attrs.find("COPY"); it != attrs.end()) {
        if (!parseInteger(it->second, copy) || copy <= 0) {
            problem(line, scope, "copy number " + showText(it->second) + " is not a positive whole number");
            copyOk = false;
        }
    }
    if (copyOk) scope.copy = copy;

    DataMgmt::TaxFormDescPtr form = resolveForm(desc, dev != attrs.end() ? dev->second : "",
                                                num != attrs.end() ? &num->second : nullptr, line, scope);
    if (form.isNull() || !copyOk) return;
    scope.form = form->getDevName();

    if (copy > form->getMaxCopies()) {
        problem(line, scope,
                "copy number " + std::to_string(copy) + " is out of range (the form allows copies 1 to " +
                    std::to_string(form->getMaxCopies()) + ")");
        return;
    }
    auto [it, inserted] = copyLines.emplace(std::make_pair(form->getTypeID(), copy), line);
    if (!inserted) {
        problem(line, scope, "this copy is given twice (first at line " + std::to_string(it->second) + ")");
        return;
    }

    CopyEntry entry;
    entry.desc = form;
    entry.copy = static_cast<std::uint16_t>(copy);
    entry.line = line;
    if (auto d = attrs.find("DATAENTERED"); d != attrs.end()) {
        const std::string v = trim(d->second);
        if (v == "1") {
            entry.dataEntered = true;
        } else if (v == "0") {
            entry.dataEntered = false;
        } else {
            problem(line, scope, "DATAENTERED " + showText(d->second) + " is not 0 or 1");
        }
    }
    if (auto o = attrs.find("OWNER"); o != attrs.end()) {
        entry.owner = ownerNamed(trim(o->second));
        if (!statesItsOwner(form->getTypeID())) {
            problem(line, scope, "OWNER applies to the copies of the W-2 (federal form F52) only");
        } else if (!entry.owner) {
            problem(line, scope, "OWNER " + showText(o->second) + " is not taxpayer or spouse");
        }
    }

    std::map<std::string, int> seen;
    DataMgmt::detail::FlatIndex<std::int32_t> fieldLines;  // by place + 1: the line a field was given at
    entry.fields.reserve(tree_->elementCount(node));
    forEachElement(node, scope, [&](const XmlNode& c) {
        const std::string n = nodeName(c);
        if (n == "BUSNAME") {
            once(seen, c, scope);  // informational
        } else if (n == "FIELD") {
            readField(c, *form, scope, entry, fieldLines);
        } else {
            problem(lineOf(c), scope,
                    "unknown element <" + shownName(n) + "> in <FORM> (expected <BUSNAME> or <FIELD>)");
        }
    });
    // Keep the fields in the form's order, whatever the file's order.
    std::stable_sort(entry.fields.begin(), entry.fields.end(), [&](const FieldEntry& a, const FieldEntry& b) {
        return form->positionOf(a.desc->getID()) < form->positionOf(b.desc->getID());
    });
    part.copies.push_back(std::move(entry));
}

void Reader::readField(const XmlNode& node, const DataMgmt::TaxFormDesc& form, Scope scope, CopyEntry& entry,
                       DataMgmt::detail::FlatIndex<std::int32_t>& fieldLines) {
    const int line = lineOf(node);
    const auto attrs = attributes(node, scope, {"ID", "NAME", "OVERRIDDEN", "KIND"});
    FieldTexts texts;
    if (auto it = attrs.find("ID"); it != attrs.end()) texts.id = it->second;
    if (auto it = attrs.find("NAME"); it != attrs.end()) texts.name = it->second;
    const bool childrenOk = readFieldChildren(node, attrs, line, scope, texts);

    const DataMgmt::FormFieldDescPtr field = resolveField(form, texts, line, scope);
    if (field.isNull()) return;
    scope.field = field->describe();
    if (!childrenOk) return;

    const int key = form.positionOf(field->getID()) + 1;
    if (const int firstAt = fieldLines.find(key); firstAt >= 0) {
        problem(line, scope, "the field is given twice (first at line " + std::to_string(firstAt) + ")");
        return;
    }
    fieldLines.insert(key, line);
    if (!texts.value) {
        problem(line, scope, "<FIELD> has no <VALUE> (an empty <VALUE/> makes the field null)");
        return;
    }

    FieldEntry fe{field, DataMgmt::FieldValue(), false, line};
    std::optional<FieldValue::Kind> kind;
    if (!readFieldMarks(attrs, line, scope, fe.overridden, kind)) return;
    // Every value is read by its field's kind: a file cannot give it another.
    if (kind && *kind != naturalKind(*field)) {
        problem(line, scope,
                "KIND \"" + std::string(kindWord(*kind)) + "\" is not the field's kind: it takes " +
                    whatTheFieldTakes(*field));
        return;
    }
    // What the file gives a calculated field is the calculation's result,
    // unless it marks the field as overridden: the user's entry.
    const bool userEntry = !field->isCalculated() || fe.overridden;
    if (!parseValue(*texts.value, *field, naturalKind(*field), userEntry, line, scope, fe.value)) return;
    entry.fields.push_back(std::move(fe));
}

bool Reader::readFieldChildren(const XmlNode& node, const AttributeList& attrs, int line, const Scope& scope,
                               FieldTexts& texts) {
    // Each of the four children once: the line where each was first given
    // (an attribute of the same name counts as given).
    static constexpr const char* kChildren[] = {"ID", "NAME", "LINENUM", "VALUE"};
    int firstLine[4] = {0, 0, 0, 0};
    for (std::size_t k = 0; k < 4; ++k) {
        if (attrs.count(kChildren[k]) != 0) firstLine[k] = line;
    }
    bool ok = true;
    forEachElement(node, scope, [&](const XmlNode& c) {
        const std::string_view n = c.name;
        const auto known =
            std::find_if(std::begin(kChildren), std::end(kChildren), [n](const char* k) { return n == k; });
        if (known == std::end(kChildren)) {
            problem(lineOf(c), scope,
                    "unknown element <" + shownName(n) + "> in <FIELD> (expected <ID>, <NAME>, <LINENUM> or <VALUE>)");
            ok = false;
            return;
        }
        const auto k = static_cast<std::size_t>(known - std::begin(kChildren));
        if (firstLine[k] != 0) {
            problem(lineOf(c), scope,
                    "<" + shownName(n) + "> given twice (first at line " + std::to_string(firstLine[k]) + ")");
            ok = false;
            return;
        }
        firstLine[k] = lineOf(c);
        if (c.attributeCount != 0) attributes(c, scope, {});
        std::string text;
        if (!leafText(c, scope, text)) {
            ok = false;
            return;
        }
        if (k == 0) texts.id = std::move(text);
        if (k == 1) texts.name = std::move(text);
        if (k == 3) texts.value = std::move(text);
    });
    return ok;
}

DataMgmt::FormFieldDescPtr Reader::resolveField(const DataMgmt::TaxFormDesc& form, const FieldTexts& texts, int line,
                                                Scope& scope) {
    // (Absent stays without a handle: each handle made costs its count.)
    std::optional<DataMgmt::FormFieldDescPtr> byId;
    std::optional<DataMgmt::FormFieldDescPtr> byName;
    if (texts.name)
        scope.field = trim(*texts.name);
    else if (texts.id)
        scope.field = trim(*texts.id);
    if (texts.id) {
        std::int32_t n = 0;
        if (!parseInteger(*texts.id, n) || n <= 0) {
            problem(line, scope, "field number " + showText(*texts.id) + " is not a positive whole number");
            return DataMgmt::FormFieldDescPtr();
        }
        byId = form.getFieldDesc(Primitives::QVImmutableIdentifier(n));
        if (byId->isNull()) {
            problem(
                line, scope,
                "unknown field number " + std::to_string(n) + " in form " + form.getDevName() + fieldListHint(form));
            return DataMgmt::FormFieldDescPtr();
        }
    }
    if (texts.name) {
        byName = form.findField(trim(*texts.name));
        if (byName->isNull()) {
            problem(
                line, scope,
                "unknown field " + showText(trim(*texts.name)) + " in form " + form.getDevName() + fieldListHint(form));
            return DataMgmt::FormFieldDescPtr();
        }
    }
    if (byId && byName && byId->get() != byName->get()) {
        problem(
            line, scope,
            "ID " + showText(trim(*texts.id)) + " and NAME " + showText(trim(*texts.name)) + " name different fields");
        return DataMgmt::FormFieldDescPtr();
    }
    if (!byId && !byName) {
        problem(line, scope, "<FIELD> needs an ID or a NAME");
        return DataMgmt::FormFieldDescPtr();
    }
    return byId ? *byId : *byName;
}

bool Reader::readFieldMarks(const AttributeList& attrs, int line, const Scope& scope, bool& overridden,
                            std::optional<FieldValue::Kind>& kind) {
    if (auto o = attrs.find("OVERRIDDEN"); o != attrs.end()) {
        const std::string v = trim(o->second);
        if (v == "1") {
            overridden = true;
        } else if (v != "0") {
            problem(line, scope, "OVERRIDDEN " + showText(o->second) + " is not 0 or 1");
            return false;
        }
    }
    if (auto k = attrs.find("KIND"); k != attrs.end()) {
        kind = kindOfWord(k->second);
        if (!kind) {
            problem(line, scope, "KIND " + showText(k->second) + " is not amount, text or box");
            return false;
        }
    }
    return true;
}

// Reads a value text as a value of the given kind, the field's own.
bool Reader::parseValue(const std::string& text, const DataMgmt::FormFieldDesc& field, FieldValue::Kind kind,
                        bool entry, int line, const Scope& scope, FieldValue& out) {
    if (kind == FieldValue::Kind::Text) {
        return parseText(text, field, entry, line, scope, out);
    }
    const std::string t = trim(text);
    if (t.empty()) {
        out = FieldValue::null();
        return true;
    }
    if (kind == FieldValue::Kind::Box) {
        bool yes = false;
        if (!parseBox(t, yes)) {
            problem(line, scope, "value " + showText(t) + " is not a box mark (X, NO or empty)");
            return false;
        }
        out = FieldValue::box(yes);
        return true;
    }
    return parseNumber(t, field, line, scope, out);
}

bool Reader::parseText(const std::string& text, const DataMgmt::FormFieldDesc& field, bool entry, int line,
                       const Scope& scope, FieldValue& out) {
    if (text.empty()) {
        out = FieldValue::null();
        return true;
    }
    EntryText read = readEntryText(field, text, entry);
    if (!read.problem.empty()) {
        problem(line, scope, read.problem);
        return false;
    }
    out = read.value.empty() ? FieldValue::null() : FieldValue::text(std::move(read.value));
    return true;
}

bool Reader::parseNumber(const std::string& t, const DataMgmt::FormFieldDesc& field, int line, const Scope& scope,
                         FieldValue& out) {
    double v = 0.0;
    if (!parseAmount(t, amountPlaces(field), v)) {
        problem(line, scope, "non-numeric value " + showText(t) + " in an amount field (" + kAmountForms + ")");
        return false;
    }
    // Every amount, entered or calculated, keeps to the field's limit,
    // domain and range and (unless the field keeps fractions of a cent) to
    // the cent: within them it is stored and written back exactly. The
    // calculation's own writes keep to the same, so that a saved return
    // reads back. A cent written with a sum's binary noise is that cent.
    if (const std::string why = amountProblem(field, v, t); !why.empty()) {
        problem(line, scope, why);
        return false;
    }
    if (!field.keepsFractions()) v = DataMgmt::withoutBinaryNoise(v, amountPlaces(field));
    out = FieldValue::number(v);
    return true;
}

}  // namespace PersistanceMgmt::detail
