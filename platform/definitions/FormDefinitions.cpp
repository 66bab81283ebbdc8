#include "platform/definitions/FormDefinitions.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <tuple>
#include <utility>

#include "platform/Exceptions.h"
#include "platform/definitions/DefinitionText.h"
#include "platform/efile/TifDefinitions.h"
#include "platform/util/Utils.h"

#ifndef GA_DEFAULT_FORMS_DIR
#define GA_DEFAULT_FORMS_DIR "forms"
#endif

namespace FormDefinitions {

namespace {

using namespace detail;

// A form may not list more fields than this; it keeps a mistyped run such as
// "fields 1-2000000000" from exhausting memory.
constexpr long kMaxFieldsPerForm = 100000;

class Loader {
public:
    Loader() {
        Library library = emptyLibrary();
        federal_ = library.federal;
        georgia_ = library.georgia;
    }

    void readFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            throw Exceptions::QuarloException(path + ": cannot be read (" + std::strerror(errno) + ")", kClass, "load");
        }
        Location at{path, 0};
        std::string line;
        while (std::getline(in, line)) {
            ++at.line;
            if (at.line == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) {
                line.erase(0, 3);  // byte-order mark of a UTF-8 file
            }
            readLine(line, at);
        }
        if (in.bad()) {
            throw Exceptions::QuarloException(path + ": reading failed", kClass, "load");
        }
        if (form_) {
            fail(formAt_, "form " + form_->getDevName() + " is not closed (no \"end\" line)", "load");
        }
        if (tifLists_.isOpen()) {
            fail(tifLists_.openAt(), "e-file list of " + tifLists_.openDevName() + " is not closed (no \"end\" line)",
                 "load");
        }
    }

    Library finish() {
        tifLists_.resolve(*federal_, *georgia_);
        return Library{federal_, georgia_};
    }

private:
    void readLine(const std::string& line, const Location& at) {
        const std::vector<Token> tokens = tokenize(line, at);
        if (tokens.empty()) {
            return;
        }
        const std::string& directive = tokens[0].text;
        if (tokens[0].eq == std::string::npos && directive == "form") {
            readForm(tokens, at);
        } else if (tokens[0].eq == std::string::npos && directive == "field") {
            readField(tokens, at);
        } else if (tokens[0].eq == std::string::npos && directive == "fields") {
            readRun(tokens, at);
        } else if (tokens[0].eq == std::string::npos && directive == "end" && tifLists_.isOpen()) {
            tifLists_.readEnd(tokens, at);
        } else if (tokens[0].eq == std::string::npos && directive == "end") {
            readEnd(tokens, at);
        } else if (tokens[0].eq == std::string::npos && directive == "efile") {
            if (form_) {
                fail(at, "efile inside form " + form_->getDevName() + " (close it with \"end\" first)", "load");
            }
            tifLists_.readList(tokens, at);
        } else if (tokens[0].eq == std::string::npos && directive == "entry") {
            tifLists_.readEntry(tokens, at);
        } else {
            fail(at, "unknown directive \"" + directive + "\"", "load");
        }
    }

    void readForm(const std::vector<Token>& tokens, const Location& at) {
        if (tifLists_.isOpen()) {
            fail(at, "form inside the e-file list of " + tifLists_.openDevName() + " (close it with \"end\" first)",
                 "load");
        }
        if (form_) {
            fail(at,
                 "form inside form " + form_->getDevName() + " (opened at line " + std::to_string(formAt_.line) +
                     " and not closed with \"end\")",
                 "load");
        }
        if (tokens.size() < 4 || tokens[1].eq != std::string::npos || tokens[2].eq != std::string::npos ||
            tokens[3].eq != std::string::npos) {
            fail(at, "a form line reads: form <number> <state|federal> <devname> [attributes]", "load");
        }
        const long formNumber = number(tokens[1].text, "form number", 1, std::numeric_limits<std::int32_t>::max(), at);
        bool isState = false;
        if (tokens[2].text == "state") {
            isState = true;
        } else if (tokens[2].text != "federal") {
            fail(at, "form kind \"" + tokens[2].text + "\" is neither state nor federal", "load");
        }
        const std::string devName = tokens[3].text;
        if (!isNameText(devName)) {
            fail(at, "dev name \"" + devName + "\" may hold only letters, digits and '_'", "load");
        }

        long copies = 99;
        long rank = 0;
        std::string businessName = "Form " + std::to_string(formNumber);
        std::set<std::string> given;
        for (std::size_t i = 4; i < tokens.size(); ++i) {
            const auto [name, value] = attribute(tokens[i], "form", at);
            if (!given.insert(name).second) {
                fail(at, "attribute " + name + " is given twice", "load");
            }
            if (name == "copies") {
                copies = number(value, "copies", 1, std::numeric_limits<std::uint16_t>::max(), at);
            } else if (name == "rank") {
                rank = number(value, "rank", 0, std::numeric_limits<std::int32_t>::max(), at);
            } else if (name == "name") {
                if (value.empty()) {
                    fail(at, "business name is empty", "load");
                }
                businessName = value;
            } else {
                fail(at, "unknown form attribute \"" + name + "\"", "load");
            }
        }

        const Primitives::QVImmutableFormIdentifier id(static_cast<std::int32_t>(formNumber), isState);
        const std::string kindText = isState ? "state" : "federal";
        const auto seen = formsAt_.find(id);
        if (seen != formsAt_.end()) {
            fail(at,
                 kindText + " form " + std::to_string(formNumber) + " is given twice (first at " + seen->second.text() +
                     ")",
                 "load");
        }
        const auto seenName = devNamesAt_.find(Utils::QVStringUtils::upperCased(devName));
        if (seenName != devNamesAt_.end()) {
            fail(at, "dev name " + devName + " is given twice (first at " + seenName->second.text() + ")", "load");
        }

        try {
            form_ = DataMgmt::TaxFormDescPtr(new DataMgmt::TaxFormDesc(
                id, devName, businessName, static_cast<std::uint16_t>(copies), static_cast<int>(rank)));
        } catch (const Exceptions::QuarloException& e) {
            fail(at, e.getMessage(), "load");
        }
        formAt_ = at;
        fieldsAt_.clear();
    }

