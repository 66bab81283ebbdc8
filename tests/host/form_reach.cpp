#include "tests/host/form_reach.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iostream>
#include <regex>
#include <sstream>

#include "host/EFileRun.h"
#include "host/PrintRun.h"
#include "platform/Configuration.h"
#include "platform/Exceptions.h"
#include "platform/definitions/FormDefinitions.h"
#include "platform/returnfile/ReturnFile.h"
#include "platform/util/Utils.h"
#include "tests/host/example_returns.h"
#include "tests/host/module_calculation.h"

namespace testsupport {

namespace {

// ------------------------------------------------------------ what the rows add

// A federal wage statement (W-2) with a Georgia line.
std::string wageStatement(int copy, const std::string& employer, const std::string& stateId, int wages, int withheld) {
    const std::string w = std::to_string(wages);
    return "<FORM DEVNAME=\"F52\" COPY=\"" + std::to_string(copy) + "\"><FIELD ID=\"7\" VALUE=\"" + employer +
           "\"/><FIELD ID=\"21\" VALUE=\"" + w + "\"/><FIELD ID=\"34\" VALUE=\"GA\"/><FIELD ID=\"8\" VALUE=\"" +
           stateId + "\"/><FIELD ID=\"33\" VALUE=\"" + w + "\"/><FIELD ID=\"32\" VALUE=\"" + std::to_string(withheld) +
           "\"/></FORM>";
}

// Fifteen documents with Georgia withholding: six wage statements fill the
// six entries of form 70; a gambling statement, a 1099-MISC (its payer's
// number without a dash), a 1099-G, a 1099-R and a 1099-INT (no payer's
// number), then form 70's own four withholding rows fill the nine entries
// of form 189218's first copy, each kind of entry and each row box once.
std::string fifteenWithholdingDocuments() {
    std::string forms;
    for (int copy = 2; copy <= 6; ++copy) {
        forms += wageStatement(copy, "58-41000" + std::to_string(30 + copy), "12345" + std::to_string(copy) + "-AB",
                               1000 * copy, 40 * copy);
    }
    return forms + R"(
<FORM DEVNAME="F54"><FIELD ID="4" VALUE="58-4100041"/><FIELD ID="28" VALUE="GA"/><FIELD ID="24" VALUE="7700041-GM"/>
  <FIELD ID="12" VALUE="5000"/><FIELD ID="25" VALUE="300"/></FORM>
<FORM DEVNAME="F110"><FIELD ID="20" VALUE="584100042"/><FIELD ID="46" VALUE="GA"/><FIELD ID="48" VALUE="7700042-MI"/>
  <FIELD ID="131" VALUE="2500"/><FIELD ID="45" VALUE="100"/></FORM>
<FORM DEVNAME="F165"><FIELD ID="26" VALUE="58-4100043"/><FIELD ID="20717" VALUE="X"/><FIELD ID="11" VALUE="3000"/>
  <FIELD ID="17" VALUE="GA"/><FIELD ID="28" VALUE="7700043-UI"/><FIELD ID="16" VALUE="150"/></FORM>
<FORM DEVNAME="F84"><FIELD ID="11" VALUE="58-4100044"/><FIELD ID="33" VALUE="GA"/><FIELD ID="31" VALUE="7700044-RP"/>
  <FIELD ID="134" VALUE="4000"/><FIELD ID="30" VALUE="200"/></FORM>
<FORM DEVNAME="F166"><FIELD ID="10" VALUE="800"/><FIELD ID="133633" VALUE="GA"/>
  <FIELD ID="133634" VALUE="7700045-IN"/><FIELD ID="133635" VALUE="25"/></FORM>)";
}

// Form 70's four withholding rows, each with its own amount withheld so that
// each entry marks its own row's box.
const char* kForm70WithholdingRows = R"(
<FORM DEVNAME="GA70">
  <FIELD ID="190494" VALUE="58-4100051"/><FIELD ID="190495" VALUE="7700051-GA"/><FIELD ID="190496" VALUE="1100"/>
  <FIELD ID="243" VALUE="51"/>
  <FIELD ID="190497" VALUE="58-4100052"/><FIELD ID="190498" VALUE="7700052-RP"/><FIELD ID="190499" VALUE="1200"/>
  <FIELD ID="244" VALUE="52"/>
  <FIELD ID="190500" VALUE="58-4100053"/><FIELD ID="190501" VALUE="7700053-LP"/><FIELD ID="190502" VALUE="1300"/>
  <FIELD ID="140462" VALUE="53"/>
  <FIELD ID="190503" VALUE="58-4100054"/><FIELD ID="190504" VALUE="7700054-FL"/><FIELD ID="190505" VALUE="1400"/>
  <FIELD ID="148018" VALUE="54"/>
</FORM>)";

