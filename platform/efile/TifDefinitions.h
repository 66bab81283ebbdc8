// The e-file lists of the form-definition files: an "efile" block names the
// form whose record it describes and either lists the record's fields
// ("entry" lines) or, without entries, takes the form's default list.
//
//   efile <devname> [record=<name>] [flag=<c>] [last=<field>]
//   entry <devname> <field> key=<key> [clean=<kind>] [format=<code>]
//   end
//
// A list is read while the files are read and resolved once every form is
// known, so that an entry may name a form defined in a later file.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/definitions/DefinitionText.h"
#include "platform/store/Descriptions.h"

namespace FormDefinitions::detail {

class TifListReader {
public:
    // True while an "efile" block is open (its "end" belongs to it).
    bool isOpen() const { return open_.has_value(); }
    const std::string& openDevName() const { return open_->devName; }
    const Location& openAt() const { return open_->at; }

    void readList(const std::vector<Token>& tokens, const Location& at);
    void readEntry(const std::vector<Token>& tokens, const Location& at);
    void readEnd(const std::vector<Token>& tokens, const Location& at);

    // Sets every list read on the description of its form.
    void resolve(DataMgmt::TaxReturnDesc& federal, DataMgmt::TaxReturnDesc& georgia);

private:
    struct Entry {
        std::string devName;
        std::int32_t field = 0;
        std::string key;
        std::optional<DataMgmt::TifCleaning> cleaning;
        std::uint8_t formatCode = 0;
        Location at;
    };
    struct List {
        std::string devName;
        std::string record;  // empty: the dev name
        std::string flag = "0";
        std::int32_t last = 0;
        std::vector<Entry> entries;
        Location at;
    };

    void resolveList(const List& list, DataMgmt::TaxReturnDesc& federal, DataMgmt::TaxReturnDesc& georgia);

    std::optional<List> open_;
    std::vector<List> lists_;
    std::map<Primitives::QVImmutableFormIdentifier, Location> resolvedAt_;
};

}  // namespace FormDefinitions::detail
