// The withholding entries of the Georgia return. Every federal source
// document that shows Georgia withholding (wage and gambling statements,
// information returns) and every withholding row of form 70 is one entry of
// a numbered list: entries 1 to 6 stand on form 70, every further one on
// form 189218, nine a copy. The calculation refills an entry from its link,
// the review asks for its payer's number, the e-file writes it and the
// barcode writes its state number without dashes.
#pragma once

#include <array>

#include "module/catalogues/GAForm189218FieldIds.h"
#include "module/catalogues/GAForm70FieldIds.h"
#include "platform/Primitives.h"

struct WithholdingEntryLines {
    using Line = const Primitives::QVImmutableIdentifier&;

    Line link;  // "<source form>/<source copy>/<entry>"
    // The kind of statement, one box marked: a wage or gambling statement,
    // an information return (1099), or one of form 70's four withholding
    // rows (G2-A, G2-RP, G2-LP and G2-FL).
    Line wageBox, infoBox;
    Line row1Box, row2Box, row3Box, row4Box;
    // The kind of payer number: one dash (id 1), or otherwise (id 2).
    Line id1Box, id2Box;
    Line payerId;
    Line stateId;
    Line stateAmount;  // the document's Georgia wages, winnings, interest ...
    Line withheld;     // its Georgia tax withheld
};

// Entries 1 to 6, on form 70.
inline constexpr std::array<WithholdingEntryLines, 6> kForm70WithholdingEntries = [] {
    const auto& f70 = kGAForm70FieldIds;
    return std::array<WithholdingEntryLines, 6>{{
        {
            .link = f70.f190488,
            .wageBox = f70.f189485,
            .infoBox = f70.f189494,
            .row1Box = f70.f189486,
            .row2Box = f70.f189496,
            .row3Box = f70.f189487,
            .row4Box = f70.f189495,
            .id1Box = f70.f189503,
            .id2Box = f70.f189504,
            .payerId = f70.f189509,
            .stateId = f70.f189512,
            .stateAmount = f70.f189515,
            .withheld = f70.f189518,
        },
        {
            .link = f70.f190489,
            .wageBox = f70.f189488,
            .infoBox = f70.f189497,
            .row1Box = f70.f189489,
            .row2Box = f70.f189499,
            .row3Box = f70.f189490,
            .row4Box = f70.f189498,
            .id1Box = f70.f189505,
            .id2Box = f70.f189506,
            .payerId = f70.f189510,
            .stateId = f70.f189513,
            .stateAmount = f70.f189516,
            .withheld = f70.f189519,
        },
        {
            .link = f70.f190490,
            .wageBox = f70.f189491,
            .infoBox = f70.f189500,
            .row1Box = f70.f189492,
            .row2Box = f70.f189502,
            .row3Box = f70.f189493,
            .row4Box = f70.f189501,
            .id1Box = f70.f189507,
            .id2Box = f70.f189508,
            .payerId = f70.f189511,
            .stateId = f70.f189514,
            .stateAmount = f70.f189517,
            .withheld = f70.f189520,
        },
        {
            .link = f70.f190491,
            .wageBox = f70.f189521,
            .infoBox = f70.f189530,
            .row1Box = f70.f189522,
            .row2Box = f70.f189532,
            .row3Box = f70.f189523,
            .row4Box = f70.f189531,
            .id1Box = f70.f189539,
            .id2Box = f70.f189540,
            .payerId = f70.f189545,
            .stateId = f70.f189548,
            .stateAmount = f70.f189551,
            .withheld = f70.f189554,
        },
        {
            .link = f70.f190492,
            .wageBox = f70.f189524,
            .infoBox = f70.f189533,
            .row1Box = f70.f189525,
            .row2Box = f70.f189535,
            .row3Box = f70.f189526,
            .row4Box = f70.f189534,
            .id1Box = f70.f189541,
            .id2Box = f70.f189542,
            .payerId = f70.f189546,
            .stateId = f70.f189549,
            .stateAmount = f70.f189552,
            .withheld = f70.f189555,
        },
        {
            .link = f70.f190493,
            .wageBox = f70.f189527,
            .infoBox = f70.f189536,
            .row1Box = f70.f189528,
            .row2Box = f70.f189538,
            .row3Box = f70.f189529,
            .row4Box = f70.f189537,
            .id1Box = f70.f189543,
            .id2Box = f70.f189544,
            .payerId = f70.f189547,
            .stateId = f70.f189550,
            .stateAmount = f70.f189553,
            .withheld = f70.f189556,
        },
    }};
}();

