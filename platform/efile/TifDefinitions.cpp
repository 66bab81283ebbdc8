#include "platform/efile/TifDefinitions.h"

#include <algorithm>
#include <limits>
#include <set>
#include <utility>

namespace FormDefinitions::detail {

namespace {

DataMgmt::TifCleaning cleaningKind(const std::string& value, const Location& at) {
    static const std::map<std::string, DataMgmt::TifCleaning> kinds = {
        {"string", DataMgmt::TifCleaning::String},   {"name", DataMgmt::TifCleaning::Name},
        {"address", DataMgmt::TifCleaning::Address}, {"date", DataMgmt::TifCleaning::Date},
        {"none", DataMgmt::TifCleaning::None},       {"editcode", DataMgmt::TifCleaning::EditCode},
        {"phone", DataMgmt::TifCleaning::Phone},     {"alphaspace", DataMgmt::TifCleaning::AlphaSpace},
        {"format", DataMgmt::TifCleaning::Format},
    };
    const auto it = kinds.find(value);
    if (it == kinds.end()) {
        fail(at,
             "cleaning \"" + value +
                 "\" is not one of string, name, address, date, none, editcode, phone, alphaspace, format",
             "load");
    }
    return it->second;
}

// The cleaning of a field whose entry names none: as in the default lists.
DataMgmt::TifCleaning defaultCleaning(const DataMgmt::FormFieldDesc& field) {
    if (field.isDate()) return DataMgmt::TifCleaning::Date;
    if (field.isText()) return DataMgmt::TifCleaning::String;
    if (field.isBoolean()) return DataMgmt::TifCleaning::None;
    return DataMgmt::TifCleaning::EditCode;
}

DataMgmt::TaxFormDescPtr formByDevName(const std::string& devName, const DataMgmt::TaxReturnDesc& federal,
                                       const DataMgmt::TaxReturnDesc& georgia) {
    DataMgmt::TaxFormDescPtr form = georgia.findByDevName(devName);
    return form.isNull() ? federal.findByDevName(devName) : form;
}

bool isKey(const std::string& key) {
    // Every key starts with the five digits of its line number, so no
    // key-value line can be taken for a header or record line.
    return key.size() == 13 && std::all_of(key.begin(), key.begin() + 5, [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

void TifListReader::readList(const std::vector<Token>& tokens, const Location& at) {
    if (open_) {
        fail(at, "efile inside the e-file list of " + open_->devName + " (close it with \"end\" first)", "load");
    }
    if (tokens.size() < 2 || tokens[1].eq != std::string::npos || !isNameText(tokens[1].text)) {
        fail(at, "an efile line reads: efile <devname> [record=<name>] [flag=<c>] [last=<field>]", "load");
    }
    List list;
    list.devName = tokens[1].text;
    list.at = at;
    std::set<std::string> given;
    for (std::size_t i = 2; i < tokens.size(); ++i) {
        const auto [name, value] = attribute(tokens[i], "efile", at);
        if (!given.insert(name).second) {
            fail(at, "attribute " + name + " is given twice", "load");
        }
        if (name == "record") {
            if (value.empty() || value.size() > 10 || value.find(' ') != std::string::npos) {
                fail(at, "record name \"" + value + "\" must be one word of 1 to 10 characters", "load");
            }
            list.record = value;
        } else if (name == "flag") {
            if (value.size() != 1 || value == " ") {
                fail(at, "record flag \"" + value + "\" must be one character", "load");
            }
            list.flag = value;
        } else if (name == "last") {
            list.last =
                static_cast<std::int32_t>(number(value, "last field", 1, std::numeric_limits<std::int32_t>::max(), at));
        } else {
            fail(at, "unknown efile attribute \"" + name + "\"", "load");
        }
    }
    open_ = std::move(list);
}

void TifListReader::readEntry(const std::vector<Token>& tokens, const Location& at) {
    if (!open_) {
        fail(at, "entry outside an e-file list (no open \"efile\" line)", "load");
    }
    if (tokens.size() < 3 || tokens[1].eq != std::string::npos || tokens[2].eq != std::string::npos) {
        fail(at, "an entry line reads: entry <devname> <field> key=<key> [clean=<kind>] [format=<code>]", "load");
    }
    Entry entry;
    entry.devName = tokens[1].text;
    entry.field = static_cast<std::int32_t>(
        number(tokens[2].text, "field number", 1, std::numeric_limits<std::int32_t>::max(), at));
    entry.at = at;
    std::set<std::string> given;
    for (std::size_t i = 3; i < tokens.size(); ++i) {
        const auto [name, value] = attribute(tokens[i], "entry", at);
        if (!given.insert(name).second) {
            fail(at, "attribute " + name + " is given twice", "load");
        }
        if (name == "key") {
            if (!isKey(value)) {
                fail(at, "key \"" + value + "\" must have 13 characters, the first five digits", "load");
            }
            entry.key = value;
        } else if (name == "clean") {
            entry.cleaning = cleaningKind(value, at);
        } else if (name == "format") {
            entry.formatCode = editCode(value, at);
        } else {
            fail(at, "unknown entry attribute \"" + name + "\"", "load");
        }
    }
    if (entry.key.empty()) {
        fail(at, "entry has no key", "load");
    }
    open_->entries.push_back(std::move(entry));
}

void TifListReader::readEnd(const std::vector<Token>& tokens, const Location& at) {
    if (tokens.size() != 1) {
        fail(at, "unexpected \"" + tokens[1].text + "\" after end", "load");
    }
    lists_.push_back(std::move(*open_));
    open_.reset();
}

void TifListReader::resolve(DataMgmt::TaxReturnDesc& federal, DataMgmt::TaxReturnDesc& georgia) {
    for (const List& list : lists_) {
        resolveList(list, federal, georgia);
    }
}

void TifListReader::resolveList(const List& pending, DataMgmt::TaxReturnDesc& federal,
                                DataMgmt::TaxReturnDesc& georgia) {
    const DataMgmt::TaxFormDescPtr owner = formByDevName(pending.devName, federal, georgia);
    if (owner.isNull()) {
        fail(pending.at, "e-file list of unknown form " + pending.devName, "load");
    }
    const auto [seen, fresh] = resolvedAt_.emplace(owner->getTypeID(), pending.at);
    if (!fresh) {
        fail(pending.at,
             "e-file list of " + owner->getDevName() + " is given twice (first at " + seen->second.text() + ")",
             "load");
    }
    DataMgmt::TaxReturnDesc& target = owner->getTypeID().isState() ? georgia : federal;
    const std::string attributes = (pending.record.empty() ? owner->getDevName() : pending.record) + " " + pending.flag;

    DataMgmt::TifFieldDescriptorList list;
    if (pending.entries.empty()) {
        list = target.defaultTifFieldDescriptors(owner->getTypeID());
        for (DataMgmt::TifFieldDescriptor& d : list) {
            d.attributes = attributes;
        }
    }
    for (const Entry& entry : pending.entries) {
        const DataMgmt::TaxFormDescPtr form = formByDevName(entry.devName, federal, georgia);
        if (form.isNull()) {
            fail(entry.at, "unknown form " + entry.devName, "load");
        }
        const DataMgmt::FormFieldDescPtr field = form->getFieldDesc(Primitives::QVImmutableIdentifier(entry.field));
        if (field.isNull()) {
            fail(entry.at, "form " + form->getDevName() + " has no field " + std::to_string(entry.field), "load");
        }
        list.push_back(DataMgmt::TifFieldDescriptor{form->getTypeID(), field->getID(), entry.key, attributes,
                                                    entry.cleaning ? *entry.cleaning : defaultCleaning(*field),
                                                    entry.formatCode});
    }
    if (pending.last > 0) {
        // The named field goes to the end of the list, keeping its key.
        const auto it = std::find_if(list.begin(), list.end(), [&](const DataMgmt::TifFieldDescriptor& d) {
            return d.field.getNumber() == pending.last;
        });
        if (it == list.end()) {
            fail(pending.at,
                 "last field " + std::to_string(pending.last) + " is not in the e-file list of " + owner->getDevName(),
                 "load");
        }
        std::rotate(it, it + 1, list.end());
    }
    target.setTifFieldDescriptors(owner->getTypeID(), std::move(list));
}

}  // namespace FormDefinitions::detail
