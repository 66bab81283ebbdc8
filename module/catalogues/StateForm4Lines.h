// State form 4's lines by what they hold: the state wages worksheet. Every
// line has the federal amount (column A) and its split between two state
// columns: column B, the Georgia part of a resident (the whole amount for a
// full-year resident, the part of the Georgia period for a part-year one),
// and column C, the Georgia part of a nonresident. Column C is also the field
// that follows column B in the form's field order.
//
// The state calculation fills the worksheet from the W-2s, the common
// amounts and the federal main form (the lines it takes from the federal
// main form stand in WageLineRows.h); the part-year schedule, the summary
// lines, the review and the preparer's notes read it.
#pragma once

#include <array>

#include "module/catalogues/StateForm4FieldIds.h"
#include "platform/Primitives.h"

struct StateForm4Lines {
    using Line = const Primitives::QVImmutableIdentifier&;

    struct Row {
        Line federal, resident, nonresident;
    };

    Line residencyCode;  // of the last allocation, to tell a change of residency
    // The interest and the dividends of the statements over all their
    // copies.
    Row interestStatements, dividendStatements;
    Line taxpayerName, taxpayerNumber, spouseName, spouseNumber;
    Row wages;       // the W-2 wages
    Row otherWages;  // of the common amounts
    Row wagesTotal;  // wages and other wages
    Line taxableInterest, ordinaryDividends;
    // The income lines in worksheet order, the business income among them.
    std::array<Row, 12> incomeLines;
    Row businessIncome;
    Row incomeTotal;
    // Each filer's adjustments of the common amounts.
    Row taxpayerAdjustment, spouseAdjustment, taxpayerOtherAdjustment, spouseOtherAdjustment;
    // Every adjustment line, those above among them, in the order they add.
    std::array<Row, 14> adjustmentLines;
    Row adjustmentTotal;
    Line federalAgi;
};

inline constexpr StateForm4Lines kStateForm4Lines = [] {
    using Row = StateForm4Lines::Row;
    const auto& s4 = kStateForm4FieldIds;
    const Row business{s4.f43, s4.f44, s4.f45};
    const Row taxpayer{s4.f76, s4.f77, s4.f78};
    const Row spouse{s4.f79, s4.f80, s4.f81};
    const Row taxpayerOther{s4.f97, s4.f98, s4.f99};
    const Row spouseOther{s4.f100, s4.f101, s4.f102};
    return StateForm4Lines{
        .residencyCode = s4.f7,
        .interestStatements = {s4.f8, s4.f9, s4.f10},
        .dividendStatements = {s4.f11, s4.f12, s4.f13},
        .taxpayerName = s4.f22,
        .taxpayerNumber = s4.f23,
        .spouseName = s4.f24,
        .spouseNumber = s4.f25,
        .wages = {s4.f26, s4.f27, s4.f28},
        .otherWages = {s4.f29, s4.f30, s4.f31},
        .wagesTotal = {s4.f32, s4.f33, s4.f34},
        .taxableInterest = s4.f35,
        .ordinaryDividends = s4.f36,
        .incomeLines = {{
            {s4.f37, s4.f38, s4.f39},
            {s4.f40, s4.f41, s4.f42},
            business,
            {s4.f46, s4.f47, s4.f48},
            {s4.f49, s4.f50, s4.f51},
            {s4.f52, s4.f53, s4.f54},
            {s4.f55, s4.f56, s4.f57},
            {s4.f58, s4.f59, s4.f60},
            {s4.f61, s4.f62, s4.f63},
            {s4.f64, s4.f65, s4.f66},
            {s4.f67, s4.f68, s4.f69},
            {s4.f70, s4.f71, s4.f72},
        }},
        .businessIncome = business,
        .incomeTotal = {s4.f73, s4.f74, s4.f75},
        .taxpayerAdjustment = taxpayer,
        .spouseAdjustment = spouse,
        .taxpayerOtherAdjustment = taxpayerOther,
        .spouseOtherAdjustment = spouseOther,
        .adjustmentLines = {{
            taxpayer,
            spouse,
            {s4.f82, s4.f83, s4.f84},
            {s4.f85, s4.f86, s4.f87},
            {s4.f88, s4.f89, s4.f90},
            {s4.f91, s4.f92, s4.f93},
            {s4.f94, s4.f95, s4.f96},
            taxpayerOther,
            spouseOther,
            {s4.f103, s4.f104, s4.f105},
            {s4.f106, s4.f107, s4.f108},
            {s4.f109, s4.f110, s4.f111},
            {s4.f116, s4.f117, s4.f118},
            {s4.f10504, s4.f10505, s4.f10506},
        }},
        .adjustmentTotal = {s4.f112, s4.f113, s4.f114},
        .federalAgi = s4.f115,
    };
}();
