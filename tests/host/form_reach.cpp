#include "tests/host/form_reach.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <regex>
#include <sstream>

#include "host/PrintRun.h"
#include "platform/Exceptions.h"
#include "platform/definitions/FormDefinitions.h"
#include "platform/returnfile/ReturnFile.h"
#include "platform/util/Utils.h"
#include "tests/host/example_returns.h"
#include "tests/host/module_calculation.h"

namespace testsupport {

namespace {

const std::filesystem::path kReachData = std::filesystem::path(GA_SOURCE_DIR) / "tests" / "data" / "reach";

std::string readText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// ------------------------------------------------------------ the table

// The elements inside the document's RETURN of the type; none without one.
std::string elementsOf(const std::string& document, const std::string& type) {
    const std::string start = "<RETURN TYPE=\"" + type + "\">";
    const std::size_t at = document.find(start);
    if (at == std::string::npos) return {};
    return document.substr(at + start.size(), document.find("</RETURN>", at) - at - start.size());
}

// The rows of forms.txt ("<form> <example> <why>", '#' starts a comment),
// each with the elements of <form>.xml where there is one.
std::vector<FormReach> readTable() {
    std::vector<FormReach> rows;
    std::istringstream lines(readText(kReachData / "forms.txt"));
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line[0] == '#') continue;
        FormReach row;
        std::istringstream words(line);
        words >> row.devName >> row.example >> std::ws;
        std::getline(words, row.why);
        const std::string entries = readText(kReachData / (row.devName + ".xml"));
        row.federal = elementsOf(entries, "federal");
        row.georgia = elementsOf(entries, "GA");
        rows.push_back(row);
    }
    return rows;
}

// ------------------------------------------------------------ the return file

const PersistanceMgmt::ReturnDescriptions& descriptions() {
    static const FormDefinitions::Library library = FormDefinitions::loadDefault();
    static const PersistanceMgmt::ReturnDescriptions both{library.federal.get(), library.georgia.get()};
    return both;
}

// The host's answers: those given in `added` replace the example's.
void mergeSeeds(PersistanceMgmt::ReturnSeeds& into, const PersistanceMgmt::ReturnSeeds& added) {
    const auto take = [](auto& to, const auto& from) {
        if (from) to = from;
    };
    take(into.filingStatus, added.filingStatus);
    take(into.form2555Present, added.form2555Present);
    take(into.officeLocatorURL, added.officeLocatorURL);
    take(into.stateWages, added.stateWages);
    take(into.allStateWages, added.allStateWages);
    take(into.stateTaxWithheld, added.stateTaxWithheld);
    take(into.stateTaxWithheldNoLocal, added.stateTaxWithheldNoLocal);
    take(into.inElf, added.inElf);
    take(into.enabledType, added.enabledType);
    take(into.taxBalance, added.taxBalance);
    take(into.refundCode, added.refundCode);
    for (const auto& [name, value] : added.sessionProperties) into.sessionProperties[name] = value;
    for (const PersistanceMgmt::CommonItem& item : added.commonItems) {
        const auto same = std::find_if(into.commonItems.begin(), into.commonItems.end(), [&](const auto& mine) {
            return mine.form == item.form && mine.type == item.type;
        });
        if (same != into.commonItems.end()) {
            *same = item;
        } else {
            into.commonItems.push_back(item);
        }
    }
    into.w2Splits.insert(into.w2Splits.end(), added.w2Splits.begin(), added.w2Splits.end());
}

// A copy's fields: those of `added` beside the copy's own, in form order.
void mergeFields(PersistanceMgmt::CopyEntry& into, const PersistanceMgmt::CopyEntry& added) {
    for (const PersistanceMgmt::FieldEntry& field : added.fields) {
        const auto same = std::find_if(into.fields.begin(), into.fields.end(),
                                       [&](const auto& mine) { return mine.desc->getID() == field.desc->getID(); });
        if (same != into.fields.end()) {
            *same = field;
        } else {
            into.fields.push_back(field);
        }
    }
    const DataMgmt::TaxFormDesc& form = *into.desc;
    std::stable_sort(into.fields.begin(), into.fields.end(), [&form](const auto& a, const auto& b) {
        return form.positionOf(a.desc->getID()) < form.positionOf(b.desc->getID());
    });
    if (added.owner) into.owner = added.owner;
    if (added.dataEntered) into.dataEntered = added.dataEntered;
}

// ------------------------------------------------------------ printing

std::string devNameOf(StateDataMgmt::StateTaxReturn& ga, const Primitives::QVImmutableFormIdentifier& form) {
    const DataMgmt::TaxFormDescPtr desc = ga.getTaxFormDescriptor(form);
    return desc.isNull() ? "form " + std::to_string(form.getNumber()) : desc->getDevName();
}

