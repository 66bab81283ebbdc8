// The lines of the interest statement (state form 2) and of the dividend
// statement (state form 3), which share one layout: the row information of
// the 24 display rows, the filers' headings, the display rows themselves
// (five fields each) and the total lines. The state calculation lays the
// statements out and fills them; the state wages worksheet, the additions
// and subtractions and the retirement exclusion read their totals.
#pragma once

#include "module/catalogues/StateForm2FieldIds.h"
#include "module/catalogues/StateForm3FieldIds.h"
#include "platform/Primitives.h"

// One total line: its total (column 1) and the Georgia share of a part-year
// return (column 2) and of a nonresident return (column 3).
struct StatementTotalLine {
    using Line = const Primitives::QVImmutableIdentifier&;

    Line total, partYear, nonresident;
};

// What both statements have.
struct StatementFormLines {
    using Line = const Primitives::QVImmutableIdentifier&;

    Line firstRowInfo, lastRowInfo;  // the row information of the first and the last display row
    Line taxpayerHeading1, taxpayerHeading2, spouseHeading1, spouseHeading2;
    Line firstRow, lastRow;  // the first field (the payer) of the first and the last display row
    StatementTotalLine regular, usObligations, outOfStateMunicipal, inStateMunicipal;
};

// The interest statement has two total lines more: the interest that
// federal form 3 reports, and the U.S. obligations net of it.
struct StateForm2Lines {
    StatementFormLines statement;
    StatementTotalLine fromFederalForm3, netUsObligations;
};

struct StateForm3Lines {
    StatementFormLines statement;
};

inline constexpr StateForm2Lines kStateForm2Lines = [] {
    const auto& s2 = kStateForm2FieldIds;
    return StateForm2Lines{
        .statement =
            {
                .firstRowInfo = s2.f3,
                .lastRowInfo = s2.f26,
                .taxpayerHeading1 = s2.f27,
                .taxpayerHeading2 = s2.f28,
                .spouseHeading1 = s2.f29,
                .spouseHeading2 = s2.f30,
                .firstRow = s2.f31,
                .lastRow = s2.f146,
                .regular = {s2.f151, s2.f152, s2.f153},
                .usObligations = {s2.f154, s2.f155, s2.f156},
                .outOfStateMunicipal = {s2.f163, s2.f164, s2.f165},
                .inStateMunicipal = {s2.f166, s2.f167, s2.f168},
            },
        .fromFederalForm3 = {s2.f157, s2.f158, s2.f159},
        .netUsObligations = {s2.f160, s2.f161, s2.f162},
    };
}();

inline constexpr StateForm3Lines kStateForm3Lines = [] {
    const auto& s3 = kStateForm3FieldIds;
    return StateForm3Lines{
        .statement =
            {
                .firstRowInfo = s3.f3,
                .lastRowInfo = s3.f26,
                .taxpayerHeading1 = s3.f27,
                .taxpayerHeading2 = s3.f28,
                .spouseHeading1 = s3.f29,
                .spouseHeading2 = s3.f30,
                .firstRow = s3.f31,
                .lastRow = s3.f146,
                .regular = {s3.f151, s3.f152, s3.f153},
                .usObligations = {s3.f154, s3.f155, s3.f156},
                .outOfStateMunicipal = {s3.f157, s3.f158, s3.f159},
                .inStateMunicipal = {s3.f160, s3.f161, s3.f162},
            },
    };
}();