// The rural hospital expense credit three times: the individual part, a
// donor's 75 % part and a donor's 6 % part (the last counts through an
// amount added to its credit), each copy with both required boxes.
const char* kRuralHospitalCredits = R"(
<FORM DEVNAME="GA203638" COPY="1"><FIELD ID="203655" VALUE="X"/>
  <FIELD ID="203657" VALUE="2000"/><FIELD ID="203659" VALUE="1500"/><FIELD ID="203951" VALUE="100"/>
  <FIELD ID="203952" VALUE="1000"/></FORM>
<FORM DEVNAME="GA203638" COPY="2"><FIELD ID="203653" VALUE="X"/><FIELD ID="203655" VALUE="X"/>
  <FIELD ID="203661" VALUE="900"/><FIELD ID="203663" VALUE="800"/><FIELD ID="203664" VALUE="1000"/>
  <FIELD ID="203948" VALUE="300"/></FORM>
<FORM DEVNAME="GA203638" COPY="3"><FIELD ID="205382" VALUE="X"/><FIELD ID="203655" VALUE="X"/>
  <FIELD ID="205383" VALUE="400"/><FIELD ID="205384" VALUE="500"/><FIELD ID="205385" VALUE="6000"/>
  <FIELD ID="203942" VALUE="100"/><FIELD ID="203949" VALUE="50"/></FORM>)";

// The conservation credit through an S corporation, its entity block open,
// with the two further summary rows and amounts used.
const char* kConservationCredit = R"(
<FORM DEVNAME="GA203639" COPY="1"><FIELD ID="203790" VALUE="X"/><FIELD ID="203792" VALUE="X"/>
  <FIELD ID="203793" VALUE="S Corporation"/><FIELD ID="203678" VALUE="Altamaha Land Trust Inc"/>
  <FIELD ID="203679" VALUE="58-4100061"/><FIELD ID="203794" VALUE="1 River Rd"/>
  <FIELD ID="203683" VALUE="1500"/><FIELD ID="203684" VALUE="500"/>
  <FIELD ID="203917" VALUE="Altamaha Land Trust Inc"/><FIELD ID="203918" VALUE="100"/>
  <FIELD ID="203920" VALUE="58-4100061"/>
  <FIELD ID="205657" VALUE="Satilla Holdings LLC"/><FIELD ID="205659" VALUE="50"/><FIELD ID="205661" VALUE="400"/>
  <FIELD ID="205663" VALUE="58-4100062"/><FIELD ID="203922" VALUE="400"/>
  <FIELD ID="205658" VALUE="Ogeechee Partners"/><FIELD ID="205660" VALUE="25"/><FIELD ID="205662" VALUE="200"/>
  <FIELD ID="205664" VALUE="58-4100063"/><FIELD ID="203923" VALUE="200"/>
  <FIELD ID="203925" VALUE="100"/><FIELD ID="203926" VALUE="1200"/></FORM>)";

