// The common items that the host answers from the federal return itself,
// where the federal return states the same fact: the filing status, the
// dependents it lists, the "65 or over" boxes of its form 1040, each filer's
// W-2 wages, the taxable interest of the 1099-INT statements and the
// ordinary dividends of the 1099-DIV statements; and the W-2 split between
// the filers. A seed that disagrees with the federal return is refused, and
// so is a federal return that contradicts itself (a "65 or over" box against
// the filer's birth date, a W-2 of the spouse on a return that is not joint).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/returnfile/ReturnFile.h"

namespace PersistanceMgmt {

// The federal forms a return may be filed on; the items derived from the
// federal return are answered for each of them.
constexpr std::int32_t kFederalMainForms[] = {1, 55, 87};

// Where the federal return says each of them is the item's answeredBy in the
// common item table.
struct DerivedItem {
    std::int32_t type = 0;
    std::int64_t value = 0;
};

// The items the staged federal return answers. An item whose source the
// federal return does not hold (no <FILINGSTATUS>, no form 1040, no W-2, a
// W-2 of a joint return without its owner, no 1099-INT, no 1099-DIV) is left
// out.
std::vector<DerivedItem> deriveCommonItems(const ReturnPart& federal);

// The split of the W-2 wages (federal form 52 box 1) between the taxpayer
// and the spouse, when the federal return says whose every W-2 is (see
// deriveCommonItems).
std::optional<W2Split> deriveW2Split(const ReturnPart& federal);

// One problem for every common item or W-2 split seeded in the Georgia
// return that disagrees with what the federal return says, naming both
// values: "<file>:<line>: form F1: common item 1 (federal-filing-status) is
// 1, but the federal return says 2 (the federal return's <FILINGSTATUS>)";
// and for every contradiction within the federal return.
std::vector<std::string> seedsContradictingTheFederalReturn(const ReturnFileContents& contents,
                                                            const std::string& displayName);

// ---- the owner of a statement (FORM OWNER="taxpayer|spouse")

// True for the federal forms whose copies state their owner: the W-2.
bool statesItsOwner(const Primitives::QVImmutableFormIdentifier& form);
// "taxpayer" or "spouse".
const char* ownerWord(Filer owner);
// The owner a word names (any letter case); nullopt for another word.
std::optional<Filer> ownerNamed(const std::string& word);

}  // namespace PersistanceMgmt