// The nine entries of each copy of form 189218.
inline constexpr std::array<WithholdingEntryLines, 9> kForm189218WithholdingEntries = [] {
    const auto& f189218 = kGAForm189218FieldIds;
    return std::array<WithholdingEntryLines, 9>{{
        {
            .link = f189218.f190506,
            .wageBox = f189218.f189902,
            .infoBox = f189218.f189911,
            .row1Box = f189218.f189903,
            .row2Box = f189218.f189913,
            .row3Box = f189218.f189904,
            .row4Box = f189218.f189912,
            .id1Box = f189218.f189920,
            .id2Box = f189218.f189921,
            .payerId = f189218.f189926,
            .stateId = f189218.f189929,
            .stateAmount = f189218.f189932,
            .withheld = f189218.f189935,
        },
        {
            .link = f189218.f190507,
            .wageBox = f189218.f189905,
            .infoBox = f189218.f189914,
            .row1Box = f189218.f189906,
            .row2Box = f189218.f189916,
            .row3Box = f189218.f189907,
            .row4Box = f189218.f189915,
            .id1Box = f189218.f189922,
            .id2Box = f189218.f189923,
            .payerId = f189218.f189927,
            .stateId = f189218.f189930,
            .stateAmount = f189218.f189933,
            .withheld = f189218.f189936,
        },
        {
            .link = f189218.f190508,
            .wageBox = f189218.f189908,
            .infoBox = f189218.f189917,
            .row1Box = f189218.f189909,
            .row2Box = f189218.f189919,
            .row3Box = f189218.f189910,
            .row4Box = f189218.f189918,
            .id1Box = f189218.f189924,
            .id2Box = f189218.f189925,
            .payerId = f189218.f189928,
            .stateId = f189218.f189931,
            .stateAmount = f189218.f189934,
            .withheld = f189218.f189937,
        },
        {
            .link = f189218.f190509,
            .wageBox = f189218.f189938,
            .infoBox = f189218.f189947,
            .row1Box = f189218.f189939,
            .row2Box = f189218.f189949,
            .row3Box = f189218.f189940,
            .row4Box = f189218.f189948,
            .id1Box = f189218.f189956,
            .id2Box = f189218.f189957,
            .payerId = f189218.f189962,
            .stateId = f189218.f189965,
            .stateAmount = f189218.f189968,
            .withheld = f189218.f189971,
        },
        {
            .link = f189218.f190510,
            .wageBox = f189218.f189941,
            .infoBox = f189218.f189950,
            .row1Box = f189218.f189942,
            .row2Box = f189218.f189952,
            .row3Box = f189218.f189943,
            .row4Box = f189218.f189951,
            .id1Box = f189218.f189958,
            .id2Box = f189218.f189959,
            .payerId = f189218.f189963,
            .stateId = f189218.f189966,
            .stateAmount = f189218.f189969,
            .withheld = f189218.f189972,
        },
        {
            .link = f189218.f190511,
            .wageBox = f189218.f189944,
            .infoBox = f189218.f189953,
            .row1Box = f189218.f189945,
            .row2Box = f189218.f189955,
            .row3Box = f189218.f189946,
            .row4Box = f189218.f189954,
            .id1Box = f189218.f189960,
            .id2Box = f189218.f189961,
            .payerId = f189218.f189964,
            .stateId = f189218.f189967,
            .stateAmount = f189218.f189970,
            .withheld = f189218.f189973,
        },
        {
            .link = f189218.f190512,
            .wageBox = f189218.f189974,
            .infoBox = f189218.f189983,
            .row1Box = f189218.f189975,
            .row2Box = f189218.f189985,
            .row3Box = f189218.f189976,
            .row4Box = f189218.f189984,
            .id1Box = f189218.f189992,
            .id2Box = f189218.f189993,
            .payerId = f189218.f189998,
            .stateId = f189218.f190001,
            .stateAmount = f189218.f190004,
            .withheld = f189218.f190007,
        },
        {
            .link = f189218.f190513,
            .wageBox = f189218.f189977,
            .infoBox = f189218.f189986,
            .row1Box = f189218.f189978,
            .row2Box = f189218.f189988,
            .row3Box = f189218.f189979,
            .row4Box = f189218.f189987,
            .id1Box = f189218.f189994,
            .id2Box = f189218.f189995,
            .payerId = f189218.f189999,
            .stateId = f189218.f190002,
            .stateAmount = f189218.f190005,
            .withheld = f189218.f190008,
        },
        {
            .link = f189218.f190514,
            .wageBox = f189218.f189980,
            .infoBox = f189218.f189989,
            .row1Box = f189218.f189981,
            .row2Box = f189218.f189991,
            .row3Box = f189218.f189982,
            .row4Box = f189218.f189990,
            .id1Box = f189218.f189996,
            .id2Box = f189218.f189997,
            .payerId = f189218.f190000,
            .stateId = f189218.f190003,
            .stateAmount = f189218.f190006,
            .withheld = f189218.f190009,
        },
    }};
}();

// Form 189218's own line: the taxpayer's number, from the information form.
struct Form189218Lines {
    using Line = const Primitives::QVImmutableIdentifier&;

    Line taxpayerNumber;
};

inline constexpr Form189218Lines kForm189218Lines = [] {
    const auto& f189218 = kGAForm189218FieldIds;
    return Form189218Lines{
        .taxpayerNumber = f189218.f189901,
    };
}();