// The forms that the examples reach as they stand. Every return holds the
// information form, the main form, the credit index and the shared state
// worksheets (those of interest and dividends with such statements); the
// last two never print.
std::vector<FormReach> formsTheExamplesReach() {
    const std::string noEntries;
    return {
        {"GA69", "single-wages", noEntries, noEntries, "every return"},
        {"GA70", "single-wages", noEntries, noEntries, "every return"},
        {"GA71", "underpaid-estimated", noEntries, noEntries, "estimated tax paid late"},
        {"GA73", "tax-paid-to-another-state", noEntries, noEntries, "tax paid to another state"},
        {"GA74", "individual-credits", noEntries, noEntries, "an IND-CR credit"},
        {"GA75", "estimated-2019", noEntries, noEntries, "estimated tax for next year"},
        {"GA77", "single-wages", noEntries, noEntries, "an amount owed"},
        {"GA187981", "education-and-film-credits", noEntries, noEntries, "an education expense credit"},
        {"GA187982", "single-wages", noEntries, noEntries, "an amount owed"},
        {"GA189215", "interest-dividends", noEntries, noEntries, "an addition or subtraction"},
        {"GA189216", "education-and-film-credits", noEntries, noEntries, "a credit of the credit summary"},
        {"GA189217", "part-year-resident", noEntries, noEntries, "a part-year resident"},
        {"GA189219", "amended-return", noEntries, noEntries, "an amended return"},
        {"GA190054", "individual-credits", noEntries, noEntries, "IND-CR 201"},
        {"GA190057", "individual-credits", noEntries, noEntries, "IND-CR 204"},
        {"GA190059", "disaster-and-rural-practice-credits", noEntries, noEntries, "IND-CR 206"},
        {"GA190060", "disaster-and-rural-practice-credits", noEntries, noEntries, "IND-CR 207"},
        {"GA190061", "disaster-and-rural-practice-credits", noEntries, noEntries, "IND-CR 208"},
        {"GA203811", "education-and-film-credits", noEntries, noEntries, "a pass-through business credit"},
        {"GA204111", "single-wages", noEntries, noEntries, "every return (the credit index)"},
        {"ST2", "interest-dividends", noEntries, noEntries, "a 1099-INT"},
        {"ST3", "interest-dividends", noEntries, noEntries, "a 1099-DIV"},
        {"ST4", "single-wages", noEntries, noEntries, "every return"},
        {"ST14", "single-wages", noEntries, noEntries, "every return"},
        {"ST15", "single-wages", noEntries, noEntries, "every return"},
        {"ST32783", "single-wages", noEntries, noEntries, "every return"},
    };
}

// The forms that entries added to an example reach.
std::vector<FormReach> formsReachedWithEntries() {
    const std::string noEntries;
    return {
        {"GA72", "single-wages", noEntries, "<HOST><INELF>X</INELF></HOST>", "a return filed electronically"},
        {"GA76", "joint-two-dependents",
         R"(<FORM DEVNAME="F113" COPY="3"><FIELD ID="1103" VALUE="Nia"/><FIELD ID="1105" VALUE="Rivera"/>
              <FIELD ID="1106" VALUE="400002005"/><FIELD ID="1108" VALUE="Daughter"/><FIELD ID="1136" VALUE="X"/></FORM>
            <FORM DEVNAME="F113" COPY="4"><FIELD ID="1103" VALUE="Eli"/><FIELD ID="1105" VALUE="Rivera"/>
              <FIELD ID="1106" VALUE="400002006"/><FIELD ID="1108" VALUE="Son"/><FIELD ID="1136" VALUE="X"/></FORM>)",
         noEntries, "more than three dependents listed"},
        {"GA189218", "single-wages", fifteenWithholdingDocuments(), kForm70WithholdingRows,
         "seven or more documents with Georgia withholding"},
        {"GA190055", "individual-credits", noEntries,
         R"(<HOST><PULLCOMMON FORM="F1" ITEM="federal-child-care-credit">600</PULLCOMMON></HOST>
            <FORM DEVNAME="GA190055" COPY="1"/>)",
         "IND-CR 202: a federal credit for child and dependent care expenses"},
        {"GA190056", "individual-credits", noEntries,
         R"(<FORM DEVNAME="GA190056"><FIELD ID="190167" VALUE="300"/><FIELD ID="190168" VALUE="200"/>
              <FIELD ID="190169" VALUE="400"/></FORM>)",
         "IND-CR 203"},
        {"GA190058", "individual-credits", noEntries,
         R"(<FORM DEVNAME="GA190058">
              <FIELD ID="190193" VALUE="Pine Street Driving School"/><FIELD ID="190194" VALUE="Lena"/>
              <FIELD ID="190195" VALUE="Hale"/><FIELD ID="190196" VALUE="05/14/2001"/>
              <FIELD ID="190197" VALUE="400-00-3003"/><FIELD ID="190198" VALUE="06/01/2018"/>
              <FIELD ID="190199" VALUE="Pine Street Driving School"/><FIELD ID="190200" VALUE="Owen"/>
              <FIELD ID="190201" VALUE="Hale"/><FIELD ID="190202" VALUE="02/03/2002"/>
              <FIELD ID="190203" VALUE="400-00-3004"/><FIELD ID="190204" VALUE="08/20/2018"/>
              <FIELD ID="190205" VALUE="200"/><FIELD ID="190206" VALUE="100"/></FORM>)",
         "IND-CR 205: two children's driver training"},
        {"GA190062", "individual-credits", noEntries,
         R"(<FORM DEVNAME="GA190062"><FIELD ID="190239" VALUE="3000"/><FIELD ID="190241" VALUE="800"/>
              <FIELD ID="190243" VALUE="500"/></FORM>)",
         "IND-CR 209"},
        {"GA203638", "single-wages", noEntries, kRuralHospitalCredits, "a rural hospital expense credit"},
        {"GA203639", "single-wages", noEntries, kConservationCredit, "a conservation credit"},
    };
}

