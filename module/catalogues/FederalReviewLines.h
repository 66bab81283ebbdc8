// The federal lines that mark the Georgia return for a closer look, by the
// rule that tests them: form 70's review mark and the review mark and
// indicators of the additions and subtractions (form 189215) read them. A
// federal form that the module reads for nothing else has its lines here
// only.
#pragma once

#include <array>

#include "module/catalogues/Form103FieldIds.h"
#include "module/catalogues/Form104Lines.h"
#include "module/catalogues/Form12FieldIds.h"
#include "module/catalogues/Form132FieldIds.h"
#include "module/catalogues/Form16FieldIds.h"
#include "module/catalogues/Form19FieldIds.h"
#include "module/catalogues/Form28FieldIds.h"
#include "module/catalogues/Form44FieldIds.h"
#include "module/catalogues/Form57Lines.h"
#include "module/catalogues/Form75FieldIds.h"
#include "module/catalogues/Form7FieldIds.h"
#include "module/catalogues/Form8FieldIds.h"
#include "module/frame/FormIdentifiers.h"
#include "platform/Primitives.h"

// A line of a federal form, copy 1 or every copy.
struct FederalLine {
    Primitives::QVImmutableFormIdentifier form;
    Primitives::QVImmutableIdentifier field;
};

// An amount that counts over the copies whose key line holds a key: the
// taxpayer's key line, and the spouse's on a joint return.
struct KeyedFederalLine {
    Primitives::QVImmutableFormIdentifier form;
    Primitives::QVImmutableIdentifier amount, key, spouseKey;
};

struct FederalReviewLines {
    // Copy 1 of the federal return: an entry on form 104, a loss (below 0)
    // on form 8 or 57, an amount (above 0) on form 44 or 103.
    FederalLine entry;
    std::array<FederalLine, 3> losses;
    std::array<FederalLine, 3> amounts;
    // Amounts that the schedule does not take: any of them not 0 over the
    // copies sets its indicator.
    std::array<FederalLine, 7> untakenAmounts;
    // Amounts under a key, added with form 1's own to set the schedule's
    // indicator of keyed amounts.
    std::array<KeyedFederalLine, 2> keyedAmounts;
    // Form 28's amount under its key, whose large total over some keys sets
    // the schedule's form 28 indicator.
    KeyedFederalLine form28Amount;
    // Form 70 only: an amount of federal form 75 not 0.
    FederalLine form75Amount;
};

inline constexpr FederalReviewLines kFederalReviewLines = [] {
    const auto& f7 = kForm7FieldIds;
    const auto& f8 = kForm8FieldIds;
    const auto& f16 = kForm16FieldIds;
    const auto& f103 = kForm103FieldIds;
    const auto& f75 = kForm75FieldIds;
    const Primitives::QVImmutableIdentifier none = Primitives::kNullFieldID;
    return FederalReviewLines{
        .entry = {kForm104ID, kForm104Lines.reviewedEntry},
        .losses = {{{kForm8ID, f8.f69}, {kForm8ID, f8.f142}, {kForm57ID, kForm57Lines.loss}}},
        .amounts = {{{kForm44ID, kForm44FieldIds.f19}, {kForm103ID, f103.f51}, {kForm103ID, f103.f57}}},
        .untakenAmounts = {{
            {kForm7ID, f7.f36},
            {kForm12ID, kForm12FieldIds.f88},
            {kForm16ID, f16.f47},
            {kForm103ID, f103.f56},
            {kForm19ID, kForm19FieldIds.f153},
            {kForm132ID, kForm132FieldIds.f26},
            {kForm75ID, f75.f36},
        }},
        .keyedAmounts = {{{kForm7ID, f7.f55, f7.f175, f7.f176}, {kForm16ID, f16.f38, f16.f122, f16.f123}}},
        .form28Amount = {kForm28ID, kForm28FieldIds.f16, kForm28FieldIds.f280, none},
        .form75Amount = {kForm75ID, f75.f66},
    };
}();