    void readField(const std::vector<Token>& tokens, const Location& at) {
        requireForm("field", at);
        if (tokens.size() < 2 || tokens[1].eq != std::string::npos) {
            fail(at, "a field line reads: field <number> [attributes]", "load");
        }
        DataMgmt::FormFieldDesc::Attributes a;
        a.id = Primitives::QVImmutableIdentifier(static_cast<std::int32_t>(
            number(tokens[1].text, "field number", 1, std::numeric_limits<std::int32_t>::max(), at)));

        bool isDate = false;
        bool editGiven = false;
        std::set<std::string> given;
        for (std::size_t i = 2; i < tokens.size(); ++i) {
            const auto [name, value] = attribute(tokens[i], "field", at);
            if (!given.insert(name).second) {
                fail(at, "attribute " + name + " is given twice", "load");
            }
            if (name == "kind") {
                const std::optional<KindWord> kind = kindOfWord(value);
                if (!kind) fail(at, "field kind \"" + value + "\" is not one of " + kindWords(), "load");
                a.kind = kind->kind;
                a.content = kind->content;
                isDate = kind->date;
            } else if (name == "choices") {
                a.choices = value;
            } else if (name == "range") {
                std::tie(a.countLow, a.countHigh) = countRange(value, at);
            } else if (name == "len") {
                a.maxLength =
                    static_cast<std::uint16_t>(number(value, "len", 1, std::numeric_limits<std::uint16_t>::max(), at));
            } else if (name == "edit") {
                a.editCode = editCode(value, at);
                editGiven = true;
            } else if (name == "width") {
                a.width = static_cast<std::uint16_t>(
                    number(value, "width", 0, std::numeric_limits<std::uint16_t>::max(), at));
            } else if (name == "short") {
                if (!isNameText(value)) {
                    fail(at, "short name \"" + value + "\" may hold only letters, digits and '_'", "load");
                }
                a.shortName = value;
            } else if (name == "line") {
                if (value.empty()) {
                    fail(at, "line label is empty", "load");
                }
                a.lineID = value;
            } else if (name == "calc") {
                a.calculated = flag(name, value, at);
            } else if (name == "fractions") {
                a.fractions = flag(name, value, at);
            } else if (name == "domain") {
                a.domain = fieldDomain(value, at);
            } else {
                fail(at, "unknown field attribute \"" + name + "\"", "load");
            }
        }
        if (isDate) {
            if (editGiven && a.editCode != Validation::kDateEditCode) {
                fail(at, "a date field (kind=D) takes edit code D", "load");
            }
            a.editCode = Validation::kDateEditCode;
        } else if (a.editCode == Validation::kDateEditCode && a.kind != DataMgmt::FieldKind::Text) {
            fail(at, "edit code D marks a date, which needs kind=D", "load");
        }
        checkDomain(a, at);
        checkContent(a, at);
        addField(std::move(a), at);
    }