std::vector<std::string> printList(const TaxFormPrintMgmt::TaxFormPrinterPtr& handle,
                                   StateDataMgmt::StateTaxReturn& ga) {
    std::vector<std::string> list;
    auto* printer = dynamic_cast<StateTaxFormPrintMgmt::StateTaxFormPrinter*>(handle.get());
    if (printer == nullptr) return list;
    Primitives::QVImmutableFormIdentifier form(0);
    while (printer->getNextPrintForm0(form)) list.push_back(devNameOf(ga, form));
    return list;
}

std::set<std::string> formsHeldBy(StateDataMgmt::StateTaxReturn& ga) {
    std::set<std::string> held;
    for (DataMgmt::TaxFormDescIter it = ga.getTaxReturnDesc()->getTaxFormDescriptors(); !it.atEOL(); it.next()) {
        const DataMgmt::TaxFormDescPtr desc = it.getTaxFormDescriptor();
        if (ga.getFormCount(desc->getTypeID()) > 0) held.insert(desc->getDevName());
    }
    return held;
}

}  // namespace

void mergeReturn(std::optional<PersistanceMgmt::ReturnPart>& into,
                 const std::optional<PersistanceMgmt::ReturnPart>& added) {
    if (!added) return;
    if (!into) {
        into = added;
        return;
    }
    mergeSeeds(into->seeds, added->seeds);
    for (const PersistanceMgmt::CopyEntry& copy : added->copies) {
        const auto same = std::find_if(into->copies.begin(), into->copies.end(), [&](const auto& mine) {
            return mine.desc->getTypeID() == copy.desc->getTypeID() && mine.copy == copy.copy;
        });
        if (same != into->copies.end()) {
            mergeFields(*same, copy);
        } else {
            into->copies.push_back(copy);
        }
    }
}

void PrintTo(const FormReach& row, std::ostream* out) { *out << row.devName << " from " << row.example; }

const std::vector<FormReach>& formReaches() {
    static const std::vector<FormReach> table = readTable();
    return table;
}

const FormReach& reachOf(const std::string& devName) {
    for (const FormReach& row : formReaches()) {
        if (Utils::QVStringUtils::upperCased(row.devName) == Utils::QVStringUtils::upperCased(devName)) return row;
    }
    ADD_FAILURE() << "no return reaches form " << devName;
    throw Exceptions::QuarloException("no return reaches form " + devName, "FormReach", "reachOf");
}

std::string reachingReturn(const FormReach& row) {
    const std::filesystem::path example = kExamples / (row.example + ".xml");
    PersistanceMgmt::ReturnFileContents contents =
        PersistanceMgmt::ReturnFile::parse(readText(example), example.string(), descriptions());
    std::string added = "<RETURNFILE TAXYEAR=\"2018\">";
    if (!row.federal.empty()) added += "<RETURN TYPE=\"federal\">" + row.federal + "</RETURN>";
    if (!row.georgia.empty()) added += "<RETURN TYPE=\"GA\">" + row.georgia + "</RETURN>";
    added += "</RETURNFILE>";
    const PersistanceMgmt::ReturnFileContents more =
        PersistanceMgmt::ReturnFile::parse(added, (kReachData / (row.devName + ".xml")).string(), descriptions());
    mergeReturn(contents.federal, more.federal);
    mergeReturn(contents.georgia, more.georgia);
    return PersistanceMgmt::ReturnFile::serialize(contents);
}

std::filesystem::path writeReachingReturn(const FormReach& row, const std::filesystem::path& dir) {
    std::filesystem::create_directories(dir);
    const std::filesystem::path path = dir / (row.devName + ".xml");
    std::ofstream(path, std::ios::binary) << reachingReturn(row);
    return path;
}

PrintedReturn printAsGahostRun(const std::filesystem::path& returnFile, const std::filesystem::path& workDir,
                               bool efiled) {
    std::filesystem::create_directories(workDir);
    const std::filesystem::path printPath = workDir / (returnFile.stem().string() + ".print.txt");
    PrintedReturn printed;
    calculateAsGahost(
        returnFile.string(), efiled ? Calculation::RunEFiled : Calculation::Run, workDir.string(), nullptr,
        [&](GAHost::HostSession& session) { printed.formsHeld = formsHeldBy(*session.georgiaState()); },
        [&](GAHost::ModuleCalculation& calculation) {
            GAHost::HostSession& session = calculation.session();
            printed.printList = printList(calculation.printer(), *session.georgiaState());
            std::ostringstream out;
            std::ostringstream err;
            EXPECT_TRUE(GAHost::printGeorgiaForms(calculation.printer(), session, printPath.string(), out, err))
                << err.str();
        });
    printed.printFile = readText(printPath);
    return printed;
}

std::set<std::string> formsPrinted(const std::string& printFile) {
    static const std::regex heading("(^|\n)([A-Za-z0-9_]+) copy [0-9]+: ");
    std::set<std::string> forms;
    for (std::sregex_iterator it(printFile.begin(), printFile.end(), heading), end; it != end; ++it) {
        forms.insert((*it)[2].str());
    }
    return forms;
}

}  // namespace testsupport