// ------------------------------------------------------------ the return file

// The rows write a field as <FIELD ID="7" VALUE="text"/>; a return file
// gives its value in an element of its own.
std::string withValueElements(const std::string& elements) {
    static const std::regex shorthand("<FIELD ID=\"([0-9]+)\" VALUE=\"([^\"]*)\"/>");
    return std::regex_replace(elements, shorthand, "<FIELD><ID>$1</ID><VALUE>$2</VALUE></FIELD>");
}

const PersistanceMgmt::ReturnDescriptions& descriptions() {
    static const FormDefinitions::Library library = FormDefinitions::loadDefault();
    static const PersistanceMgmt::ReturnDescriptions both{library.federal.get(), library.georgia.get()};
    return both;
}

std::string readText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
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

void PrintTo(const FormReach& row, std::ostream* out) { *out << row.devName << " from " << row.example; }

const std::vector<FormReach>& formReaches() {
    static const std::vector<FormReach> table = [] {
        std::vector<FormReach> rows = formsTheExamplesReach();
        const std::vector<FormReach> more = formsReachedWithEntries();
        rows.insert(rows.end(), more.begin(), more.end());
        return rows;
    }();
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
    const PersistanceMgmt::ReturnFileContents more = PersistanceMgmt::ReturnFile::parse(
        withValueElements(added), "the entries that reach form " + row.devName, descriptions());
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
    GAHost::HostSession session("");
    const GAHost::CurrentSession current(session);
    session.openReturns(&buildModule());
    session.load(returnFile.string());
    if (efiled) session.georgiaState()->setInElf(true);
    PrintedReturn printed;
    {
        GAHost::ModuleCalculation calculation(buildModule(), session, returnFile.stem().string());
        DataMgmt::QuarloConfiguration& cfg = *DataMgmt::QuarloConfiguration::getInstance();
        const std::string previous = cfg.eFileDir;
        cfg.eFileDir = workDir.string() + "/";
        EXPECT_TRUE(GAHost::settleWithEFilePrepared(calculation, std::nullopt, std::cerr)) << returnFile;
        cfg.eFileDir = previous;
        printed.printList = printList(calculation.printer(), *session.georgiaState());
        const std::filesystem::path printPath = workDir / (returnFile.stem().string() + ".print.txt");
        std::ostringstream out;
        std::ostringstream err;
        EXPECT_TRUE(GAHost::printGeorgiaForms(calculation.printer(), session, printPath.string(), out, err))
            << err.str();
        printed.printFile = readText(printPath);
    }
    printed.formsHeld = formsHeldBy(*session.georgiaState());
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