    void readRun(const std::vector<Token>& tokens, const Location& at) {
        requireForm("fields", at);
        if (tokens.size() != 2 || tokens[1].eq != std::string::npos) {
            fail(at, "a fields line reads: fields <first>-<last> (no attributes)", "load");
        }
        const std::string& run = tokens[1].text;
        const std::size_t dash = run.find('-', 1);
        if (dash == std::string::npos) {
            fail(at, "run \"" + run + "\" is not of the form <first>-<last>", "load");
        }
        const long first =
            number(run.substr(0, dash), "first field of the run", 1, std::numeric_limits<std::int32_t>::max(), at);
        const long last =
            number(run.substr(dash + 1), "last field of the run", 1, std::numeric_limits<std::int32_t>::max(), at);
        if (first > last) {
            fail(at, "run " + run + " goes backwards (" + std::to_string(first) + " > " + std::to_string(last) + ")",
                 "load");
        }
        if (last - first + 1 + static_cast<long>(form_->fieldCount()) > kMaxFieldsPerForm) {
            fail(at,
                 "run " + run + " gives form " + form_->getDevName() + " more than " +
                     std::to_string(kMaxFieldsPerForm) + " fields",
                 "load");
        }
        for (long n = first; n <= last; ++n) {
            DataMgmt::FormFieldDesc::Attributes a;
            a.id = Primitives::QVImmutableIdentifier(static_cast<std::int32_t>(n));
            addField(std::move(a), at);
        }
    }

    void readEnd(const std::vector<Token>& tokens, const Location& at) {
        if (!form_) {
            fail(at, "\"end\" without a form", "load");
        }
        if (tokens.size() != 1) {
            fail(at, "unexpected \"" + tokens[1].text + "\" after end", "load");
        }
        DataMgmt::TaxReturnDescPtr& target = form_->getTypeID().isState() ? georgia_ : federal_;
        try {
            target->addForm(form_);
        } catch (const Exceptions::QuarloException& e) {
            fail(formAt_, e.getMessage(), "load");
        }
        formsAt_.emplace(form_->getTypeID(), formAt_);
        devNamesAt_.emplace(Utils::QVStringUtils::upperCased(form_->getDevName()), formAt_);
        form_ = DataMgmt::TaxFormDescPtr();
    }

    void requireForm(const std::string& directive, const Location& at) const {
        if (!form_) {
            fail(at, directive + " outside a form (no open \"form\" line)", "load");
        }
    }

    void addField(DataMgmt::FormFieldDesc::Attributes a, const Location& at) {
        const std::int32_t fieldNumber = a.id.getNumber();
        const auto seen = fieldsAt_.find(fieldNumber);
        if (seen != fieldsAt_.end()) {
            fail(at,
                 "field " + std::to_string(fieldNumber) + " is given twice in form " + form_->getDevName() +
                     " (first at line " + std::to_string(seen->second) + ")",
                 "load");
        }
        if (static_cast<long>(form_->fieldCount()) >= kMaxFieldsPerForm) {
            fail(at, "form " + form_->getDevName() + " has more than " + std::to_string(kMaxFieldsPerForm) + " fields",
                 "load");
        }
        try {
            form_->addField(std::move(a));
        } catch (const Exceptions::QuarloException& e) {
            fail(at, e.getMessage(), "load");
        }
        fieldsAt_.emplace(fieldNumber, at.line);
    }

    DataMgmt::TaxReturnDescPtr federal_;
    DataMgmt::TaxReturnDescPtr georgia_;
    DataMgmt::TaxFormDescPtr form_;  // the form being read, until its "end"
    Location formAt_;
    std::map<std::int32_t, int> fieldsAt_;  // fields of the open form -> line
    std::map<Primitives::QVImmutableFormIdentifier, Location> formsAt_;
    std::map<std::string, Location> devNamesAt_;  // upper-case dev name -> where
    TifListReader tifLists_;                      // e-file lists, resolved when every form is known
};

}  // namespace

Library loadFiles(const std::vector<std::string>& paths) {
    Loader loader;
    for (const std::string& path : paths) {
        loader.readFile(path);
    }
    return loader.finish();
}

Library loadDirectory(const std::string& dir) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::is_directory(dir, ec)) {
        throw Exceptions::QuarloException(dir + ": not a directory of form definitions", kClass, "loadDirectory");
    }
    std::vector<std::string> paths;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path& path = it->path();
        std::error_code typeError;
        if (path.extension() == ".def" && !it->is_directory(typeError)) {
            paths.push_back(path.string());
        }
    }
    if (ec) {
        throw Exceptions::QuarloException(dir + ": cannot be listed (" + ec.message() + ")", kClass, "loadDirectory");
    }
    if (paths.empty()) {
        throw Exceptions::QuarloException(dir + ": holds no form definitions (*.def)", kClass, "loadDirectory");
    }
    std::sort(paths.begin(), paths.end());
    return loadFiles(paths);
}

Library emptyLibrary() {
    return Library{
        DataMgmt::TaxReturnDescPtr(new DataMgmt::TaxReturnDesc("Federal", "US", DataMgmt::kFederalReturnType)),
        DataMgmt::TaxReturnDescPtr(new DataMgmt::TaxReturnDesc("Georgia", "GA", DataMgmt::kGeorgiaReturnType))};
}

std::string defaultDirectory() {
    const char* fromEnvironment = std::getenv("GA_FORMS_DIR");
    if (fromEnvironment != nullptr && fromEnvironment[0] != '\0') {
        return fromEnvironment;
    }
    return GA_DEFAULT_FORMS_DIR;
}

}  // namespace FormDefinitions
