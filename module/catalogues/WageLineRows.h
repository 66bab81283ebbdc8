// The lines of the state wages worksheet (state form 4) that the federal
// main form fills, in worksheet order: each line's field on federal form 1,
// 55 and 87 (null where that form has no such line), the worksheet line's
// federal column (A) and first state column (B), and whether the state
// columns are capped by the federal amount. The line of fields 82 and 83
// stands between those of 88 and 91, its place on the worksheet.
#pragma once

#include <array>

#include "module/catalogues/Form1FieldIds.h"
#include "module/catalogues/Form55FieldIds.h"
#include "module/catalogues/Form87FieldIds.h"
#include "module/catalogues/StateForm4FieldIds.h"
#include "platform/Primitives.h"

struct WageLineRowLines {
    using Field = Primitives::QVImmutableIdentifier;

    Field form1, form55, form87;
    Field federal, resident;
    bool capped;
};

inline constexpr std::array<WageLineRowLines, 22> kWageLineRows = [] {
    const auto& f1 = kForm1FieldIds;
    const auto& f55 = kForm55FieldIds;
    const auto& f87 = kForm87FieldIds;
    const auto& s4 = kStateForm4FieldIds;
    constexpr Primitives::QVImmutableIdentifier none = Primitives::kNullFieldID;
    constexpr bool capped = true;
    constexpr bool notCapped = false;
    return std::array<WageLineRowLines, 22>{{
        {f1.f80, none, none, s4.f37, s4.f38, capped},        {f1.f81, none, none, s4.f40, s4.f41, capped},
        {f1.f82, none, none, s4.f43, s4.f44, notCapped},     {f1.f83, f55.f286, none, s4.f46, s4.f47, notCapped},
        {f1.f85, none, none, s4.f49, s4.f50, notCapped},     {f1.f87, f55.f125, none, s4.f52, s4.f53, capped},
        {f1.f89, f55.f127, none, s4.f55, s4.f56, capped},    {f1.f90, none, none, s4.f58, s4.f59, notCapped},
        {f1.f91, none, none, s4.f61, s4.f62, notCapped},     {f1.f92, f55.f75, f87.f91, s4.f64, s4.f65, capped},
        {f1.f94, f55.f129, none, s4.f67, s4.f68, capped},    {f1.f99, none, none, s4.f70, s4.f71, notCapped},
        {f1.f650, f55.f332, none, s4.f116, s4.f117, capped}, {f1.f689, none, none, s4.f10504, s4.f10505, capped},
        {f1.f690, none, none, s4.f85, s4.f86, capped},       {f1.f414, none, none, s4.f88, s4.f89, capped},
        {f1.f551, f55.f251, none, s4.f82, s4.f83, capped},   {f1.f318, none, none, s4.f91, s4.f92, capped},
        {f1.f386, none, none, s4.f94, s4.f95, capped},       {f1.f381, none, none, s4.f103, s4.f104, capped},
        {f1.f117, none, none, s4.f106, s4.f107, capped},     {f1.f334, none, none, s4.f109, s4.f110, capped},
    }};
}();
