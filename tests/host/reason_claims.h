// What the reason of a note claims of the return it is told on, and whether
// each claim holds on the calculated return.
#pragma once

#include <cmath>
#include <map>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "module/catalogues/Form69Lines.h"
#include "module/frame/FormIdentifiers.h"
#include "platform/store/DataMgmt.h"

namespace testsupport {

// What a reason's words claim of the return it is told on: a box of the
// entry's copy marked or not ('b'), the residency ('r'), a field that is 0
// ('z'), 1 ('o') or below 0 ('n'), or a field that holds the amount the entry was held to
// ('u', that amount in `value`); "when", "while" or "if" states a rule, and
// claims nothing.
struct Claim {
    char what;  // 0: no claim
    int number;
    bool holds;
    double value = 0.0;
};

inline std::vector<Claim> claimsOf(std::string text) {
    const std::string box = R"(box (\d+)(?: \([^)]*\)|\))?)", residency = "(full-year|part-year|nonresident)";
    const std::map<std::string, int> codes = {{"full-year", 1}, {"part-year", 2}, {"nonresident", 3}};
    // Each pattern's matches are taken out of the text before the next.
    const std::pair<std::string, Claim> patterns[] = {
        {R"(\b(?:when|while|if) )" + box + " is (?:not )?marked", {0, 0, false}},
        {R"(\bunless )" + box + " is marked", {'b', 0, false}},
        {box + " is not marked", {'b', 0, false}},
        {box + " is marked", {'b', 0, true}},
        {R"(\b(?:as well as|unmark) box (\d+))", {'b', 0, true}},
        {R"(\bmark box (\d+))", {'b', 0, false}},
        {"counts on an? " + residency + " return only", {'r', 0, false}},
        {"counts only on a return that is not " + residency, {'r', 0, true}},
        {R"(total \(field (\d+)\) is 0\b)", {'z', 0, true}},
        {R"(\(field (\d+) is 0\b)", {'z', 0, true}},
        {R"(\(field (\d+) is 1\b)", {'o', 0, true}},
        {R"(\(field (\d+), below 0\))", {'n', 0, true}},
        {R"(\bto (-?[0-9.]+), the [^(:,]*\(field (\d+)\))", {'u', 0, true}},
    };
    std::vector<Claim> claims;
    for (const auto& [pattern, claim] : patterns) {
        const std::regex re(pattern);
        for (std::sregex_iterator m(text.begin(), text.end(), re), end; claim.what != 0 && m != end; ++m) {
            const std::string n = (*m)[claim.what == 'u' ? 2 : 1];
            claims.push_back({claim.what, codes.count(n) > 0 ? codes.at(n) : std::stoi(n), claim.holds,
                              claim.what == 'u' ? std::stod((*m)[1]) : 0.0});
        }
        text = std::regex_replace(text, re, "");
    }
    return claims;
}

// Whether the claim holds on the entry's copy of the calculated return of
// the residency.
inline bool claimHolds(const Claim& c, const DataMgmt::TaxReturn& calculated, const DataMgmt::FormID& form,
                       std::uint16_t copy) {
    switch (c.what) {
        case 'b':
            return calculated.formYes(form, copy, c.number) == c.holds;
        case 'r':
            return (calculated.getIN(kGAForm69ID, 1, kForm69Lines.residency.code) == c.number) == c.holds;
        case 'z':
            return calculated.getIR(form, copy, c.number) == 0.0;
        case 'o':
            return calculated.getIR(form, copy, c.number) == 1.0;
        case 'n':
            return calculated.getIR(form, copy, c.number) < 0.0;
        default:
            return std::abs(calculated.getIR(form, copy, c.number) - c.value) < 0.005;
    }
}

}  // namespace testsupport
